// Column blocks: selecting one, and pasting text as one (each line into its own paragraph at
// the same display column). A column block exists only while WordWrap is off.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::core
{

class TSourceMemoCore;

// Selects paragraphs line1 .. line2 between display columns column1 and column2 as a block,
// with the caret at (line2, column2), standing beyond a short line by the virtual overshoot.
// Lines are clamped to the paragraphs. Does nothing while WordWrap is on.
void setBlockSelection(TSourceMemoCore &memo, std::int32_t column1, std::int32_t line1, std::int32_t line2,
                       std::int32_t column2);

// Scrolls the caret into view unless an update is open (the refresh at its end will).
void scrollCaretAfterPaste(TSourceMemoCore &memo);

// The lines of text as a string list splits it: at 13 10, 13 or 10, with no empty line after
// a final break; the text ends at its first NUL.
std::vector<std::string> splitLines(std::string_view text);

// Inserts line i of text into paragraph (caret's paragraph + i) at display column column,
// appending paragraphs where the text runs out of them and padding short lines with blanks,
// all in one update (one undo step). The selection is dropped, not replaced.
void insertBlock(TSourceMemoCore &memo, std::string_view text, std::int32_t column);

// The block paste: insertBlock with the selection set aside under smoNoOverwriteBlocks; the
// caret ends after the last line's text, scrolled into view.
void blockPaste(TSourceMemoCore &memo, std::string_view text, std::int32_t column);

} // namespace velmora::core
