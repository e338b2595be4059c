// The source file commands: new, default template, open, save, save as, load the last file
// and open the source's folder. Changed text is never discarded without asking, and a file
// that was cut short at a NUL byte is not overwritten without asking.
#include "app/MainWindow.h"

#include "app/FileDialog.h"
#include "editor/core/EditorErrors.h"
#include "editor/widget/SourceMemo.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTabWidget>

#include <sstream>

namespace velmora::app
{

namespace
{

QString displayName(const QString &file)
{
    return file.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(file).fileName();
}

// The offset of the file's first NUL byte, or -1 (also when it cannot be read again).
qint64 firstNulOffset(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.readAll().indexOf('\0');
}

[[noreturn]] void saveError(const char *what, const QString &path, const QString &reason)
{
    throw core::EditorError(QStringLiteral("%1 \"%2\". %3").arg(QLatin1String(what), path, reason).toStdString());
}

} // namespace

bool TVelmora::confirmDiscard()
{
    if (!editor->Modified())
        return true;
    using platform::Answer;
    switch (platform::dialogs().message(platform::MessageKind::Confirmation,
                                        QStringLiteral("Save changes to %1?").arg(displayName(CurrentFile)),
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

void TVelmora::loadSource(const QString &path)
{
    // A file that cannot be read raises before anything changes.
    editor->Lines().LoadFromFile(QFile::encodeName(path).toStdString());
    editor->setModified(false);
    truncatedFile_.clear();
    const qint64 nul = firstNulOffset(path);
    if (nul < 0)
        return;
    truncatedFile_ = path;
    platform::dialogs().message(
        platform::MessageKind::Warning,
        QStringLiteral("%1 contains a NUL byte at offset %2: only the text before it was loaded")
            .arg(displayName(path))
            .arg(nul));
}

void TVelmora::NewA()
{
    if (!confirmDiscard())
        return;
    editor->Clear();
    CurrentFile.clear();
    const QString templateFile = platform::resolveIgnoringCase(ExeDir + QStringLiteral("TTDIR/def_templ.asm"));
    if (settings.def_templ && QFileInfo(templateFile).isFile())
        loadSource(templateFile);
    editor->setModified(false);
    truncatedFile_.clear();
    FNameShow();
}

void TVelmora::DefaultTemplate1Click()
{
    const bool remembered = settings.def_templ;
    settings.def_templ = true;
    try {
        NewA();
    } catch (...) {
        settings.def_templ = remembered;
        throw;
    }
    settings.def_templ = remembered;
}

void TVelmora::OpenA()
{
    if (const auto chosen = od_->execute())
        OpenSourceFile(*chosen);
    FNameShow();
}

void TVelmora::OpenSourceFile(const QString &fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile() || !confirmDiscard())
        return;
    loadSource(fileName);
    CurrentFile = fileName;
    LastFile = fileName;
    FNameShow();
}

void TVelmora::SaveA()
{
    if (CurrentFile.isEmpty()) {
        SaveAsA();
    } else if (CurrentFile != truncatedFile_ ||
               platform::dialogs().message(
                   platform::MessageKind::Confirmation,
                   QStringLiteral("%1 holds more after its NUL byte than was loaded. Saving replaces all of it. "
                                  "Save anyway?")
                       .arg(displayName(CurrentFile)),
                   {platform::Answer::No, platform::Answer::Yes}) == platform::Answer::Yes) {
        writeSource(CurrentFile);
        truncatedFile_.clear();
    }
    FNameShow();
}

// Writes the text through a temporary file that replaces the old one only once it is
// complete, so a failed write leaves the old file as it was.
void TVelmora::writeSource(const QString &path)
{
    std::ostringstream text;
    editor->Lines().SaveToStream(text);
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        saveError("Cannot create file", path, file.errorString());
    const std::string bytes = text.str();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit())
        saveError("Cannot write file", path, file.errorString());
    editor->setModified(false);
}

void TVelmora::SaveAsA()
{
    sd_->request().fileName = CurrentFile;
    const auto chosen = sd_->execute();
    if (!chosen)
        return;
    // A name that could not be written is not kept.
    const QString previous = CurrentFile;
    CurrentFile = *chosen;
    try {
        SaveA();
    } catch (...) {
        CurrentFile = previous;
        FNameShow();
        throw;
    }
    LastFile = CurrentFile;
}

void TVelmora::LastFileA()
{
    if (!LastFile.isEmpty()) {
        if (!confirmDiscard())
            return;
        loadSource(LastFile);
        CurrentFile = LastFile;
        FNameShow();
    }
    pages_->setCurrentIndex(0);
}

void TVelmora::OpenfolderClick()
{
    // An untitled text has no folder: the user's home folder opens instead.
    OpenFolder(CurrentFile.isEmpty() ? QDir::homePath() + QLatin1Char('/')
                                     : QFileInfo(CurrentFile).absolutePath() + QLatin1Char('/'));
}

} // namespace velmora::app
