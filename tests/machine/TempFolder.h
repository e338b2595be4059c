// A fresh folder under the system's temporary folder for one test, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace velmora::testing
{

class TempFolder
{
public:
    explicit TempFolder(const std::string &suffix = {})
        : path_(std::filesystem::temp_directory_path() /
                ("velmora-machine-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + suffix))
    {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }

    const std::filesystem::path &path() const { return path_; }
    std::string file(const std::string &name) const { return (path_ / name).string(); }

    void write(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    void write(const std::string &name, const std::vector<uint8_t> &bytes) const
    {
        write(name, std::string(bytes.begin(), bytes.end()));
    }
    std::string read(const std::string &name) const
    {
        std::ifstream in(path_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(const std::string &name) const { return std::filesystem::exists(path_ / name); }

private:
    std::filesystem::path path_;
};

} // namespace velmora::testing
