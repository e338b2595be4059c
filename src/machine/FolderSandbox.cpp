#include "machine/FolderSandbox.h"

#include "machine/DosErrors.h"

#include <dirent.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <memory>

namespace velmora::machine
{

namespace
{

bool validNameCharacter(unsigned char c)
{
    static constexpr std::string_view kForbidden = "\"*+,/:;<=>?[\\]| .";
    return c >= 0x20 && kForbidden.find(char(c)) == std::string_view::npos;
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

FolderSandbox::Lookup refused(uint16_t error)
{
    FolderSandbox::Lookup lookup;
    lookup.error = error;
    return lookup;
}

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};

std::string realPath(const std::string &path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

} // namespace

std::string upperCaseAscii(std::string_view text)
{
    std::string result(text);
    for (char &c : result)
        c = upper(c);
    return result;
}

std::string shortDosName(std::string_view name)
{
    const size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (base.empty())
        return {};
    for (std::string_view part : {base, extension})
        for (char c : part)
            if (!validNameCharacter(static_cast<unsigned char>(c)))
                return {};
    std::string result = upperCaseAscii(base.substr(0, 8));
    if (!extension.empty())
        result += "." + upperCaseAscii(extension.substr(0, 3));
    return result;
}

FolderSandbox::Lookup FolderSandbox::find(std::string_view dosName) const
{
    Lookup lookup;
    if (dosName.size() >= 2 && dosName[1] == ':') {
        if (upper(dosName[0]) != 'C')
            return refused(dos_error::kPathNotFound);
        dosName.remove_prefix(2);
    }
    if (dosName.find_first_of("\\/") != std::string_view::npos)
        return refused(dos_error::kPathNotFound);
    const std::string name = shortDosName(dosName);
    if (name.empty())
        return refused(dos_error::kPathNotFound);

    lookup.hostPath = folder_ + "/" + name;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder_.c_str()));
    if (!dir)
        return refused(dos_error::kPathNotFound);
    while (const dirent *entry = readdir(dir.get())) {
        if (upperCaseAscii(entry->d_name) != name)
            continue;
        lookup.hostPath = folder_ + "/" + entry->d_name;
        lookup.exists = true;
        break;
    }
    if (!lookup.exists)
        return lookup;

    // A link may lead out of the folder: the file itself must lie in it.
    const std::string resolved = realPath(lookup.hostPath);
    const std::string root = realPath(folder_);
    if (resolved.empty() || root.empty() || resolved.compare(0, root.size() + 1, root + "/") != 0 ||
        resolved.find('/', root.size() + 1) != std::string::npos)
        return refused(dos_error::kAccessDenied);
    struct stat info {
    };
    lookup.directory = stat(lookup.hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return lookup;
}

} // namespace velmora::machine
