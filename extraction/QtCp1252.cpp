#include "extraction/QtCp1252.h"

#include "extraction/TextEncoding.h"

namespace glanex {

QString toQString(std::string_view cp1252) {
  QString text(static_cast<qsizetype>(cp1252.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : cp1252)
    *out++ = QChar(static_cast<char16_t>(codePointFromCp1252(static_cast<unsigned char>(byte))));
  return text;
}

std::string toCp1252(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    // A surrogate pair is one character outside the Basic Multilingual Plane: one "?".
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
    const int byte = cp1252FromCodePoint(c.unicode());
    bytes += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return bytes;
}

bool hasWindows1252Form(QChar c) {
  return cp1252FromCodePoint(c.unicode()) >= 0;
}

}  // namespace glanex
