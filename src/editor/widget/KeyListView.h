// The keyword editor's list: a tree without branches, one row per entry, that lets its
// owner decide every editing request (F2, a click on a selected item, Insert and Add) and
// follow its focus.
#pragma once

#include <QTreeWidget>

#include <functional>

namespace velmora::widget
{

class KeyListView : public QTreeWidget
{
public:
    explicit KeyListView(QWidget *parent = nullptr);

    // Asked before an item is edited in place; false refuses the in-place editor (the
    // owner may have edited the item its own way).
    std::function<bool(QTreeWidgetItem *item)> OnEditing;
    // Told when the list gets (true) or loses (false) the keyboard focus.
    std::function<void(bool focused)> OnFocusChanged;

    // Takes the text of an open in-place editor into its item and closes the editor, as
    // leaving it would. The editor commits on its own only once control returns to the event
    // loop: OK pressed right after typing (Enter does so) must not lose the text.
    void finishEditing();

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace velmora::widget
