// Where the captured TASM/TLINK outputs live, and small file helpers for tests that read
// them. Tests skip with this message when the folder is absent.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace velmora::assembler::testing
{

inline std::filesystem::path tasmDataDir()
{
    return std::filesystem::path(VELMORA_SOURCE_DIR) / ".." / "shared" / "testdata" / "tasm";
}

inline const char *missingDataMessage()
{
    return "the TASM reference data (../shared/testdata/tasm) is not present";
}

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string readText(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file with the given extension below a folder, sorted.
inline std::vector<std::filesystem::path> filesWithExtension(const std::filesystem::path &dir, const std::string &ext)
{
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.is_regular_file() && entry.path().extension() == ext)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace velmora::assembler::testing
