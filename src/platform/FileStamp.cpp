#include "platform/FileStamp.h"

#include <QFile>

#include <sys/stat.h>

namespace velmora::platform
{

FileStamp fileStamp(const QString &path)
{
    struct stat st = {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    return stamp;
}

} // namespace velmora::platform
