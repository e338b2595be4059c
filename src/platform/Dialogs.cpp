#include "platform/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace velmora::platform
{

namespace
{

QtDialogs &qtDialogs()
{
    static QtDialogs instance;
    return instance;
}

DialogTexts &texts()
{
    static DialogTexts instance;
    return instance;
}

IDialogs *&current()
{
    static IDialogs *installed = nullptr;
    return installed;
}

QMessageBox::StandardButton toStandard(Answer a)
{
    switch (a) {
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Save:
        return QMessageBox::Save;
    case Answer::Discard:
        return QMessageBox::Discard;
    }
    return QMessageBox::Ok;
}

QString selectedFilterFor(const QString &qtFilter, int index)
{
    const QStringList parts = qtFilter.split(QStringLiteral(";;"));
    return index >= 1 && index <= parts.size() ? parts[index - 1] : QString();
}

// The toolkit's file dialog reads a double quote in the typed name as the start of a list of
// quoted names: "a\"b.asm" would give b.asm, "a\"" nothing at all, and the dialog would stay
// open without a word. Such a name is refused with a message saying why.
class FileDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (edit && edit->text().contains(QLatin1Char('"'))) {
            dialogs().message(MessageKind::Error, dialogTexts().quoteInName.arg(edit->text()));
            return;
        }
        QFileDialog::accept();
    }
};

QFileDialog *makeFileDialog(const FileDialogRequest &r, QFileDialog::AcceptMode mode)
{
    auto *d = new FileDialog(QApplication::activeWindow(), r.title, r.initialDir, toQtFilter(r.filter));
    d->setAcceptMode(mode);
    d->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    d->setDefaultSuffix(r.defaultExt);
    const QString selected = selectedFilterFor(toQtFilter(r.filter), r.filterIndex);
    if (!selected.isEmpty())
        d->selectNameFilter(selected);
    if (!r.fileName.isEmpty())
        d->selectFile(r.fileName);
    return d;
}

std::optional<QString> runFileDialog(const FileDialogRequest &r, QFileDialog::AcceptMode mode)
{
    std::unique_ptr<QFileDialog> d(makeFileDialog(r, mode));
    if (d->exec() != QDialog::Accepted || d->selectedFiles().isEmpty())
        return std::nullopt;
    return d->selectedFiles().constFirst();
}

} // namespace

QString DialogTexts::button(Answer answer) const
{
    switch (answer) {
    case Answer::Ok:
        return ok;
    case Answer::Cancel:
        return cancel;
    case Answer::Yes:
        return yes;
    case Answer::No:
        return no;
    case Answer::Save:
        return save;
    case Answer::Discard:
        return discard;
    }
    return ok;
}

const DialogTexts &dialogTexts()
{
    return texts();
}

void setDialogTexts(const DialogTexts &replacement)
{
    texts() = replacement;
}

IDialogs &dialogs()
{
    return current() ? *current() : static_cast<IDialogs &>(qtDialogs());
}

IDialogs *setDialogs(IDialogs *replacement)
{
    IDialogs *previous = current();
    current() = replacement;
    return previous;
}

QString toQtFilter(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

Answer QtDialogs::message(MessageKind kind, const QString &text, const std::vector<Answer> &buttons)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case MessageKind::Error:
        icon = QMessageBox::Critical;
        break;
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageKind::Information:
        icon = QMessageBox::Information;
        break;
    case MessageKind::Confirmation:
        icon = QMessageBox::Question;
        break;
    }
    QMessageBox box(icon, texts().title, text, QMessageBox::NoButton, QApplication::activeWindow());
    for (Answer a : buttons)
        box.addButton(toStandard(a))->setText(texts().button(a));
    if (!buttons.empty())
        box.setDefaultButton(toStandard(buttons.front()));
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (Answer a : buttons)
        if (toStandard(a) == pressed)
            return a;
    return Answer::Cancel;
}

std::optional<QString> QtDialogs::input(const QString &caption, const QString &prompt, const QString &value)
{
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(value);
    box.setOkButtonText(texts().ok);
    box.setCancelButtonText(texts().cancel);
    // Wide enough for the whole title (beside the frame's buttons) and the whole prompt.
    const QFontMetrics metrics(box.font());
    const int titleWidth = metrics.horizontalAdvance(caption) + 8 * metrics.averageCharWidth();
    const int promptWidth = metrics.horizontalAdvance(prompt) + 4 * metrics.averageCharWidth();
    box.setMinimumWidth(std::max({box.minimumSizeHint().width(), titleWidth, promptWidth}));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

std::optional<QString> QtDialogs::openFile(const FileDialogRequest &request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest &request)
{
    return runFileDialog(request, QFileDialog::AcceptSave);
}

} // namespace velmora::platform
