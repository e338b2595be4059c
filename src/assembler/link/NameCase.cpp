#include "assembler/link/NameCase.h"

#include <system_error>

namespace velmora::assembler::link
{

std::string upperCase(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path &folder, const std::string &name)
{
    const std::filesystem::path given(name);
    const std::filesystem::path exact = given.is_absolute() ? given : folder / given;
    std::error_code error;
    if (std::filesystem::is_regular_file(exact, error))
        return exact;
    const std::filesystem::path dir = exact.parent_path();
    const std::string wanted = upperCase(exact.filename().string());
    for (const auto &entry : std::filesystem::directory_iterator(dir, error))
        if (upperCase(entry.path().filename().string()) == wanted && entry.is_regular_file(error))
            return entry.path();
    return std::nullopt;
}

} // namespace velmora::assembler::link
