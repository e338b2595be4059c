#include "editor/core/KeywordFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace velmora::core
{

namespace
{

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void fileError(const char *what, const std::filesystem::path &path, int error)
{
    throw KeywordFileError(std::string(what) + " \"" + path.string() + "\". " + std::strerror(error));
}

// Size of the buffer a file is written through.
constexpr std::size_t kWriteBufferSize = 1024;

} // namespace

std::string readKeywordFileBytes(const std::filesystem::path &path)
{
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file)
        fileError("Cannot open file", path, errno);
    std::string bytes;
    char chunk[16384];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.append(chunk, got);
    if (std::ferror(file.get()))
        fileError("Cannot read file", path, errno);
    return bytes;
}

void writeKeywordFileBytes(const std::filesystem::path &path, std::string_view bytes)
{
    FileHandle file(std::fopen(path.c_str(), "wb"));
    if (!file)
        fileError("Cannot create file", path, errno);
    char buffer[kWriteBufferSize];
    std::setvbuf(file.get(), buffer, _IOFBF, sizeof buffer);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const int writeErrno = errno;
    // The buffer lives in this frame: close the file before it goes.
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed)
        fileError("Cannot write file", path, written ? errno : writeErrno);
}

} // namespace velmora::core
