#include "editor/core/editing/ClipboardCommands.h"

#include "editor/core/editing/Clipboard.h"
#include "editor/core/editing/ColumnBlocks.h"
#include "editor/core/editing/SelectionAside.h"
#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/text/StyleCodes.h"

namespace velmora::core
{

void CopyToClipboard(TSourceMemoCore &memo, IClipboard &clipboard)
{
    if (memo.SelLength() == 0)
        return;
    std::string text = memo.SelText();
    if (memo.Options()[smoPlainClipboard])
        std::erase_if(text, [](char c) { return isStyleCode(static_cast<unsigned char>(c)); });
    clipboard.put(text, memo.blockSelection());
}

void CutToClipboard(TSourceMemoCore &memo, IClipboard &clipboard)
{
    CopyToClipboard(memo, clipboard);
    memo.ClearSelection();
}

void PasteFromClipboard(TSourceMemoCore &memo, IClipboard &clipboard, std::int32_t blockColumn)
{
    // A column block with nothing selected is no block, and must not make the replace delete one.
    if (memo.SelLength() == 0)
        memo.setSelLength(0);
    TSelectionAside aside(memo);
    if (std::optional<std::string> text = clipboard.text()) {
        const std::optional<std::string> block = clipboard.blockData();
        const bool blockMode = memo.Options()[smoBlockSelection] && !memo.WordWrap() && block &&
                               (block->empty() || block->front() == kBlockFormatValue);
        memo.startNewUndoGroup();
        if (blockMode)
            insertBlock(memo, *text, blockColumn);
        else
            memo.setSelText(text->c_str());
        memo.startNewUndoGroup();
    }
    aside.restore();
    scrollCaretAfterPaste(memo);
}

} // namespace velmora::core
