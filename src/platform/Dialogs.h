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
