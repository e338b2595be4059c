// The one folder a program on the built-in PC sees as the root of drive C:. A name the
// program gives DOS is a bare file name, "C:" in front allowed; anything with a folder part
// (an absolute path, "..", a subfolder), another drive, or a file that resolves outside the
// folder (a symbolic link) is refused. DOS names are upper case and Linux's are not, so a
// name matches a file of the folder without regard to letter case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::machine
{

// ASCII letters in upper case, other bytes as they are: how DOS upper-cases names.
std::string upperCaseAscii(std::string_view text);

// The name as DOS stores it: upper case, the name part cut to 8 characters and the
// extension to 3; empty when the name is not a valid DOS file name.
std::string shortDosName(std::string_view name);

class FolderSandbox
{
public:
    struct Lookup {
        uint16_t error = 0;   // a DOS error code, 0 when the name is acceptable
        std::string hostPath; // the file's path, or where a new file of this name goes
        bool exists = false;
        bool directory = false;
    };

    void setFolder(std::string folder) { folder_ = std::move(folder); }
    const std::string &folder() const { return folder_; }

    Lookup find(std::string_view dosName) const;

private:
    std::string folder_;
};

} // namespace velmora::machine
