#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <unistd.h>

namespace velmora::platform
{

namespace
{

QString withSlash(const QString &dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

bool isWritableFolder(const QString &dir)
{
    return QDir(dir).exists() && ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) == 0;
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

QString userApplicationsFolder()
{
    return xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("applications/");
}

QString userStateFolder()
{
    return xdgFolder("XDG_STATE_HOME", QStringLiteral(".local/state"));
}

QString exeDir()
{
    return withSlash(QCoreApplication::applicationDirPath());
}

QString settingsFolder(const QString &exeDir)
{
    if (isWritableFolder(exeDir))
        return withSlash(exeDir);
    return userConfigFolder() + QStringLiteral("velmora/");
}

} // namespace velmora::platform
