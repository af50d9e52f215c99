#include "app/qt/Windows1252Validator.h"

#include "extraction/qt/QtCp1252.h"

namespace glanex {

QValidator::State Windows1252Validator::validate(QString& input, int& position) const {
  const QString kept = toQString(toCp1252(input));
  if (kept != input) {
    // A character outside the Basic Multilingual Plane takes two positions and becomes one "?".
    position = static_cast<int>(toQString(toCp1252(input.left(position))).size());
    input = kept;
  }
  return Acceptable;
}

}  // namespace glanex
