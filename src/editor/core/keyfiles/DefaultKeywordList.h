// The keyword list the main window's editor starts with: 157 instruction and prefix
// mnemonics, the directives ".data", ".code" and "End", and a web address.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::core
{

class TKeywordList;

// The web-address keyword, the last entry of the default list.
inline constexpr const char *kDefaultWebAddressKeyword = "http://velmora.example/";
inline constexpr std::int32_t kDefaultWebAddressForeground = 0xFF0000; // blue: red is the low byte

// Replaces the list's entries by the 161 default keywords.
void fillDefaultKeywordList(TKeywordList &list);

// The default list without the mnemonics and directives that are also ordinary English words
// (AND, INTO, CALL, End, ...) and without ASM, for editors that show prose with code in it:
// sentences stay plain while the code's other instructions are still highlighted.
void fillProseKeywordList(TKeywordList &list);

// The 161 default keyword texts in list order.
std::vector<std::string> defaultKeywordNames();

} // namespace velmora::core
