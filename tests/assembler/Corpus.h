// What the assembler's corpus tests add to the shared test-data helpers: whole files that
// may be missing, and the assembler's file reader on disk.
#pragma once

#include "assembler/SourceLines.h"
#include "assembler/TasmTestData.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace velmora::assembler::test
{

using testing::tasmDataDir;

inline std::optional<std::string> readFile(const std::string &path)
{
    if (!std::filesystem::is_regular_file(path))
        return std::nullopt;
    return testing::readText(path);
}

inline FileReader diskReader()
{
    return [](const std::string &path) { return readFile(path); };
}

} // namespace velmora::assembler::test
