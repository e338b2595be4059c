// The plain list and the INI attribute file.
#include "editor/core/keyfiles/KeywordFiles.h"

#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"

// Names and values are bytes in the editor's code page: no character conversion. The
// packaged header keeps its template definitions behind SI_IMPLEMENTATION.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace velmora::core
{

namespace
{

[[noreturn]] void iniError(const char *what, const std::filesystem::path &path)
{
    throw KeywordFileError(std::string(what) + " \"" + path.string() + "\". " + std::strerror(errno));
}

// CSimpleIniA compares section and key names without regard to letter case, as profile
// files do and as the lists' name=value form compares names (CSimpleIniCaseA would not).

// The INI file at path with `section` replaced by the name=value lines, the other sections
// kept; a missing file reads as empty.
std::string withSection(const std::filesystem::path &path, const char *section, const std::vector<std::string> &lines)
{
    CSimpleIniA ini;
    ini.SetSpaces(false); // name=value, as the list's text form writes it
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && ini.LoadFile(path.c_str()) < 0)
        iniError("Cannot open file", path);
    ini.Delete(section, nullptr);
    for (const auto &line : lines) {
        const auto eq = line.find('=');
        ini.SetValue(section, line.substr(0, eq).c_str(), line.substr(eq + 1).c_str());
    }
    std::string bytes;
    if (ini.Save(bytes, false) < 0)
        throw std::bad_alloc();
    return bytes;
}

// The section's lines as name=value, in file order.
std::vector<std::string> readSection(const std::filesystem::path &path, const char *section)
{
    CSimpleIniA ini;
    if (ini.LoadFile(path.c_str()) < 0)
        iniError("Cannot open file", path);
    CSimpleIniA::TNamesDepend keys;
    ini.GetAllKeys(section, keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> lines;
    for (const auto &key : keys)
        lines.push_back(std::string(key.pItem) + "=" + ini.GetValue(section, key.pItem, ""));
    return lines;
}

} // namespace

std::vector<KeyEntry> parsePlainKeyList(std::string_view text, KeyListKind kind)
{
    std::vector<KeyEntry> entries;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end != std::string_view::npos && text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        text.remove_prefix(next);
        if (line.empty())
            continue;
        if (kind == KeyListKind::Keywords) {
            entries.push_back(freshKeyEntry(std::string(line)));
        } else {
            const auto bar = line.find('|');
            const std::string_view stop = bar == std::string_view::npos ? std::string_view() : line.substr(bar + 1);
            entries.push_back(freshKeyEntry(std::string(line.substr(0, bar)), std::string(stop)));
        }
    }
    return entries;
}

std::string formatPlainKeyList(const std::vector<KeyEntry> &entries, KeyListKind kind)
{
    std::string text;
    for (const auto &entry : entries) {
        if (entry.Text.empty())
            continue;
        text += entry.Text;
        if (kind == KeyListKind::StartStopKeys)
            text.append("|").append(entry.StopText);
        text += "\r\n";
    }
    return text;
}

std::vector<KeyEntry> loadPlainKeyList(const std::filesystem::path &path, KeyListKind kind)
{
    return parsePlainKeyList(readKeywordFileBytes(path), kind);
}

std::string attributeFileBytes(const std::filesystem::path &path, const TKeywordList &list)
{
    std::vector<std::string> lines;
    list.SaveToNameValues(lines);
    return withSection(path, kKeywordSection, lines);
}

std::string attributeFileBytes(const std::filesystem::path &path, const TStartStopKeyList &list)
{
    std::vector<std::string> lines;
    list.SaveToNameValues(lines);
    return withSection(path, kStartStopSection, lines);
}

void loadAttributeFile(const std::filesystem::path &path, TKeywordList &list)
{
    list.LoadFromNameValues(readSection(path, kKeywordSection));
}

void loadAttributeFile(const std::filesystem::path &path, TStartStopKeyList &list)
{
    list.LoadFromNameValues(readSection(path, kStartStopSection));
}

} // namespace velmora::core
