// Drag and drop of the selected text inside the editor control: the drop mark follows the
// mouse, a drop outside the selection moves the text (copies it with Ctrl) in one undo step,
// and Ctrl and Escape act while the drag runs.
#include "editor/widget/SourceMemo.h"

#include "editor/core/editing/SourceNavigator.h"
#include "editor/widget/SourceMemoCursors.h"

#include <QKeyEvent>

#include <string>

namespace velmora::widget
{

bool TSourceMemo::dragAllowedAt(QPoint point)
{
    if (Options()[core::smoNoDragnDrop] || blockSelection() || readOnly_ || displayOnly_ || SelLength() == 0)
        return false;
    const std::optional<std::int32_t> at = characterUnder(point);
    return at && *at >= selectionStart().Pos() && *at < selectionEnd().Pos();
}

void TSourceMemo::startDrag(QPoint point)
{
    mouse_.dragging = true;
    mouse_.dragOutside = false;
    mouseNavigatorTo(point);
    showPointer(Qt::DragMoveCursor);
    placeCaret();
}

void TSourceMemo::dragMoved(QPoint point, Qt::KeyboardModifiers shift)
{
    mouse_.dragOutside = !viewport()->rect().contains(point);
    if (!mouse_.dragOutside) {
        mouseNavigatorTo(onLastLineAtMost(point));
        placeCaret();
        showPointer(shift & Qt::ControlModifier ? dragCopyCursor() : QCursor(Qt::DragMoveCursor));
    } else if (mouse_.scrollDirection == TsmScrollDirection::none) {
        showPointer(Qt::ForbiddenCursor);
    }
}

// The drag has ended (the drop mark is gone); the text moves or is copied to the point.
void TSourceMemo::drop(QPoint point, Qt::KeyboardModifiers shift)
{
    showPointer(cursor_);
    if (viewport()->rect().contains(point)) {
        mouseNavigatorTo(onLastLineAtMost(point));
        const std::int32_t target = mouse_.nav->Pos();
        if (target >= selectionStart().Pos() && target <= selectionEnd().Pos()) {
            selectRange(target, target);
        } else {
            const std::string text = SelText();
            core::UpdateGuard update(*this);
            if (!(shift & Qt::ControlModifier))
                ClearSelection();
            // The mouse navigator followed the deletion.
            const std::int32_t at = mouse_.nav->Pos();
            setSelStart(at);
            SetSelTextBuf(text.c_str());
            const std::int32_t end = SelStart();
            update.close();
            selectRange(at, end);
        }
    }
    placeCaret();
    layout_->scrollCaretIntoView(origin());
}

bool TSourceMemo::dragKeyPress(QKeyEvent *event)
{
    if (!mouse_.dragging)
        return false;
    if (event->key() == Qt::Key_Control && !mouse_.dragOutside)
        showPointer(dragCopyCursor());
    else if (event->key() == Qt::Key_Escape)
        endMouseSelection();
    return true;
}

void TSourceMemo::dragKeyRelease(QKeyEvent *event)
{
    if (mouse_.dragging && event->key() == Qt::Key_Control && !mouse_.dragOutside)
        showPointer(Qt::DragMoveCursor);
}

} // namespace velmora::widget
