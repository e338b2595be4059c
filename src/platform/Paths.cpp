#include "platform/Paths.h"
#include "platform/FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace velmora::platform
{

namespace
{

const QString ToolsFolderName = QStringLiteral("TTDIR");

QString withSlash(const QString &dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

bool isWritableFolder(const QString &dir)
{
    return QDir(dir).exists() && ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) == 0;
}

bool hasInfoFolder(const QString &dir)
{
    return QDir(dir + QStringLiteral("info")).exists();
}

QString xdgFolder(const char *variable, const QString &homeFallback)
{
    QString folder = qEnvironmentVariable(variable);
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        folder = QDir::homePath() + QLatin1Char('/') + homeFallback;
    return withSlash(folder);
}

} // namespace

QString userConfigFolder()
{
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString userDataFolder()
{
    return xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString userApplicationsFolder()
{
    return userDataFolder() + QStringLiteral("applications/");
}

QString userStateFolder()
{
    return xdgFolder("XDG_STATE_HOME", QStringLiteral(".local/state"));
}

QString exeDir()
{
    return withSlash(QCoreApplication::applicationDirPath());
}

ProgramFolders programFolders(const QString &exeDir)
{
    const QString dir = withSlash(exeDir);
    const QString installedData = withSlash(QDir::cleanPath(dir + QStringLiteral(VELMORA_INSTALLED_DATA_DIR)));
    const bool installed = !hasInfoFolder(dir) && hasInfoFolder(installedData);
    if (!installed && isWritableFolder(dir))
        return {dir, dir, dir + ToolsFolderName};
    return {installed ? installedData : dir, userConfigFolder() + QStringLiteral("velmora/"),
            userDataFolder() + QStringLiteral("velmora/") + ToolsFolderName};
}

void provideToolsFolder(const ProgramFolders &folders)
{
    const QString shipped = folders.data + ToolsFolderName;
    if (QDir::cleanPath(shipped) == QDir::cleanPath(folders.tools) || !QDir().mkpath(folders.tools))
        return;
    const QStringList files = QDir(shipped).entryList(QDir::Files);
    for (const QString &name : files)
        if (!QFileInfo::exists(findIgnoringCase(folders.tools, name)))
            QFile::copy(shipped + QLatin1Char('/') + name, folders.tools + QLatin1Char('/') + name);
}

} // namespace velmora::platform
