// "Assembler Commands Help": one help window on the application's help file, opened at the
// contents or at a keyword. The file is read when the window opens. A file that cannot be
// read is reported in an error box; when there is a fallback file (the English help beside a
// translation), the report says so, is given once per file, and the fallback is shown. When
// nothing can be read, no window opens.
#pragma once

#include "app/help/HelpFile.h"
#include "app/helpview/HelpWindow.h"

#include <QPointer>
#include <QString>

#include <optional>

class QWidget;

namespace velmora::app
{

struct HelpFiles {
    QString file;
    QString fallback = {};     // read when file cannot be; empty, or file itself, for none
    QString fallbackNote = {}; // the report's text when the fallback is read; %1 is the reason
};

class THelpSystem
{
public:
    // owner: the window the help window belongs to (the main window).
    THelpSystem(HelpFiles files, QWidget *owner);
    ~THelpSystem();
    THelpSystem(const THelpSystem &) = delete;
    THelpSystem &operator=(const THelpSystem &) = delete;

    // Points the help at other files; an open window shows the new help at once, at its
    // contents.
    void setFiles(HelpFiles files);

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
    std::optional<HelpFile> read();

    HelpFiles files_;
    QString reportedFile_; // the file whose failure was last reported with the fallback note
    QWidget *owner_;
    QPointer<THelpWindow> window_;
    HelpTexts texts_;
};

} // namespace velmora::app
