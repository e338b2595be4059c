#include "app/language/ComponentTexts.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>

namespace velmora::app
{

namespace
{

// The tab widget that shows page as one of its pages, if any.
QTabWidget *tabWidgetShowing(QWidget &page)
{
    for (QWidget *parent = page.parentWidget(); parent; parent = parent->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(parent))
            return tabs->indexOf(&page) >= 0 ? tabs : nullptr;
    return nullptr;
}

bool isOtherWindow(const QObject &child)
{
    const auto *widget = qobject_cast<const QWidget *>(&child);
    return widget && widget->isWindow() && !qobject_cast<const QMenu *>(widget);
}

} // namespace

ComponentIndex::ComponentIndex(QWidget &window)
{
    add(window);
}

void ComponentIndex::add(QObject &object)
{
    if (!object.objectName().isEmpty())
        byName_.insert(object.objectName().toLower(), &object);
    for (QObject *child : object.children())
        if (!isOtherWindow(*child))
            add(*child);
}

QList<QObject *> ComponentIndex::find(const QString &name) const
{
    return byName_.values(name.toLower());
}

void setCaption(QObject &component, const QString &text)
{
    if (auto *action = qobject_cast<QAction *>(&component)) {
        // A separator carries no text: styles draw a separator's text as a section heading.
        const bool separator = text == QLatin1String("-");
        action->setSeparator(separator);
        action->setText(separator ? QString() : text);
        return;
    }
    auto *widget = qobject_cast<QWidget *>(&component);
    if (widget) {
        if (QTabWidget *tabs = tabWidgetShowing(*widget)) {
            tabs->setTabText(tabs->indexOf(widget), text);
            return;
        }
    }
    for (const char *property : {"text", "title"}) {
        if (component.metaObject()->indexOfProperty(property) >= 0) {
            component.setProperty(property, text);
            return;
        }
    }
    if (widget)
        widget->setWindowTitle(text);
}

void setHint(QObject &component, const QString &text)
{
    component.setProperty("toolTip", text);
}

void setItemText(QObject &component, int index, const QString &text)
{
    if (auto *combo = qobject_cast<QComboBox *>(&component)) {
        if (index < combo->count())
            combo->setItemText(index, text);
        return;
    }
    const QList<QRadioButton *> choices = component.findChildren<QRadioButton *>();
    if (index < choices.size())
        choices[index]->setText(text);
}

} // namespace velmora::app
