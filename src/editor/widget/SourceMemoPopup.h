// The editor control's default popup menu: "&Undo", "&Redo", "Cu&t", "&Copy", "&Paste" and
// "&Select all", each enabled for the control's state before the menu opens.
#pragma once

#include <QMenu>

namespace velmora::widget
{

class TSourceMemo;

class TsmDefaultPopup : public QMenu
{
public:
    // A child of memo.
    explicit TsmDefaultPopup(TSourceMemo &memo);
    // Sets the items' texts from the editor texts, and enables those that can act now.
    void updateItems();

private:
    TSourceMemo &memo_;
    QAction *undo_;
    QAction *redo_;
    QAction *cut_;
    QAction *copy_;
    QAction *paste_;
    QAction *selectAll_;
};

} // namespace velmora::widget
