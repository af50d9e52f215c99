#pragma once

#include <QString>

#include <string>
#include <string_view>

// Between the Windows-1252 bytes of the core and the Unicode text of Qt widgets. Every byte has a
// character and comes back as itself; a character with no Windows-1252 form becomes "?".
namespace glanex {

QString toQString(std::string_view cp1252);
// Writes the characters of `cp1252` from `out` on, which must have room for them; returns the end.
QChar* writeCharacters(std::string_view cp1252, QChar* out);
std::string toCp1252(const QString& text);

}  // namespace glanex
