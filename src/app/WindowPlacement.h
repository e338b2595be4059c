// Every window opens fully on the screen: an application-wide watcher that, as a window is
// about to show, shrinks it to the screen's free area and moves it inside. Screens differ (a
// small laptop, a scale factor of two): a window that stood partly off the screen would hide
// its buttons.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace velmora::app
{

// The client geometry that puts a window wanting this client geometry fully inside area: the
// size shrunk to the area (never below minimum), the place moved in. frame is the room the
// window frame adds around the client area (title bar, borders).
QRect fittedGeometry(const QRect &wanted, const QSize &minimum, const QRect &area, const QMargins &frame);

// Fits a window on the screen it shows on: its size, and with place also its position.
void fitOnScreen(QWidget &window, bool place = true);

class ScreenFit : public QObject
{
public:
    // Watches every window of the application while it exists.
    explicit ScreenFit(QObject *parent);
    ~ScreenFit() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace velmora::app
