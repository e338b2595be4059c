// "Assembler Commands Help": one help window on the application's help file, opened at the
// contents or at a keyword. The file is read when the window opens; a missing or malformed
// file is reported in an error box and no window opens.
#pragma once

#include "app/helpview/HelpWindow.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace velmora::app
{

class THelpSystem
{
public:
    // owner: the window the help window belongs to (the main window).
    THelpSystem(QString helpFile, QWidget *owner);
    ~THelpSystem();
    THelpSystem(const THelpSystem &) = delete;
    THelpSystem &operator=(const THelpSystem &) = delete;

    // Opens the help window at the contents topic; false when the file could not be read.
    bool showContents();
    // Opens the help window at the topic of word (see THelpWindow::showKeyword); false when
    // the file could not be read.
    bool showKeyword(const QString &word);

    // The open help window, nullptr while none is open.
    THelpWindow *window() const { return window_; }

    // The help window's own texts, now and whenever it opens.
    void setTexts(const HelpTexts &texts);

private:
    THelpWindow *open();

    QString helpFile_;
    QWidget *owner_;
    QPointer<THelpWindow> window_;
    HelpTexts texts_;
};

} // namespace velmora::app
