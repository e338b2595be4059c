#include "editor/core/keyfiles/KeywordFiles.h"

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

} // namespace velmora::core
