#include "assembler/link/LinkCommandLine.h"

#include "assembler/link/NameCase.h"

#include <array>
#include <map>
#include <set>

namespace velmora::assembler::link
{

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Applies one option (without its leading '/' or '-'); false when it is not one we know.
bool applyOption(const std::string &option, LinkOptions &options)
{
    static const std::map<std::string, bool LinkOptions::*> switches = {
        {"m", &LinkOptions::mapPublics},    {"M", &LinkOptions::mapPublics},    {"s", &LinkOptions::mapSegments},
        {"S", &LinkOptions::mapSegments},   {"l", &LinkOptions::mapLines},      {"c", &LinkOptions::caseSensitive},
        {"i", &LinkOptions::initializeAll}, {"I", &LinkOptions::initializeAll}, {"t", &LinkOptions::com},
        {"Tdc", &LinkOptions::com},         {"Tc", &LinkOptions::com},          {"v", &LinkOptions::mapDebugInfo},
        {"V", &LinkOptions::mapDebugInfo},
    };
    // Accepted without effect: 32-bit processing, library handling, overlays, packing,
    // alignment, swapping, case of exports.
    static const std::set<std::string> harmless = {"3", "n", "N", "d", "D", "e", "E", "C", "ye", "yx", "o"};
    if (auto it = switches.find(option); it != switches.end()) {
        options.*(it->second) = true;
        return true;
    }
    if (option == "Tde" || option == "Te") {
        options.com = false;
        return true;
    }
    return harmless.count(option) || option.starts_with("L") || option.starts_with("P") || option.starts_with("A=");
}

// Where a file name's extension (its last dot) starts, or npos when it has none.
std::size_t extensionStart(const std::string &name)
{
    const std::size_t slash = name.find_last_of("/\\:");
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash) ? dot : std::string::npos;
}

} // namespace

std::string withDefaultExtension(const std::string &name, const std::string &extension)
{
    return extensionStart(name) == std::string::npos ? name + extension : name;
}

std::string withExtension(const std::string &name, const std::string &extension)
{
    return name.substr(0, extensionStart(name)) + extension;
}

ParsedCommandLine parseLinkCommandLine(const std::vector<std::string> &arguments)
{
    std::string line;
    for (const std::string &argument : arguments)
        line += argument + ' ';

    ParsedCommandLine parsed;
    LinkOptions &options = parsed.options;
    // The names of each comma-separated field: objects, program, map, libraries, definitions.
    std::array<std::vector<std::string>, 5> fields;
    bool mapDisabled = false;
    std::size_t field = 0;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const char c = line[pos];
        if (isBlank(c) || c == '+') {
            ++pos;
        } else if (c == ',') {
            field = std::min<std::size_t>(field + 1, fields.size() - 1);
            ++pos;
        } else if (c == '/' || c == '-') {
            std::size_t end = pos + 1;
            while (end < line.size() && !isBlank(line[end]) && line[end] != ',' && line[end] != '+' && line[end] != '/')
                ++end;
            const std::string option = line.substr(pos + 1, end - pos - 1);
            if (option == "x" || option == "X") {
                mapDisabled = true;
            } else if (!applyOption(option, options)) {
                parsed.kind = ParsedCommandLine::Kind::UnknownOption;
                return parsed;
            }
            pos = end;
        } else {
            std::size_t end = pos;
            while (end < line.size() && !isBlank(line[end]) && line[end] != ',' && line[end] != '+')
                ++end;
            fields[field].push_back(line.substr(pos, end - pos));
            pos = end;
        }
    }

    if (fields[0].empty()) {
        parsed.kind = ParsedCommandLine::Kind::Usage;
        return parsed;
    }
    for (const std::string &name : fields[0])
        options.objects.push_back(withDefaultExtension(name, ".obj"));
    const std::string programExtension = options.com ? ".com" : ".exe";
    options.program = fields[1].empty() ? withExtension(fields[0].front(), programExtension)
                                        : withDefaultExtension(fields[1].front(), programExtension);
    if (!mapDisabled) {
        if (fields[2].empty())
            options.map = withExtension(options.program, ".map");
        else if (upperCase(fields[2].front()) != "NUL")
            options.map = withDefaultExtension(fields[2].front(), ".map");
    }
    for (const std::string &name : fields[3])
        options.libraries.push_back(withDefaultExtension(name, ".lib"));
    return parsed;
}

} // namespace velmora::assembler::link
