// What tells one state of a file on disk from another: whether it exists, which file it is
// (a file replaced by another under the same name is another file) and its size and time of
// last change.
#pragma once

#include <QString>

#include <cstdint>

namespace velmora::platform
{

struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0; // nanoseconds since the epoch

    bool operator==(const FileStamp &) const = default;
};

// The stamp of the file at path now; a missing or unreadable file gives exists false.
FileStamp fileStamp(const QString &path);

} // namespace velmora::platform
