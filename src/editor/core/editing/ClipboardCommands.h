// Copy, cut and paste between an editor and the clipboard. A column block travels as its
// rows of text with the block format beside them, and pastes as a block again.
#pragma once

#include <cstdint>

namespace velmora::core
{

class IClipboard;
class TSourceMemoCore;

// Puts the selected text (a column block's rows, each ending in 13, 10, with the block
// format) on the clipboard; under smoPlainClipboard without its style codes. Nothing happens
// when nothing is selected.
void CopyToClipboard(TSourceMemoCore &memo, IClipboard &clipboard);
// CopyToClipboard, then the selection is deleted.
void CutToClipboard(TSourceMemoCore &memo, IClipboard &clipboard);
// Inserts the clipboard's text (up to a NUL in it) in place of the selection, or beside it
// under smoNoOverwriteBlocks. Text carrying the block format pastes as a block at display
// column blockColumn (the caret's column, which the view knows) when smoBlockSelection is on
// and WordWrap off. A clipboard without text inserts nothing.
void PasteFromClipboard(TSourceMemoCore &memo, IClipboard &clipboard, std::int32_t blockColumn);

} // namespace velmora::core
