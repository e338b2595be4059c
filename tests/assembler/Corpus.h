// Access to the captured TASM corpus beside the repository (../shared/testdata/tasm): its
// folder, whole files, and a file reader for the assembler rooted anywhere.
#pragma once

#include "assembler/SourceLines.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace velmora::assembler::test
{

inline std::filesystem::path corpusFolder()
{
    return std::filesystem::path(VELMORA_SOURCE_DIR) / ".." / "shared" / "testdata" / "tasm";
}

inline std::optional<std::string> readFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline FileReader diskReader()
{
    return [](const std::string &path) { return readFile(path); };
}

} // namespace velmora::assembler::test
