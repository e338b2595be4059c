#include "app/ShortcutDispatcher.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace velmora::app
{

namespace
{

// A hidden item still owns its shortcut (the toolkit reports hidden actions as disabled,
// so only visible ones are asked whether they are enabled).
bool matches(const QAction *action, QKeyCombination key)
{
    const QKeySequence shortcut = action->shortcut();
    return (action->isEnabled() || !action->isVisible()) && shortcut.count() == 1 && shortcut[0] == key;
}

QAction *findInMenu(const QList<QAction *> &items, QKeyCombination key)
{
    for (QAction *item : items) {
        if (QMenu *sub = item->menu()) {
            if (QAction *found = findInMenu(sub->actions(), key))
                return found;
        } else if (matches(item, key)) {
            return item;
        }
    }
    return nullptr;
}

QKeyCombination combinationOf(const QKeyEvent *event)
{
    const auto modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    return QKeyCombination(modifiers, Qt::Key(event->key()));
}

} // namespace

ShortcutDispatcher::ShortcutDispatcher(QWidget *window, QMenuBar *menu, QObject *actionList)
    : QObject(window), window_(window), menu_(menu), actionList_(actionList)
{
    qApp->installEventFilter(this);
}

QAction *ShortcutDispatcher::commandFor(QKeyCombination key, const QWidget *focus) const
{
    for (const QWidget *widget = focus; widget != nullptr; widget = widget->parentWidget()) {
        for (QAction *action : widget->actions())
            if (matches(action, key))
                return action;
        if (widget == window_)
            break;
    }
    if (QAction *item = findInMenu(menu_->actions(), key))
        return item;
    for (QAction *action : actionList_->findChildren<QAction *>(Qt::FindDirectChildrenOnly))
        if (matches(action, key))
            return action;
    return nullptr;
}

bool ShortcutDispatcher::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (widget == nullptr || widget->window() != window_)
        return false;
    QAction *command = commandFor(combinationOf(static_cast<QKeyEvent *>(event)), widget);
    if (command == nullptr)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claim the key so that no other shortcut takes it; the key press follows.
        event->accept();
        return true;
    }
    command->trigger();
    return true;
}

} // namespace velmora::app
