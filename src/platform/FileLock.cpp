#include "platform/FileLock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velmora::platform
{

FileLock::FileLock(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        fd_ = fd;
    else
        ::close(fd);
}

FileLock::~FileLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace velmora::platform
