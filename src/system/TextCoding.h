#pragma once
// Conversions between the text forms the system layer meets: the system's 8-bit code page
// 1252, UTF-8 and UTF-16LE. The five bytes that code page 1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the control characters of the same number, both ways. Pure
// functions: no files, no locale, no errors (what can't be converted is said below).

#include <QByteArray>
#include <QStringView>

#include <string>
#include <string_view>

namespace textcoding {

// Text in code page 1252; characters it lacks become "?".
QByteArray toCp1252(QStringView text);
// Code page 1252 bytes as UTF-8.
std::string cp1252ToUtf8(std::string_view bytes);
// True when the bytes are well-formed UTF-8: no stray or missing continuation bytes, no
// overlong forms, no surrogates, nothing beyond U+10FFFF.
bool isUtf8(std::string_view bytes);
// UTF-16LE bytes (without a byte-order mark) as UTF-8; an odd last byte is left out.
std::string utf16leToUtf8(std::string_view bytes);

} // namespace textcoding
