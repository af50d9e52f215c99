#include "extraction/qt/QtCp1252.h"

#include "extraction/TextEncoding.h"

#include <array>

namespace glanex {

namespace {

// Every byte's character, looked up rather than computed: sources of tens of megabytes pass through here.
const std::array<char16_t, 256>& characterOfByte() {
  static const std::array<char16_t, 256> table = [] {
    std::array<char16_t, 256> characters{};
    for (std::size_t byte = 0; byte < characters.size(); ++byte)
      characters[byte] = static_cast<char16_t>(codePointFromCp1252(static_cast<unsigned char>(byte)));
    return characters;
  }();
  return table;
}

}  // namespace

QString toQString(std::string_view cp1252) {
  QString text(static_cast<qsizetype>(cp1252.size()), Qt::Uninitialized);
  writeCharacters(cp1252, text.data());
  return text;
}

QChar* writeCharacters(std::string_view cp1252, QChar* out) {
  const std::array<char16_t, 256>& table = characterOfByte();
  for (const char byte : cp1252) *out++ = QChar(table[static_cast<unsigned char>(byte)]);
  return out;
}

std::string toCp1252(const QString& text) {
  return utf16ToCp1252(std::u16string_view(QStringView(text).utf16(), static_cast<std::size_t>(text.size())));
}

}  // namespace glanex
