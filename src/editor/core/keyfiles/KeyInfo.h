// The records of the keyword and start-stop key lists: the attribute block every entry
// carries (and that the highlighting engine copies into its runs) and the keyword record.
// KeyStyle holds the style bits of StyleBits.h.
#pragma once

#include "editor/core/text/StyleBits.h"

#include <cstdint>
#include <string>

namespace velmora::core
{

// Colour with no value of its own; -1 means the same.
constexpr std::int32_t clNone = 0x1FFFFFFF;

// Standard mouse pointers an entry may ask for.
constexpr std::int16_t kCursorDefault = 0;
constexpr std::int16_t kCursorHandPoint = -21;

// KeyOptions bits.
constexpr std::uint8_t kOptMatchCase = 0x01;      // compare literally, not the folded text
constexpr std::uint8_t kOptWholeWords = 0x02;     // bounded by separators
constexpr std::uint8_t kOptFirstWord = 0x04;      // positional: first word of paragraph
constexpr std::uint8_t kOptFirstNonBlank = 0x08;  // positional: first non-blank item
constexpr std::uint8_t kOptParagraphStart = 0x10; // positional: start of paragraph
constexpr std::uint8_t kOptLongForm = 0x80;       // never stored: marks the long entry form in streams

// SummaryFlags of both lists: bit 0 while every entry is match-case, bits 2 and 3 the union
// of the entries' positional option bits 2 and 3.
constexpr std::uint8_t kSummaryAllMatchCase = 0x01;
constexpr std::uint8_t kSummaryPositionalMask = 0x0C;

// The attribute block that heads keyword and start-stop records.
struct TKeyAttributes {
    std::uint8_t KeyOptions = 0;
    std::uint8_t KeyStyle = 0;
    std::int32_t ContextNum = 0; // 0: the entry takes no part in matching
    std::int16_t Cursor = kCursorDefault;
    std::int32_t Background = clNone;
    std::int32_t Foreground = clNone;

    bool operator==(const TKeyAttributes &) const = default;
};

// One keyword. MatchText and KeyLength are derived from Keyword by the owning list.
struct TKeyInfoLen : TKeyAttributes {
    std::string Keyword;   // as entered
    std::string MatchText; // as matched: Keyword, folded unless match-case
    std::int32_t KeyLength = 0;
    std::int32_t Scope = 0;
    std::int32_t Priority = 0;
    std::int32_t Reserved = 0; // carried through streaming only
};

} // namespace velmora::core
