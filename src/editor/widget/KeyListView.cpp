#include "editor/widget/KeyListView.h"

namespace velmora::widget
{

KeyListView::KeyListView(QWidget *parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
}

bool KeyListView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // Views call edit() for every click and key press; only real editing requests (and
    // editItem(), which asks with every trigger) go to the owner.
    const bool request = trigger == AllEditTriggers || (editTriggers() & trigger);
    if (request && index.isValid() && OnEditing && !OnEditing(itemFromIndex(index)))
        return false;
    return QTreeWidget::edit(index, trigger, event);
}

void KeyListView::focusInEvent(QFocusEvent *event)
{
    QTreeWidget::focusInEvent(event);
    if (OnFocusChanged)
        OnFocusChanged(true);
}

void KeyListView::focusOutEvent(QFocusEvent *event)
{
    QTreeWidget::focusOutEvent(event);
    if (OnFocusChanged)
        OnFocusChanged(false);
}

void KeyListView::finishEditing()
{
    if (state() != EditingState)
        return;
    QWidget *editor = indexWidget(currentIndex());
    if (!editor)
        return;
    emit itemDelegate()->commitData(editor);
    emit itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

} // namespace velmora::widget
