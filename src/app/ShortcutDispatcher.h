// Key precedence of the main window: a key pressed anywhere in the window is first offered
// to the popup menu actions of the focused control and its parents (QWidget::actions()),
// then to the main menu's item shortcuts, then to the action list's shortcuts; a key that
// matches runs that command and never reaches the focused control.
#pragma once

#include <QKeyCombination>
#include <QObject>

class QAction;
class QMenuBar;

namespace velmora::app
{

class ShortcutDispatcher : public QObject
{
    Q_OBJECT

public:
    // Watches every key event of the application that is meant for a widget of window.
    ShortcutDispatcher(QWidget *window, QMenuBar *menu, QObject *actionList);

    // The command a key runs while focus has the focus: the first enabled action with that
    // shortcut among those of focus and its parents, else the first enabled menu item
    // (hidden items included), else the first enabled action of the list; nullptr when none.
    QAction *commandFor(QKeyCombination key, const QWidget *focus = nullptr) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *window_;
    QMenuBar *menu_;
    QObject *actionList_;
};

} // namespace velmora::app
