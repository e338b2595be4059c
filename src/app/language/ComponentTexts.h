// A window's components found by name, and the texts a language pack sets on them: a
// caption, a hint, or the text of one choice of a radio group.
#pragma once

#include <QList>
#include <QMultiHash>
#include <QString>

class QObject;
class QWidget;

namespace velmora::app
{

// The named objects of a window's tree (widgets, actions, menus), found by name without
// regard to letter case. The window itself is included; other windows parented to it
// (dialogs) are left out with everything they hold, while its menus are kept.
class ComponentIndex
{
public:
    explicit ComponentIndex(QWidget &window);

    // Every object of that name; empty when there is none.
    QList<QObject *> find(const QString &name) const;

private:
    void add(QObject &object);

    QMultiHash<QString, QObject *> byName_;
};

// The caption: an action's text (the text "-" makes it a separator, any other text an
// ordinary item), a tab page's tab text, a widget's text or title, else the window title.
void setCaption(QObject &component, const QString &text);

// The hint: the tool tip of a widget or action.
void setHint(QObject &component, const QString &text);

// The text of choice index of a radio group (its radio buttons in creation order) or of a
// combo box; an index past the last choice changes nothing.
void setItemText(QObject &component, int index, const QString &text);

} // namespace velmora::app
