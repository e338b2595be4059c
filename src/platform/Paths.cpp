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

} // namespace

QString exeDir()
{
    return withSlash(QCoreApplication::applicationDirPath());
}

QString settingsFolder(const QString &exeDir)
{
    if (isWritableFolder(exeDir))
        return withSlash(exeDir);
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return withSlash(config) + QStringLiteral("velmora/");
}

} // namespace velmora::platform
