// INT 21h handle functions on the files of the PC's one folder and on the standard
// handles, through POSIX calls.
#include "machine/PcServices.h"

#include "machine/DosErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace velmora::machine
{

namespace
{

// The longest name DOS takes (a full path of 64 characters and more is refused anyway).
constexpr uint16_t kMaxFileName = 128;
constexpr uint16_t kReadOnlyAttribute = 0x01;
constexpr uint16_t kVolumeOrDirectory = 0x18;

uint16_t dosError(int error)
{
    switch (error) {
    case ENOENT:
        return dos_error::kFileNotFound;
    case EMFILE:
    case ENFILE:
        return dos_error::kTooManyOpenFiles;
    default:
        return dos_error::kAccessDenied;
    }
}

bool writable(const std::string &path)
{
    return access(path.c_str(), W_OK) == 0;
}

} // namespace

std::string PcServices::fileName(const Registers &regs) const
{
    std::string name;
    for (uint16_t i = 0; i < kMaxFileName; ++i) {
        const uint8_t character = memory_.read8(Memory::linear(regs.ds, uint16_t(regs.dx + i)));
        if (character == 0)
            break;
        name += char(character);
    }
    return name;
}

void PcServices::createFile(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    ++fileOperations_;
    const FolderSandbox::Lookup file = sandbox_.find(fileName(regs));
    if (file.error)
        return fail(regs, file.error);
    if ((regs.cx & kVolumeOrDirectory) || file.directory || (file.exists && !writable(file.hostPath)))
        return fail(regs, dos_error::kAccessDenied);
    // A read-only file is created so, yet the handle given back may write it, as in DOS.
    const mode_t mode = (regs.cx & kReadOnlyAttribute) ? 0444 : 0644;
    giveHandle(regs, ::open(file.hostPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, mode), true, true);
}

void PcServices::giveHandle(Registers &regs, int fd, bool readable, bool writable)
{
    if (fd < 0)
        return fail(regs, dosError(errno));
    const int handle = files_.add(fd, readable, writable);
    if (handle < 0) {
        ::close(fd);
        return fail(regs, dos_error::kTooManyOpenFiles);
    }
    regs.ax = uint16_t(handle);
    succeed(regs);
}

void PcServices::openFile(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    const uint8_t access = regs.al() & 0x07;
    if (access > 2)
        return fail(regs, dos_error::kInvalidAccessCode);
    ++fileOperations_;
    const FolderSandbox::Lookup file = sandbox_.find(fileName(regs));
    if (file.error)
        return fail(regs, file.error);
    if (!file.exists)
        return fail(regs, dos_error::kFileNotFound);
    if (file.directory)
        return fail(regs, dos_error::kAccessDenied);
    static constexpr int kFlags[3] = {O_RDONLY, O_WRONLY, O_RDWR};
    giveHandle(regs, ::open(file.hostPath.c_str(), kFlags[access] | O_CLOEXEC), access != 1, access != 0);
}

void PcServices::closeFile(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    if (const FileTable::Handle *handle = files_.find(regs.bx); handle && handle->kind == FileTable::Kind::File)
        ++fileOperations_;
    if (!files_.close(regs.bx))
        return fail(regs, dos_error::kInvalidHandle);
    succeed(regs);
}

void PcServices::readFile(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    const FileTable::Handle *handle = files_.find(regs.bx);
    if (!handle)
        return fail(regs, dos_error::kInvalidHandle);
    if (!handle->readable)
        return fail(regs, dos_error::kAccessDenied);
    switch (handle->kind) {
    case FileTable::Kind::Console:
        return readConsole(cpu);
    case FileTable::Kind::NullDevice:
        regs.ax = 0;
        return succeed(regs);
    default:
        break;
    }
    ++fileOperations_;
    std::vector<uint8_t> bytes(regs.cx);
    const ssize_t count = ::read(handle->fd, bytes.data(), bytes.size());
    if (count < 0)
        return fail(regs, dos_error::kAccessDenied);
    for (ssize_t i = 0; i < count; ++i)
        memory_.write8(Memory::linear(regs.ds, uint16_t(regs.dx + i)), bytes[size_t(i)]);
    regs.ax = uint16_t(count);
    succeed(regs);
}

void PcServices::writeFile(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    const FileTable::Handle *handle = files_.find(regs.bx);
    if (!handle)
        return fail(regs, dos_error::kInvalidHandle);
    if (!handle->writable)
        return fail(regs, dos_error::kAccessDenied);
    std::vector<uint8_t> bytes(regs.cx);
    for (uint16_t i = 0; i < regs.cx; ++i)
        bytes[i] = memory_.read8(Memory::linear(regs.ds, uint16_t(regs.dx + i)));
    regs.ax = regs.cx;
    switch (handle->kind) {
    case FileTable::Kind::Console:
        // Only standard output goes where a redirection would send it.
        for (uint8_t byte : bytes) {
            if (regs.bx == 1)
                writeStandardOutput(byte);
            else
                showOnScreen(byte);
        }
        return succeed(regs);
    case FileTable::Kind::NullDevice:
        return succeed(regs);
    default:
        break;
    }
    ++fileOperations_;
    // Writing no bytes cuts the file at the current position, or extends it to there.
    if (bytes.empty()) {
        const off_t position = ::lseek(handle->fd, 0, SEEK_CUR);
        if (position < 0 || ::ftruncate(handle->fd, position) != 0)
            return fail(regs, dos_error::kAccessDenied);
        return succeed(regs);
    }
    const ssize_t count = ::write(handle->fd, bytes.data(), bytes.size());
    if (count < 0)
        return fail(regs, dos_error::kAccessDenied);
    regs.ax = uint16_t(count);
    succeed(regs);
}

void PcServices::deleteFile(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    ++fileOperations_;
    const FolderSandbox::Lookup file = sandbox_.find(fileName(regs));
    if (file.error)
        return fail(regs, file.error);
    if (!file.exists)
        return fail(regs, dos_error::kFileNotFound);
    if (file.directory || !writable(file.hostPath))
        return fail(regs, dos_error::kAccessDenied);
    if (::unlink(file.hostPath.c_str()) != 0)
        return fail(regs, dosError(errno));
    succeed(regs);
}

void PcServices::seekFile(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    static constexpr int kOrigins[3] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (regs.al() > 2)
        return fail(regs, dos_error::kInvalidFunction);
    const FileTable::Handle *handle = files_.find(regs.bx);
    if (!handle)
        return fail(regs, dos_error::kInvalidHandle);
    if (handle->kind != FileTable::Kind::File) {
        regs.ax = regs.dx = 0; // a device has no position
        return succeed(regs);
    }
    ++fileOperations_;
    // CX:DX is signed from the current position and the end, unsigned from the start.
    const uint32_t distance = uint32_t(regs.cx) << 16 | regs.dx;
    const off_t offset = regs.al() == 0 ? off_t(distance) : off_t(int32_t(distance));
    const off_t position = ::lseek(handle->fd, offset, kOrigins[regs.al()]);
    if (position < 0)
        return fail(regs, dos_error::kInvalidFunction);
    regs.ax = uint16_t(position);
    regs.dx = uint16_t(position >> 16);
    succeed(regs);
}

void PcServices::currentDirectory(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    // Drive 0 is the current one, 3 is C:; the folder is C:'s root, an empty path.
    if (regs.dl() != 0 && regs.dl() != 3)
        return fail(regs, dos_error::kInvalidDrive);
    memory_.write8(Memory::linear(regs.ds, regs.si), 0);
    regs.ax = 0x0100;
    succeed(regs);
}

} // namespace velmora::machine
