#include "app/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace velmora::app
{

namespace
{

// Before a window has been shown its frame may be unknown; a typical title bar and border
// are assumed then, so that the title bar does not end up above the screen.
constexpr QMargins kAssumedFrame(4, 28, 4, 4);

QMargins frameOf(const QWidget &window)
{
    const QWindow *handle = window.windowHandle();
    if (handle && (handle->isVisible() || !handle->frameMargins().isNull()))
        return handle->frameMargins();
    return kAssumedFrame;
}

} // namespace

QRect fittedGeometry(const QRect &wanted, const QSize &minimum, const QRect &area, const QMargins &frame)
{
    const QSize room(area.width() - frame.left() - frame.right(), area.height() - frame.top() - frame.bottom());
    const QSize size(std::max(minimum.width(), std::min(wanted.width(), room.width())),
                     std::max(minimum.height(), std::min(wanted.height(), room.height())));
    const int left = area.left() + frame.left();
    const int top = area.top() + frame.top();
    const int x = std::max(left, std::min(wanted.x(), left + room.width() - size.width()));
    const int y = std::max(top, std::min(wanted.y(), top + room.height() - size.height()));
    return {QPoint(x, y), size};
}

void fitOnScreen(QWidget &window, bool place)
{
    // A maximised or full-screen window is placed by the window system.
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QWidget *owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    QScreen *screen = owner && owner->isVisible() ? owner->screen() : window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Texts set as the window shows (a language pack) change what it needs.
    if (window.layout())
        window.layout()->activate();
    const QSize minimum = window.minimumSizeHint().expandedTo(window.minimumSize()).boundedTo(window.maximumSize());
    const QRect fitted = fittedGeometry(window.geometry(), minimum, screen->availableGeometry(), frameOf(window));
    if (!place) {
        if (fitted.size() != window.size())
            window.resize(fitted.size());
    } else if (fitted != window.geometry()) {
        window.setGeometry(fitted);
    }
}

ScreenFit::ScreenFit(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

ScreenFit::~ScreenFit()
{
    qApp->removeEventFilter(this);
}

bool ScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog)) {
            // The size now; the place once the window's own show handling has placed it (a
            // dialog centres itself over its owner then) and set its texts.
            fitOnScreen(*widget, false);
            QMetaObject::invokeMethod(
                widget,
                [window = QPointer<QWidget>(widget)] {
                    if (window)
                        fitOnScreen(*window, true);
                },
                Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora::app
