// A fresh empty folder under the system's temporary folder, removed with its contents.
#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace velmora::assembler::testing
{

class TempFolder
{
public:
    TempFolder()
    {
        path_ = std::filesystem::temp_directory_path() /
                ("velmora-asm-test-" + std::to_string(::getpid()) + "-" + std::to_string(next_++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::filesystem::path &path() const { return path_; }

private:
    static inline int next_ = 0;
    std::filesystem::path path_;
};

} // namespace velmora::assembler::testing
