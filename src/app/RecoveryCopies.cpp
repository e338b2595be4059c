#include "app/RecoveryCopies.h"

#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <stdexcept>

namespace velmora::app
{

namespace
{

const QByteArray kHeader = "Velmora recovery copy\n";
const QString kCopySuffix = QStringLiteral(".recovery");
const QString kLockSuffix = QStringLiteral(".lock");

QString lockPathOf(const QString &copyPath)
{
    return copyPath.chopped(kCopySuffix.size()) + kLockSuffix;
}

// Header and name line of a copy: the name, or nullopt when the file is no copy.
std::optional<QString> readSourceName(QFile &file)
{
    if (file.read(kHeader.size()) != kHeader)
        return std::nullopt;
    const QByteArray line = file.readLine(64 * 1024);
    if (!line.endsWith('\n'))
        return std::nullopt;
    return QFile::decodeName(QByteArray::fromPercentEncoding(line.chopped(1)));
}

} // namespace

RecoveryCopies::RecoveryCopies(QString folder) : folder_(std::move(folder))
{
    if (folder_.isEmpty() || !QDir().mkpath(folder_))
        return;
    // The copies hold the user's text: no one else may read them.
    QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The process id keeps names apart between Velmoras running together; the lock tells
    // whether a name is still in use (ids come round again after a restart).
    for (int n = 0; n < 100 && !lock_; ++n) {
        const QString base =
            QDir(folder_).filePath(QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(n));
        auto lock = std::make_unique<platform::FileLock>(base + kLockSuffix);
        if (lock->locked() && !QFileInfo::exists(base + kCopySuffix)) {
            lock_ = std::move(lock);
            copyPath_ = base + kCopySuffix;
        }
    }
    // A Velmora that ended with nothing unsaved may have left its lock file behind.
    const QStringList locks = QDir(folder_).entryList({QStringLiteral("*") + kLockSuffix}, QDir::Files);
    for (const QString &name : locks) {
        const QString lockPath = QDir(folder_).filePath(name);
        // A lock that can be taken is no one's, this Velmora's own included.
        if (!QFileInfo::exists(lockPath.chopped(kLockSuffix.size()) + kCopySuffix) &&
            platform::FileLock(lockPath).locked())
            QFile::remove(lockPath);
    }
}

RecoveryCopies::~RecoveryCopies()
{
    // The lock file goes when there is no copy to offer; a copy keeps it for the next start.
    if (lock_ && !exists())
        QFile::remove(lockPathOf(copyPath_));
}

void RecoveryCopies::write(const QString &sourceFile, std::string_view text)
{
    if (copyPath_.isEmpty())
        return;
    // The folder may have been cleared while the program runs: make it again.
    QDir().mkpath(folder_);
    std::string bytes = kHeader.toStdString();
    bytes += QFile::encodeName(sourceFile).toPercentEncoding().toStdString();
    bytes += '\n';
    bytes += text;
    platform::writeFileAtomically(copyPath_, bytes);
}

bool RecoveryCopies::remove()
{
    return !copyPath_.isEmpty() && QFile::remove(copyPath_);
}

bool RecoveryCopies::exists() const
{
    return !copyPath_.isEmpty() && QFileInfo::exists(copyPath_);
}

std::vector<RecoveryCopies::LeftCopy> RecoveryCopies::leftBehind() const
{
    std::vector<LeftCopy> copies;
    if (folder_.isEmpty())
        return copies;
    const QFileInfoList files = QDir(folder_).entryInfoList({QStringLiteral("*") + kCopySuffix}, QDir::Files);
    for (const QFileInfo &info : files) {
        if (info.absoluteFilePath() == QFileInfo(copyPath_).absoluteFilePath())
            continue;
        auto lock = std::make_unique<platform::FileLock>(lockPathOf(info.absoluteFilePath()));
        if (!lock->locked())
            continue; // its Velmora still runs
        QFile file(info.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const std::optional<QString> sourceFile = readSourceName(file);
        if (!sourceFile)
            continue;
        copies.push_back({info.absoluteFilePath(), *sourceFile, info.lastModified(), std::move(lock)});
    }
    std::sort(copies.begin(), copies.end(), [](const LeftCopy &a, const LeftCopy &b) { return a.written > b.written; });
    return copies;
}

QByteArray RecoveryCopies::text(const QString &copyPath)
{
    QFile file(copyPath);
    if (!file.open(QIODevice::ReadOnly) || !readSourceName(file))
        throw std::runtime_error(
            platform::dialogTexts().cannotOpenFile.arg(copyPath, file.errorString()).toStdString());
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(
            platform::dialogTexts().cannotReadFile.arg(copyPath, file.errorString()).toStdString());
    return text;
}

void RecoveryCopies::discard(const LeftCopy &copy)
{
    QFile::remove(copy.path);
    QFile::remove(lockPathOf(copy.path));
}

} // namespace velmora::app
