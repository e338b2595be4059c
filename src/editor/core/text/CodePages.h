// Single-byte code pages: the editor keeps bytes and converts only to draw, measure or
// exchange text with the desktop. Windows-1251 is the editor's default character set,
// 866 the DOS (OEM) one of the tool output pages and the DOS charset choice.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::core {

enum class CodePage : std::uint8_t { Windows1251, Dos866 };

// The character set byte of a font, as fonts carry it: 204 Cyrillic, 255 OEM.
constexpr std::uint8_t kCyrillicCharset = 204;
constexpr std::uint8_t kOemCharset = 255;

// The code page a font's character set selects (OEM -> 866, anything else -> 1251).
CodePage codePageForCharset(std::uint8_t charset);

// Byte -> UTF-16 code unit.
const std::array<char16_t, 256> &toUnicodeTable(CodePage cp);

std::u16string decode(std::string_view bytes, CodePage cp);

// UTF-16 -> bytes; characters the code page lacks become '?'.
std::string encode(std::u16string_view text, CodePage cp);

// UTF-16 of the Basic Multilingual Plane (all the code pages map to) -> UTF-8.
std::string encodeUtf8(std::u16string_view text);

} // namespace velmora::core
