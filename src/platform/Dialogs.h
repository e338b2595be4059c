// The one door to message boxes, input boxes and file dialogs. The program talks to
// dialogs() only; tests install a scripted implementation to answer and record them.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QWidget;

namespace velmora::platform
{

enum class MessageKind { Error, Warning, Information, Confirmation };

enum class Answer { Ok, Cancel, Yes, No, Save, Discard };

// The texts the toolkit's boxes and the running window show; the application replaces
// these English defaults with its language pack's.
struct DialogTexts {
    QString title = QStringLiteral("Velmora"); // every box's title
    QString ok = QStringLiteral("OK");
    QString cancel = QStringLiteral("Cancel");
    QString yes = QStringLiteral("&Yes");
    QString no = QStringLiteral("&No");
    QString save = QStringLiteral("&Save");
    QString discard = QStringLiteral("&Discard");
    // %1 the command line.
    QString running = QStringLiteral("Running: %1");
    QString howToStop = QStringLiteral("Cancel or Esc stops it.");
    // %1 the name typed into a file dialog.
    QString quoteInName = QStringLiteral("The name %1 contains a double quote (\"). File names with a double quote "
                                         "cannot be used here; choose a name without one.");
    // A file that could not be used: %1 the file, %2 the cause.
    QString cannotOpenFile = QStringLiteral("Cannot open file \"%1\". %2");
    QString cannotReadFile = QStringLiteral("Cannot read file \"%1\". %2");
    QString cannotWriteFile = QStringLiteral("Cannot write file \"%1\". %2");
    QString cannotCreateFile = QStringLiteral("Cannot create file \"%1\". %2");
    // A settings file that could not be written: %1 the file, %2 the cause.
    QString unableToWrite = QStringLiteral("Unable to write to %1. %2");
    QString noMemory = QStringLiteral("Not enough memory.");
    // %1 the system's reason.
    QString folderRefusesNewFile = QStringLiteral("Its folder does not allow a new file (%1), and overwriting the file "
                                                  "in place could leave only part of it if the write fails. Save it "
                                                  "under another name.");

    QString button(Answer answer) const;

    bool operator==(const DialogTexts &) const = default;
};

const DialogTexts &dialogTexts();
void setDialogTexts(const DialogTexts &texts);

struct FileDialogRequest {
    QString title;
    QString filter;      // "Label|*.asm|Label|*.*" pairs as the window texts give them
    int filterIndex = 1; // 1-based, as the filter lists number their entries
    QString initialDir;
    QString fileName; // proposed name
    QString defaultExt;
};

class IDialogs
{
public:
    virtual ~IDialogs() = default;

    // A box with the given buttons, the first of them the default that Enter presses; returns
    // the button pressed (Cancel when closed).
    virtual Answer message(MessageKind kind, const QString &text,
                           const std::vector<Answer> &buttons = {Answer::Ok}) = 0;

    // An input box: nullopt when cancelled, else the text entered.
    virtual std::optional<QString> input(const QString &caption, const QString &prompt, const QString &value) = 0;

    virtual std::optional<QString> openFile(const FileDialogRequest &request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest &request) = 0;
};

// The dialogs in use: the toolkit's own unless a test has installed others.
IDialogs &dialogs();

// Installs other dialogs (nullptr restores the toolkit's); returns the previous ones.
IDialogs *setDialogs(IDialogs *replacement);

// The toolkit's standard dialogs, parented to the active window.
class QtDialogs final : public IDialogs
{
public:
    Answer message(MessageKind kind, const QString &text, const std::vector<Answer> &buttons) override;
    std::optional<QString> input(const QString &caption, const QString &prompt, const QString &value) override;
    std::optional<QString> openFile(const FileDialogRequest &request) override;
    std::optional<QString> saveFile(const FileDialogRequest &request) override;
};

// Turns a "Label|*.a;*.b|Label2|*.*" filter list into the toolkit's "Label (*.a *.b);;..." form.
QString toQtFilter(const QString &pipeFilter);

} // namespace velmora::platform
