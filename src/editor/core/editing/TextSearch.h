// Literal text search in an editor, one paragraph at a time: an occurrence never spans a
// paragraph break.
#pragma once

#include <string_view>

namespace velmora::core
{

class TSourceMemoCore;

// Finds the next (down) or previous occurrence of text from the caret, or from the first
// paragraph's start (down) or the last paragraph's end (up) with fromEnds, and selects it:
// a downward match leaves the caret at its end, an upward one at its start. Without
// matchCase both sides fold through the memo's UpperCaseType; with wholeWord an occurrence
// must be bounded by the memo's Separators or the paragraph's ends. An empty text, or one
// holding a NUL, is never found. Returns false, changing nothing, when there is no match.
bool SearchText(TSourceMemoCore &memo, std::string_view text, bool down, bool matchCase, bool wholeWord, bool fromEnds);

} // namespace velmora::core
