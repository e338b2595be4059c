// The source file commands: new, default template, open, save, save as, load the last file
// and open the source's folder. Changed text is never discarded without asking, and a file
// that was cut short at a NUL byte is not overwritten without asking.
#include "app/MainWindow.h"

#include "app/FileDialog.h"
#include "app/SourceLoading.h"
#include "app/StatusBar.h"
#include "app/debug/DebugMode.h"
#include "app/language/ReferenceFiles.h"
#include "editor/core/text/EditorErrors.h"
#include "editor/widget/SourceGutter.h"
#include "editor/widget/SourceMemo.h"
#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace velmora::app
{

namespace
{

// format: one of the file error texts, %1 the file and %2 the cause.
[[noreturn]] void fileError(const QString &format, const QString &path, const QString &reason)
{
    throw core::EditorError(format.arg(path, reason).toStdString());
}

} // namespace

QString TVelmora::displayName(const QString &file) const
{
    return file.isEmpty() ? texts.main.untitled : QFileInfo(file).fileName();
}

bool TVelmora::confirmDiscard()
{
    if (!editor->Modified())
        return true;
    using platform::Answer;
    switch (platform::dialogs().message(platform::MessageKind::Confirmation,
                                        texts.messages.saveChanges.arg(displayName(state_.CurrentFile)),
                                        {Answer::Save, Answer::Discard, Answer::Cancel})) {
    case Answer::Save:
        SaveA();
        return !editor->Modified();
    case Answer::Discard:
        return true;
    default:
        return false;
    }
}

std::int64_t TVelmora::loadStream(std::istream &in, const QString &path, std::optional<core::SourceEncoding> keptIn)
{
    try {
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (in.bad())
            throw core::EditorError(texts.messages.readToEnd.toStdString());
        core::SourceEncoding encoding = core::detectEncoding(bytes, newFileEncoding());
        std::optional<std::string> text = core::toEditorBytes(bytes, encoding);
        if (!text) {
            // UTF-8 with characters the editor cannot draw: kept as its bytes, nothing lost.
            encoding = core::SourceEncoding::Windows1251;
            text = bytes;
        }
        if (keptIn) {
            // Characters the kept encoding's code page lacks become '?'.
            text = core::encode(core::decode(*text, core::editorCodePage(encoding)), core::editorCodePage(*keptIn));
            encoding = *keptIn;
        }
        std::istringstream shown(*text);
        // The program being debugged was built from the text that goes now.
        debugMode_->leave();
        const std::int64_t nul = loadWhole(*editor, shown, texts.messages);
        // Loading puts every breakpoint at the text's start: a new text starts without any.
        Gutter->ClearBreakpoints();
        encodingSteps_.clear();
        setSourceEncoding(encoding);
        return nul;
    } catch (const PartLoadedError &e) {
        // The editor holds part of this text: it must not be saved under any file's name.
        state_.CurrentFile.clear();
        truncatedFile_.clear();
        rememberDiskState();
        FNameShow();
        writeRecoveryCopy();
        fileError(platform::dialogTexts().cannotOpenFile, path, QString::fromUtf8(e.what()));
    } catch (const std::bad_alloc &) {
        fileError(platform::dialogTexts().cannotOpenFile, path, texts.messages.noMemoryToLoad);
    } catch (const std::exception &e) {
        fileError(platform::dialogTexts().cannotOpenFile, path, QString::fromUtf8(e.what()));
    }
}

void TVelmora::loadSource(const QString &path, std::optional<core::SourceEncoding> keptIn)
{
    std::ifstream in(std::filesystem::path(QFile::encodeName(path).toStdString()), std::ios::binary);
    if (!in)
        fileError(platform::dialogTexts().cannotOpenFile, path, QString::fromLocal8Bit(std::strerror(errno)));
    const std::int64_t nul = loadStream(in, path, keptIn);
    truncatedFile_.clear();
    writeRecoveryCopy();
    if (nul < 0)
        return;
    truncatedFile_ = path;
    platform::dialogs().message(platform::MessageKind::Warning, texts.messages.nulByte.arg(displayName(path)).arg(nul));
}

void TVelmora::setSourceEncoding(core::SourceEncoding encoding)
{
    sourceEncoding_ = encoding;
    sb_->setPanelText(TStatusBar::EncodingPanel, QString::fromLatin1(core::encodingName(encoding)));
    for (const auto &[item, shown] :
         {std::pair{"Windows1", core::SourceEncoding::Windows1251}, std::pair{"DOS1", core::SourceEncoding::Dos866},
          std::pair{"UTF81", core::SourceEncoding::Utf8}})
        findChild<QAction *>(QString::fromLatin1(item))
            ->setChecked(shown == (encoding == core::SourceEncoding::Utf8Bom ? core::SourceEncoding::Utf8 : encoding));
    const bool dos = core::editorCodePage(encoding) == core::CodePage::Dos866;
    editor->setFontCharset(dos ? core::kOemCharset : core::kCyrillicCharset);
}

core::SourceEncoding TVelmora::newFileEncoding() const
{
    return core::encodingNamed(state_.settings.Charset.toStdString()).value_or(core::SourceEncoding::Windows1251);
}

void TVelmora::NewA()
{
    if (!confirmDiscard())
        return;
    debugMode_->leave();
    editor->Clear();
    encodingSteps_.clear();
    setSourceEncoding(newFileEncoding());
    state_.CurrentFile.clear();
    const QString templateFile = referenceFiles(state_.Folders.data, state_.LanguageFile).templateFile;
    if (state_.settings.def_templ && QFileInfo(templateFile).isFile())
        loadSource(templateFile, newFileEncoding());
    editor->setModified(false);
    truncatedFile_.clear();
    rememberDiskState();
    writeRecoveryCopy();
    FNameShow();
    showEditor();
}

void TVelmora::DefaultTemplate1Click()
{
    const bool remembered = state_.settings.def_templ;
    state_.settings.def_templ = true;
    try {
        NewA();
    } catch (...) {
        state_.settings.def_templ = remembered;
        throw;
    }
    state_.settings.def_templ = remembered;
}

QString TVelmora::dialogFolder() const
{
    // The tools folder holds working copies that the next build overwrites: work saved or
    // opened there would be lost, so the dialogs never start in it.
    const QString tools = QFileInfo(state_.toolsFolder()).canonicalFilePath();
    for (const QString &file : {state_.CurrentFile, state_.LastFile}) {
        if (file.isEmpty())
            continue;
        const QString folder = QFileInfo(QFileInfo(file).absolutePath()).canonicalFilePath();
        if (!folder.isEmpty() && folder != tools)
            return folder;
    }
    return QDir::homePath();
}

void TVelmora::OpenA()
{
    od_->request().initialDir = dialogFolder();
    if (const auto chosen = od_->execute())
        OpenSourceFile(*chosen);
    FNameShow();
    showEditor();
}

void TVelmora::OpenSourceFile(const QString &fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile() || !confirmDiscard())
        return;
    loadSource(fileName);
    state_.CurrentFile = fileName;
    state_.LastFile = fileName;
    rememberDiskState();
    FNameShow();
}

void TVelmora::SaveA()
{
    if (state_.CurrentFile.isEmpty()) {
        SaveAsA();
    } else if (state_.CurrentFile != truncatedFile_ ||
               platform::dialogs().message(platform::MessageKind::Confirmation,
                                           texts.messages.saveAfterNul.arg(displayName(state_.CurrentFile)),
                                           {platform::Answer::No, platform::Answer::Yes}) == platform::Answer::Yes) {
        if (confirmOverwriteOutsideChange()) {
            writeSource(state_.CurrentFile);
            truncatedFile_.clear();
        }
    }
    FNameShow();
    showEditor();
}

std::optional<std::string> TVelmora::sourceText()
{
    try {
        const std::unique_ptr<std::stringbuf> buffer =
            MakeTextBuffer ? MakeTextBuffer() : std::make_unique<std::stringbuf>(std::ios::out);
        std::ostream out(buffer.get());
        editor->Lines().SaveToStream(out);
        // A buffer that cannot grow fails the stream rather than throwing: the text is cut.
        if (!out)
            return std::nullopt;
        return core::toFileBytes(std::move(*buffer).str(), sourceEncoding_);
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

// The file is replaced only by the whole text, through a temporary file that takes its place
// once complete, so a failed write leaves the old file as it was.
void TVelmora::writeSource(const QString &path)
{
    const std::optional<std::string> bytes = sourceText();
    if (!bytes)
        fileError(platform::dialogTexts().cannotWriteFile, path, texts.messages.noMemoryToSave);
    platform::writeFileAtomically(path, *bytes);
    editor->setModified(false);
    rememberDiskState();
    writeRecoveryCopy();
}

void TVelmora::SaveAsA()
{
    sd_->request().initialDir = dialogFolder();
    sd_->request().fileName = state_.CurrentFile;
    const auto chosen = sd_->execute();
    if (!chosen)
        return;
    const QString folder = QFileInfo(*chosen).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        platform::dialogs().message(platform::MessageKind::Error, texts.messages.folderMissing.arg(folder));
        return;
    }
    // A name that could not be written is not kept.
    const QString previous = state_.CurrentFile;
    state_.CurrentFile = *chosen;
    try {
        SaveA();
    } catch (...) {
        state_.CurrentFile = previous;
        FNameShow();
        throw;
    }
    state_.LastFile = state_.CurrentFile;
}

void TVelmora::LastFileA()
{
    if (!state_.LastFile.isEmpty()) {
        if (!confirmDiscard())
            return;
        loadSource(state_.LastFile);
        state_.CurrentFile = state_.LastFile;
        rememberDiskState();
        FNameShow();
    }
    showEditor();
}

void TVelmora::OpenfolderClick()
{
    // An untitled text has no folder: the user's home folder opens instead.
    OpenFolder(state_.CurrentFile.isEmpty() ? QDir::homePath() + QLatin1Char('/')
                                            : QFileInfo(state_.CurrentFile).absolutePath() + QLatin1Char('/'));
}

} // namespace velmora::app
