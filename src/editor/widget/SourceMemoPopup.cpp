#include "editor/widget/SourceMemoPopup.h"

#include "editor/widget/EditorTexts.h"
#include "editor/widget/QtClipboard.h"
#include "editor/widget/SourceMemo.h"

namespace velmora::widget
{

TsmDefaultPopup::TsmDefaultPopup(TSourceMemo &memo) : QMenu(&memo), memo_(memo)
{
    undo_ = addAction(QString(), this, [this] { memo_.undoCommand(); });
    redo_ = addAction(QString(), this, [this] { memo_.redoCommand(); });
    addSeparator();
    cut_ = addAction(QString(), this, [this] {
        memo_.cutCommand();
        memo_.scrollCaretCommand();
    });
    copy_ = addAction(QString(), this, [this] { memo_.copyCommand(); });
    paste_ = addAction(QString(), this, [this] {
        memo_.pasteCommand();
        memo_.scrollCaretCommand();
    });
    addSeparator();
    selectAll_ = addAction(QString(), this, [this] {
        memo_.selectAllCommand();
        memo_.scrollCaretCommand();
    });
}

void TsmDefaultPopup::updateItems()
{
    const PopupTexts &texts = editorTexts().popup;
    undo_->setText(texts.undo);
    redo_->setText(texts.redo);
    cut_->setText(texts.cut);
    copy_->setText(texts.copy);
    paste_->setText(texts.paste);
    selectAll_->setText(texts.selectAll);
    const bool selection = memo_.SelLength() != 0;
    const bool editable = !memo_.ReadOnly() && !memo_.DisplayOnly();
    undo_->setEnabled(memo_.canUndo());
    redo_->setEnabled(memo_.canRedo());
    cut_->setEnabled(selection && editable);
    copy_->setEnabled(selection);
    paste_->setEnabled(editable && QtClipboard(memo_.measurer().codePage()).text().has_value());
    selectAll_->setEnabled(true);
}

QMenu *TSourceMemo::preparePopupMenu()
{
    if (popupMenu_)
        return popupMenu_;
    if (Options()[core::smoNoDefaultPopup])
        return nullptr;
    if (!defaultPopup_)
        defaultPopup_ = new TsmDefaultPopup(*this);
    defaultPopup_->updateItems();
    return defaultPopup_;
}

void TSourceMemo::popupAt(QPoint point)
{
    if (QMenu *menu = preparePopupMenu())
        menu->popup(viewport()->mapToGlobal(point));
}

} // namespace velmora::widget
