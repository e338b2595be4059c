#include "platform/AtomicFile.h"

#include "platform/Dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform
{

namespace
{

// format: one of the file error texts, %1 the file and %2 the cause.
[[noreturn]] void fail(const QString &format, const QString &path, int error, const QString &reason)
{
    throw FileWriteError(format.arg(path, reason).toStdString(), error);
}

[[noreturn]] void fail(const QString &format, const QString &path, int error)
{
    fail(format, path, error, QString::fromLocal8Bit(std::strerror(error)));
}

// The file actually written: the target of a symbolic link, else path itself.
QString writtenPath(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    return info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
}

// A new file beside target, named ".velmora-" and six random letters: 15 bytes, whatever
// the length of target's own name. Returns its descriptor, or -1 with errno set.
int createTemporary(const QByteArray &folder, QByteArray &name)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.velmora-";
        for (int i = 0; i < 6; ++i)
            name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The rename is made durable; a folder that cannot be synced is no failure of the write.
void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

QString FileWriteError::cause() const
{
    return QString::fromLocal8Bit(std::strerror(error_));
}

void writeFileAtomically(const QString &path, std::string_view bytes)
{
    const QString target = writtenPath(path);
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    struct stat old = {};
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    // A file its owner made read-only is not replaced behind that protection.
    if (exists && ::access(targetName.constData(), W_OK) != 0)
        fail(dialogTexts().cannotCreateFile, path, errno);

    QByteArray temporary;
    const int fd = createTemporary(folder, temporary);
    if (fd < 0) {
        const int error = errno;
        if ((error == EACCES || error == EPERM) && exists && ::access(targetName.constData(), W_OK) == 0)
            fail(dialogTexts().cannotWriteFile, path, error,
                 dialogTexts().folderRefusesNewFile.arg(QString::fromLocal8Bit(std::strerror(error))));
        fail(dialogTexts().cannotCreateFile, path, error);
    }
    if (exists) {
        // The new file takes the old one's permissions and, where allowed, its owner.
        ::fchmod(fd, old.st_mode & 07777);
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            ::fchmod(fd, old.st_mode & 0777);
    }
    const bool stored = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 || !stored) {
        const int reported = stored ? errno : error;
        ::unlink(temporary.constData());
        fail(dialogTexts().cannotWriteFile, path, reported);
    }
    if (::rename(temporary.constData(), targetName.constData()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.constData());
        fail(dialogTexts().cannotWriteFile, path, renameError);
    }
    syncFolder(folder);
}

} // namespace velmora::platform
