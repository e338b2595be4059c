#include "platform/ProgramSearch.h"

#include "platform/FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace velmora::platform
{

namespace
{

bool hasSeparator(const QString &name)
{
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'));
}

// The spellings a name may have on disk: itself, and with ".exe" when it has no extension.
QStringList spellings(const QString &name)
{
    QStringList out{name};
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    if (!name.mid(slash + 1).contains(QLatin1Char('.')))
        out << name + QStringLiteral(".exe");
    return out;
}

QStringList searchFolders()
{
    QStringList folders;
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath();
    folders << QDir::currentPath();
    const QStringList path = qEnvironmentVariable("PATH").split(QLatin1Char(':'));
    for (const QString &entry : path)
        folders << (entry.isEmpty() ? QDir::currentPath() : entry);
    return folders;
}

QString existingFile(const QString &candidate)
{
    const QFileInfo info(candidate);
    return info.isFile() ? info.absoluteFilePath() : QString();
}

} // namespace

QString findProgramFile(const QString &name)
{
    if (name.isEmpty())
        return QString();
    if (hasSeparator(name)) {
        const QString path = QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'));
        for (const QString &spelling : spellings(path))
            if (QString found = existingFile(resolveIgnoringCase(spelling)); !found.isEmpty())
                return found;
        return QString();
    }
    for (const QString &folder : searchFolders())
        for (const QString &spelling : spellings(name))
            if (QString found = existingFile(findIgnoringCase(folder, spelling)); !found.isEmpty())
                return found;
    return QString();
}

std::optional<ProgramMatch> findProgram(const CommandLine &line)
{
    for (std::size_t i = 0; i < line.words.size(); ++i) {
        const QString name = line.textThrough(i);
        if (i > 0 && !hasSeparator(name))
            continue;
        if (QString found = findProgramFile(name); !found.isEmpty())
            return ProgramMatch{found, i};
    }
    return std::nullopt;
}

} // namespace velmora::platform
