// The program's file handles: 0-2 the console, 3 (AUX) and 4 (PRN) devices that read
// nothing and take every write, 5-19 files of the folder opened through DOS. A handle
// holds a POSIX file descriptor, closed when the handle is closed or the table reset.
#pragma once

#include <array>
#include <cstdint>

namespace velmora::machine
{

class FileTable
{
public:
    static constexpr int kHandles = 20;

    enum class Kind { Closed, Console, NullDevice, File };
    struct Handle {
        Kind kind = Kind::Closed;
        int fd = -1;
        bool readable = false;
        bool writable = false;
    };

    FileTable() { reset(); }
    ~FileTable();
    FileTable(const FileTable &) = delete;
    FileTable &operator=(const FileTable &) = delete;

    // Closes every file; the standard handles open again.
    void reset();
    // The lowest free handle now holding fd, or -1 when all are in use (fd stays open).
    int add(int fd, bool readable, bool writable);
    // Null for a handle out of range or closed.
    Handle *find(uint16_t handle);
    bool close(uint16_t handle);
    bool anyFileOpen() const;

private:
    std::array<Handle, kHandles> handles_;
};

} // namespace velmora::machine
