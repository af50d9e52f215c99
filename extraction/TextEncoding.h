#pragma once

#include <string>
#include <string_view>

// Conversions between the outside world's text (files, clipboard, terminal) and the Windows-1252 bytes
// that panes hold. Bytes 81, 8D, 8F, 90 and 9D, which Windows-1252 leaves undefined, stand for the
// control characters U+0081, U+008D, U+008F, U+0090 and U+009D, so every byte has a character and back.
namespace glanex {

// Plain text as a file or the clipboard gives it, as pane text: read in the encoding that its byte-order
// mark states, else in the one Utf8Verdict decides (UTF-8, or Windows-1252 byte for byte). Characters
// without a Windows-1252 form become "?", the byte-order mark is dropped, and CR LF, CR and LF each become
// one CR LF.
std::string decodePlainText(std::string_view bytes);

// CR LF, a CR alone and an LF alone each become CR LF.
std::string normalizeLineBreaks(std::string_view text);

// Windows-1252 text as UTF-8.
std::string cp1252ToUtf8(std::string_view text);
// The same, appended to `out`.
void appendCp1252AsUtf8(std::string_view text, std::string& out);

// UTF-8 text as Windows-1252; characters without a Windows-1252 form (and invalid sequences) become
// `replacement`. Returns whether every character had a form.
bool utf8ToCp1252(std::string_view text, std::string& out, char replacement = '?');

// Converts the longest start of `text` made of whole, valid (strict) UTF-8 sequences to Windows-1252 into
// `out` ("?" for characters without a form) and returns that start's length.
std::size_t validUtf8ToCp1252(std::string_view text, std::string& out);

// The Windows-1252 byte for a Unicode code point, or -1 when it has none.
int cp1252FromCodePoint(char32_t codePoint);

// The Unicode code point of a Windows-1252 byte.
char32_t codePointFromCp1252(unsigned char byte);

// UTF-16 units as Windows-1252: characters without a form and unpaired surrogates become "?", a surrogate
// pair one "?".
std::string utf16ToCp1252(std::u16string_view units);

// The same for UTF-16 bytes (without their byte-order mark); a trailing odd byte becomes "?" too.
std::string utf16ToCp1252(std::string_view bytes, bool bigEndian);

// The length of the run of ASCII bytes that `text` starts with.
std::size_t asciiPrefixLength(std::string_view text);

// The length of the longest start of `bytes` made of whole, valid (strict) UTF-8 sequences.
std::size_t validUtf8PrefixLength(std::string_view bytes);

// File-system bytes shown as UTF-8: valid UTF-8 stays, every other byte becomes U+FFFD.
std::string displayableUtf8(std::string_view bytes);

}  // namespace glanex
