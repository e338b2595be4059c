#include "assembler/FileLookup.h"

#include <algorithm>
#include <system_error>

namespace velmora::assembler
{

namespace
{

bool sameIgnoringCase(const std::string &a, const std::string &b)
{
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return fold(x) == fold(y); });
}

} // namespace

std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path &folder, const std::string &name)
{
    const std::filesystem::path given(name);
    const std::filesystem::path exact = given.is_absolute() ? given : folder / given;
    std::error_code error;
    if (std::filesystem::is_regular_file(exact, error))
        return exact;
    const std::string wanted = exact.filename().string();
    for (const auto &entry : std::filesystem::directory_iterator(exact.parent_path(), error))
        if (sameIgnoringCase(entry.path().filename().string(), wanted) && entry.is_regular_file(error))
            return entry.path();
    return std::nullopt;
}

} // namespace velmora::assembler
