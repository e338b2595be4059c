// Automatic scrolling while the left button is held beyond an edge of the editor control's
// window: one loop, run from the mouse-move handler that found a new direction, scrolls a
// step at a speed set by the distance and feeds a mouse move, until the button comes up or the
// mouse returns. Moves that arrive meanwhile only change the direction and speed.
#include "editor/widget/SourceMemo.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTimer>

#include <array>
#include <utility>

namespace velmora::widget
{

namespace
{

// The wait between two steps by speed level; level 8 and more do not wait.
constexpr std::array<int, 8> kStepIntervals{400, 400, 300, 200, 130, 78, 48, 30};

} // namespace

bool TSourceMemo::takeAutoScrollDirection(QPoint point)
{
    const int width = viewport()->width();
    const int height = viewport()->height();
    // During drag and drop only a band along the edges scrolls, so that the mouse can leave.
    const bool drag = mouse_.dragging;
    TsmScrollDirection direction = TsmScrollDirection::none;
    int distance = 0;
    if (point.x() < 0 && (!drag || point.x() > -24)) {
        direction = TsmScrollDirection::left;
        distance = -point.x();
    } else if (point.x() > width && (!drag || point.x() < width + 24)) {
        direction = TsmScrollDirection::right;
        distance = point.x() - width;
    }
    const bool beside = point.x() < -3 || point.x() > width + 3;
    if (!(drag && beside)) {
        if (point.y() < -3 && (!drag || point.y() > -23)) {
            direction = TsmScrollDirection::up;
            distance = -point.y();
        } else if (point.y() > height && (!drag || point.y() < height + 24)) {
            direction = TsmScrollDirection::down;
            distance = point.y() - height;
        }
    }
    mouse_.scrollLevel = distance / 3;
    const bool changed = direction != mouse_.scrollDirection;
    mouse_.scrollDirection = direction;
    if (changed && mouse_.scrollWait)
        mouse_.scrollWait->quit();
    return changed && direction != TsmScrollDirection::none && !mouse_.autoScrolling;
}

// The loop also ends when the window system reports the button up, should the release itself
// never reach the control.
bool TSourceMemo::autoScrollGoesOn() const
{
    return mouse_.selecting && mouse_.scrollDirection != TsmScrollDirection::none &&
           (QGuiApplication::mouseButtons() & Qt::LeftButton);
}

void TSourceMemo::autoScroll()
{
    const QPointer<TSourceMemo> alive(this);
    const bool repeated = std::exchange(layout_->repeatedScrolling, true);
    mouse_.autoScrolling = true;
    while (autoScrollGoesOn()) {
        const std::size_t level = static_cast<std::size_t>(mouse_.scrollLevel);
        if (level < kStepIntervals.size()) {
            QEventLoop wait;
            mouse_.scrollWait = &wait;
            QTimer::singleShot(kStepIntervals[level], &wait, &QEventLoop::quit);
            wait.exec();
            if (!alive)
                return;
            mouse_.scrollWait = nullptr;
        } else {
            QCoreApplication::processEvents();
            if (!alive)
                return;
        }
        if (autoScrollGoesOn())
            autoScrollStep();
        if (!alive)
            return;
    }
    mouse_.autoScrolling = false;
    layout_->repeatedScrolling = repeated;
}

void TSourceMemo::autoScrollStep()
{
    const int reach = 3 * std::max(mouse_.scrollLevel, 1);
    QPoint fed = mouse_.last;
    switch (mouse_.scrollDirection) {
    case TsmScrollDirection::up:
        verticalScrollRequest(QAbstractSlider::SliderSingleStepSub);
        fed.setY(-reach);
        break;
    case TsmScrollDirection::down:
        verticalScrollRequest(QAbstractSlider::SliderSingleStepAdd);
        fed.setY(viewport()->height() + reach);
        break;
    case TsmScrollDirection::left:
        if (layout_->geometry.horzOffset > 0)
            horizontalScrollRequest(QAbstractSlider::SliderSingleStepSub);
        fed.setX(-reach);
        break;
    case TsmScrollDirection::right:
        if (layout_->geometry.horzOffset < horizontalScrollEnd())
            horizontalScrollRequest(QAbstractSlider::SliderSingleStepAdd);
        fed.setX(viewport()->width() + reach);
        break;
    case TsmScrollDirection::none:
        return;
    }
    mouseMoved(fed, QGuiApplication::keyboardModifiers());
}

} // namespace velmora::widget
