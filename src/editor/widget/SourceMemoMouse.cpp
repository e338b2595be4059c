// Mouse handling of the editor control: drag and drop keys and the popup menu.
#include "editor/widget/SourceMemo.h"

namespace velmora::widget
{

bool TSourceMemo::dragKeyPress(QKeyEvent *)
{
    return false;
}

void TSourceMemo::dragKeyRelease(QKeyEvent *) {}

void TSourceMemo::popupAt(QPoint) {}

} // namespace velmora::widget
