// The editor's option set, its alignment and its separator set.
#pragma once

#include <bitset>
#include <cstdint>
#include <string_view>

namespace velmora::core
{

enum TSourceMemoOption : std::uint8_t {
    smoKeepColumnPos,
    smoPutExtraSpaces,
    smoWrapCaret,
    smoInsertKeyActive,
    smoWideOverwriteCaret,
    smoLargeWordSelect,
    smoAutoScrollBars,
    smoNoDragnDrop,
    smoAutoIndent,
    smoBackIndent,
    smoWindowsSelColors,
    smoFullLineSelect,
    smoDiscardTrailingSpaces,
    smoNoFineScroll,
    smoNoLineSelection,
    smoNoDefaultPopup,
    smoBlockSelection,
    smoAutoLineBreak,
    smoPlainClipboard,
    smoPersistentBlocks,
    smoNoOverwriteBlocks,
    smoSmartTabs,
};

using TSourceMemoOptions = std::bitset<22>;

inline TSourceMemoOptions defaultMemoOptions()
{
    TSourceMemoOptions o;
    o.set(smoWrapCaret).set(smoInsertKeyActive).set(smoWideOverwriteCaret).set(smoAutoScrollBars);
    return o;
}

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// The break written between paragraphs on save: 13 10, 10 13, 13 or 10.
enum TSourceLineBreak : std::uint8_t { pbCRLF, pbLFCR, pbCR, pbLF };

// A set of 256 character codes, such as the editor's Separators.
using SeparatorSet = std::bitset<256>;

inline SeparatorSet makeSeparators(std::string_view chars)
{
    SeparatorSet s;
    for (const char c : chars)
        s.set(static_cast<unsigned char>(c));
    return s;
}

inline constexpr std::string_view kDefaultSeparators = "\t\n\r $%&,./:;<=>";

} // namespace velmora::core
