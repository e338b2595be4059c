#include "editor/core/text/Strings.h"

#include "editor/core/text/EditorErrors.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace velmora::core
{

namespace
{

[[noreturn]] void fileError(const char *what, const std::filesystem::path &path, int error)
{
    throw EditorError(std::string(what) + " \"" + path.string() + "\". " + std::strerror(error));
}

} // namespace

void TStrings::LoadFromFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        fileError("Cannot open file", path, errno);
    LoadFromStream(in);
    if (in.bad())
        fileError("Cannot read file", path, errno);
}

void TStrings::SaveToFile(const std::filesystem::path &path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        fileError("Cannot create file", path, errno);
    SaveToStream(out);
    out.close();
    if (!out)
        fileError("Cannot write file", path, errno);
}

void TStrings::BeginUpdate()
{
    if (updateCount_++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        SetUpdateState(false);
}

} // namespace velmora::core
