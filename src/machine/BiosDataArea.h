// Addresses of the BIOS data area fields (segment 0040h) the built-in PC keeps up to date,
// as linear addresses.
#pragma once

#include <cstdint>

namespace velmora::machine::bda
{

constexpr uint32_t kEquipment = 0x410;       // word: what INT 11h returns
constexpr uint32_t kMemorySizeKb = 0x413;    // word: what INT 12h returns
constexpr uint32_t kKeyboardFlags = 0x417;   // byte: shift states, what INT 16h/02h returns
constexpr uint32_t kVideoMode = 0x449;       // byte
constexpr uint32_t kColumns = 0x44A;         // word
constexpr uint32_t kPageSize = 0x44C;        // word: bytes of one text page
constexpr uint32_t kPageStart = 0x44E;       // word: offset of the active page in B800h
constexpr uint32_t kCursorPositions = 0x450; // 8 words, one per page: column low, row high
constexpr uint32_t kCursorShape = 0x460;     // word: end line low, start line high
constexpr uint32_t kActivePage = 0x462;      // byte
constexpr uint32_t kCrtcPort = 0x463;        // word
constexpr uint32_t kRowsMinusOne = 0x484;    // byte

} // namespace velmora::machine::bda
