// The editing commands on the source: undo and redo with their menu items greyed while
// there is nothing to do, the clipboard, comment and uncomment, the two typing aids, find
// and search again, and the character set the text is shown in.
#include "app/MainWindow.h"

#include "app/FindDialog.h"
#include "editor/core/editing/TextSearch.h"
#include "editor/core/text/CodePages.h"
#include "editor/widget/SourceMemo.h"
#include "platform/DesktopPrograms.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTimer>

#include <algorithm>

namespace velmora::app
{

namespace
{

// Prefixes every line of a block with ";" (comment) or removes everything up to and
// including a line's first ";" (uncomment). An empty piece after the block's final break
// is no line and stays empty.
QString commentLines(const QString &block, bool comment)
{
    QStringList lines = block.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == lines.size() - 1 && lines[i].isEmpty())
            break;
        if (comment)
            lines[i].prepend(QLatin1Char(';'));
        else
            lines[i].remove(0, lines[i].indexOf(QLatin1Char(';')) + 1);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

// Keeps the Undo and Redo menu items, and the source's encoding, in step with what the editor
// can undo and redo.
class TVelmora::UndoItemsListener : public widget::IsmMemoListener
{
public:
    explicit UndoItemsListener(TVelmora &window) : window_(window) {}
    void notify(widget::TSourceMemo &, widget::TsmNotifyCodes codes) override
    {
        if (!(codes & (widget::ncTextChanged | widget::ncSelMoved)))
            return;
        window_.updateUndoItems();
        // An undo or redo step tells of its change before the undo list has moved on: the
        // items are looked at again once the command is over.
        QTimer::singleShot(0, &window_, [&window = window_] {
            window.updateUndoItems();
            window.followEncodingSteps();
        });
    }

private:
    TVelmora &window_;
};

void TVelmora::watchUndoState()
{
    undoItemsListener_ = std::make_shared<UndoItemsListener>(*this);
    editor->addChangeListener(undoItemsListener_.get());
    updateUndoItems();
}

void TVelmora::updateUndoItems()
{
    findChild<QAction *>(QStringLiteral("Undo1"))->setEnabled(editor->CanUndo());
    findChild<QAction *>(QStringLiteral("Repeatcommand1"))->setEnabled(editor->CanRedo());
}

void TVelmora::UndoA()
{
    editor->Undo();
    updateUndoItems();
    followEncodingSteps();
}

void TVelmora::RedoA()
{
    editor->Redo();
    updateUndoItems();
    followEncodingSteps();
}

// Cut and paste leave the caret in view, as the editor's own keys do.
void TVelmora::Cut1Click()
{
    editor->cutCommand();
    editor->scrollCaretCommand();
}

void TVelmora::Copy1Click()
{
    editor->copyCommand();
}

void TVelmora::Paste1Click()
{
    editor->pasteCommand();
    editor->scrollCaretCommand();
}

// The selection goes out as one cut and comes back changed as one paste, so that each is an
// undo step of its own; the user's clipboard text is put back afterwards.
void TVelmora::commentSelection(bool comment)
{
    if (editor->SelText().empty())
        return;
    QClipboard &clipboard = *QApplication::clipboard();
    const QString userText = clipboard.text();
    editor->cutCommand();
    clipboard.setText(commentLines(clipboard.text(), comment));
    editor->pasteCommand();
    clipboard.setText(userText);
}

void TVelmora::Comment1Click()
{
    commentSelection(true);
}

void TVelmora::UnComment1Click()
{
    commentSelection(false);
}

// "," (opt1) adds ", " at the end of the caret's line; ";" (opt2) adds two tabs and ";"
// there when the line has no comment yet. Either leaves the caret at the line's end.
void TVelmora::typingAid(QChar &key)
{
    const bool comma = key == QLatin1Char(',') && state_.settings.opt[0];
    const bool semicolon = key == QLatin1Char(';') && state_.settings.opt[1];
    if (!comma && !semicolon)
        return;
    const std::int32_t line = editor->SelLine();
    const std::string text = editor->Lines().Get(line);
    if (semicolon && text.find(';') != std::string::npos)
        return;
    key = QChar();
    editor->Lines().Put(line, text + (comma ? ", " : "\t\t;"));
}

void TVelmora::Find1Click()
{
    fd_->show();
    fd_->raise();
    fd_->activateWindow();
}

void TVelmora::searchWithFindDialog()
{
    const std::string text = core::encode(fd_->findText().toStdU16String(), editor->measurer().codePage());
    if (core::SearchText(editor->core(), text, fd_->down(), fd_->matchCase(), fd_->wholeWord(), false))
        editor->scrollCaretCommand();
}

void TVelmora::FDFind()
{
    searchWithFindDialog();
    fd_->close();
}

void TVelmora::SearchAgain1Click()
{
    searchWithFindDialog();
}

void TVelmora::Windows1Click()
{
    convertSourceTo(core::SourceEncoding::Windows1251);
}

void TVelmora::DOS1Click()
{
    convertSourceTo(core::SourceEncoding::Dos866);
}

void TVelmora::UTF81Click()
{
    convertSourceTo(core::SourceEncoding::Utf8);
}

void TVelmora::convertSourceTo(core::SourceEncoding encoding)
{
    if (encoding == sourceEncoding_) {
        setSourceEncoding(encoding);
        return;
    }
    const core::CodePage from = core::editorCodePage(sourceEncoding_);
    const core::CodePage to = core::editorCodePage(encoding);
    const std::string text = editor->textRange(0, editor->TextLength());
    const std::u16string characters = core::decode(text, from);
    const std::string converted = core::encode(characters, to);
    const std::u16string kept = core::decode(converted, to);
    if (kept != characters) {
        const auto bad = std::mismatch(characters.begin(), characters.end(), kept.begin()).first;
        const auto line = std::count(characters.begin(), bad, u'\n') + 1;
        platform::dialogs().message(
            platform::MessageKind::Warning,
            texts.messages.encodingLoss.arg(line).arg(QString::fromLatin1(core::encodingName(encoding)),
                                                      QString::fromLatin1(core::encodingName(sourceEncoding_))));
        setSourceEncoding(sourceEncoding_);
        return;
    }
    // One edit, even where the bytes stay the same (Windows-1251 and UTF-8 share the editor's
    // code page): Undo then takes the file's encoding back with it.
    editor->SelectAll();
    editor->SetSelTextBuf(converted.c_str());
    editor->setSelStart(0);
    encodingSteps_.push_back({editor->undoList().position(), sourceEncoding_, encoding});
    setSourceEncoding(encoding);
    state_.settings.Charset = QString::fromLatin1(core::encodingName(encoding));
    updateUndoItems();
}

void TVelmora::followEncodingSteps()
{
    if (encodingSteps_.empty())
        return;
    const std::int32_t position = editor->undoList().position();
    core::SourceEncoding encoding = encodingSteps_.front().before;
    for (const EncodingStep &step : encodingSteps_)
        if (position >= step.undoPosition)
            encoding = step.after;
    if (encoding != sourceEncoding_)
        setSourceEncoding(encoding);
}

void TVelmora::Calc1Click()
{
    if (!platform::startCalculator())
        platform::dialogs().message(platform::MessageKind::Error, texts.messages.noCalculator);
}

} // namespace velmora::app
