#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::platform {

QString findIgnoringCase(const QString &dir, const QString &name)
{
    const QString plain = QDir(dir).filePath(name);
    if (QFileInfo::exists(plain))
        return plain;
    const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(dir).filePath(entry);
    return plain;
}

QString resolveIgnoringCase(const QString &path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    const bool absolute = QDir::isAbsolutePath(path);
    const QStringList parts = QDir::fromNativeSeparators(path).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QStringLiteral(".");
    for (const QString &part : parts) {
        const QString next = findIgnoringCase(current, part);
        if (!QFileInfo::exists(next))
            return path;
        current = next;
    }
    return absolute ? current : QDir::cleanPath(current);
}

} // namespace velmora::platform
