#include "machine/FileTable.h"

#include <unistd.h>

#include <algorithm>

namespace velmora::machine
{

FileTable::~FileTable()
{
    for (uint16_t handle = 0; handle < kHandles; ++handle)
        close(handle);
}

void FileTable::reset()
{
    for (uint16_t handle = 0; handle < kHandles; ++handle)
        close(handle);
    for (int handle = 0; handle < 3; ++handle)
        handles_[handle] = {Kind::Console, -1, true, true};
    for (int handle = 3; handle < 5; ++handle)
        handles_[handle] = {Kind::NullDevice, -1, true, true};
}

int FileTable::add(int fd, bool readable, bool writable)
{
    for (int handle = 0; handle < kHandles; ++handle)
        if (handles_[handle].kind == Kind::Closed) {
            handles_[handle] = {Kind::File, fd, readable, writable};
            return handle;
        }
    return -1;
}

FileTable::Handle *FileTable::find(uint16_t handle)
{
    if (handle >= kHandles || handles_[handle].kind == Kind::Closed)
        return nullptr;
    return &handles_[handle];
}

bool FileTable::anyFileOpen() const
{
    return std::any_of(handles_.begin(), handles_.end(), [](const Handle &h) { return h.kind == Kind::File; });
}

bool FileTable::close(uint16_t handle)
{
    Handle *open = find(handle);
    if (!open)
        return false;
    if (open->kind == Kind::File)
        ::close(open->fd);
    *open = Handle{};
    return true;
}

} // namespace velmora::machine
