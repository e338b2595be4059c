#include "app/language/LanguagePackLocation.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace velmora::app
{

QString languageFileName(const QString &chosenPath)
{
    const qsizetype slash =
        std::max(chosenPath.lastIndexOf(QLatin1Char('/')), chosenPath.lastIndexOf(QLatin1Char('\\')));
    return chosenPath.mid(slash + 1);
}

QString languageFilePath(const QString &dataDir, const QString &lngFile)
{
    return QDir(dataDir).filePath(QStringLiteral("info/") + languageFileName(lngFile));
}

std::optional<QString> findLanguagePack(const QString &dataDir, const QString &chosenPath)
{
    const QString path = platform::resolveIgnoringCase(languageFilePath(dataDir, chosenPath));
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}

} // namespace velmora::app
