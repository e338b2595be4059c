// Widget trees named like the four windows' components, for the language actions to dress,
// and helpers to write packs and to read back every text a tree shows.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <ostream>

class QAction;
class QMainWindow;
class QDialog;
class QWidget;

namespace velmora::testing
{

// The main window: tool bar, pages, next-page button, actions and the whole main menu, with
// the built-in texts; and, parented to it, a dialog holding a button named Tasm that no
// main-window action may touch.
std::unique_ptr<QMainWindow> buildMainWindow();

// The preferences, about and info windows with their built-in texts.
std::unique_ptr<QDialog> buildPrefsWindow();
std::unique_ptr<QDialog> buildAboutWindow();
std::unique_ptr<QDialog> buildInfoWindow();

// Every text the tree shows, keyed "name.property" (text, title, toolTip, tab, separator,
// hidden, window): what a test compares before and after an action.
QMap<QString, QString> textsOf(QWidget &window);

// "name.property=text" for every text that differs between two readings of textsOf, sorted;
// the name is the last segment of the key.
QStringList changedTexts(const QMap<QString, QString> &before, const QMap<QString, QString> &after);

// The objects of that exact name in the tree.
QAction *actionNamed(QWidget &window, const QString &name);
QString tabTextOf(QWidget &window, const QString &pageName);

// A folder holding packs for one test.
class PackFolder
{
public:
    // Writes bytes as the file name in the folder; returns its path.
    QString write(const QString &name, const QByteArray &bytes);
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

QString shippedPackPath(const char *fileName);

} // namespace velmora::testing

// Lets failing expectations print texts readably.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
