// The editor control driven as a user drives it: mouse events sent to its viewport, keys sent
// to the control, and helpers to set options, select and read the text.
#pragma once

#include "SourceMemoFixture.h"

#include "editor/core/layout/NavigatorPixels.h"
#include "editor/core/editing/SourceNavigator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cctype>
#include <sstream>
#include <string>

namespace velmora::widget::test
{

class SourceMemoInputFixture : public SourceMemoFixture
{
protected:
    QWidget *viewport() { return memo->viewport(); }

    // A point inside the character at pos, whose nearest character boundary is pos.
    QPoint pointAt(std::int32_t pos)
    {
        core::TSourceNavigator nav(&memo->core());
        nav.setPos(pos);
        const core::TPixelPoint p = core::toPoint(nav, layout());
        return {p.x + 1, p.y + lineHeight() / 2};
    }
    QPoint marginPoint(int line) { return {2, line * lineHeight() + lineHeight() / 2}; }

    // Sent as the program's own events: the window system's button state stays up, so that no
    // auto-scroll loop waits for a release.
    void send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys)
    {
        QMouseEvent event(type, p, viewport()->mapToGlobal(p), button, buttons, keys);
        QApplication::sendEvent(viewport(), &event);
    }
    void press(QPoint p, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        send(QEvent::MouseButtonPress, p, button, button, keys);
    }
    void release(QPoint p, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        send(QEvent::MouseButtonRelease, p, button, Qt::NoButton, keys);
    }
    void doubleClick(QPoint p) { send(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton, {}); }
    void click(QPoint p, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        press(p, keys, button);
        release(p, keys, button);
    }
    void move(QPoint p, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys = {})
    {
        send(QEvent::MouseMove, p, Qt::NoButton, buttons, keys);
    }
    void drag(std::int32_t from, QPoint to, Qt::KeyboardModifiers keysAtDrop = {})
    {
        press(pointAt(from));
        move(to, Qt::LeftButton);
        release(to, keysAtDrop);
    }
    void wheel(int delta)
    {
        const QPoint p(50, 50);
        QWheelEvent event(p, viewport()->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport(), &event);
    }
    void key(QEvent::Type type, Qt::Key k, Qt::KeyboardModifiers keys = {})
    {
        QKeyEvent event(type, k, keys);
        QApplication::sendEvent(memo.get(), &event);
    }
    // A key press as the window system sends it; true when the control (or a parent) took it.
    bool hit(Qt::Key k, Qt::KeyboardModifiers keys = {}, const QString &text = {})
    {
        QKeyEvent event(QEvent::KeyPress, k, keys, text);
        QApplication::sendEvent(memo.get(), &event);
        return event.isAccepted();
    }
    // Types ASCII text key by key, "\r" as Enter.
    void type(const std::string &text)
    {
        for (const char c : text) {
            if (c == '\r')
                hit(Qt::Key_Return, {}, QStringLiteral("\r"));
            else
                hit(static_cast<Qt::Key>(std::toupper(static_cast<unsigned char>(c))), {}, QString(QChar(c)));
        }
    }
    void select(std::int32_t from, std::int32_t length)
    {
        memo->setSelStart(from);
        memo->setSelLength(length);
    }
    void load(const std::string &text)
    {
        std::istringstream in(text);
        memo->LoadFromStream(in);
    }
    std::string text() { return memo->textRange(0, memo->TextLength()); }
    Qt::CursorShape pointer() { return viewport()->cursor().shape(); }
    void setOption(core::TSourceMemoOption option, bool on = true)
    {
        core::TSourceMemoOptions options = memo->Options();
        options.set(option, on);
        memo->setOptions(options);
    }
};

} // namespace velmora::widget::test
