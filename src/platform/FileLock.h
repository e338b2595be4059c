// An exclusive lock on a file, held while the object lives. The system drops the lock when
// its process ends in any way (a crash, a kill, a power cut), so a lock that can be taken
// tells that whoever held it is gone.
#pragma once

#include <QString>

namespace velmora::platform
{

class FileLock
{
public:
    // Creates the file when it is missing and tries to lock it without waiting.
    explicit FileLock(const QString &path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace velmora::platform
