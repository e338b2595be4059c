#include "assembler/link/LinkCommandLine.h"

#include "assembler/link/NameCase.h"

#include <array>

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
    if (option == "m" || option == "M")
        options.mapPublics = true;
    else if (option == "s" || option == "S")
        options.mapSegments = true;
    else if (option == "l")
        options.mapLines = true;
    else if (option == "c")
        options.caseSensitive = true;
    else if (option == "i" || option == "I")
        options.initializeAll = true;
    else if (option == "t" || option == "Tdc" || option == "Tc")
        options.com = true;
    else if (option == "Tde" || option == "Te")
        options.com = false;
    // Accepted without effect: 32-bit processing, debug information, library handling,
    // packing, alignment, swapping, case of exports.
    else if (option == "3" || option == "v" || option == "V" || option == "n" || option == "N" || option == "d" ||
             option == "D" || option == "e" || option == "E" || option == "C" || option == "ye" || option == "yx" ||
             option == "o" || option.starts_with("L") || option.starts_with("P") || option.starts_with("A="))
        return true;
    else
        return false;
    return true;
}

} // namespace

std::string withDefaultExtension(const std::string &name, const std::string &extension)
{
    const std::size_t slash = name.find_last_of("/\\:");
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return name;
    return name + extension;
}

std::string withExtension(const std::string &name, const std::string &extension)
{
    const std::size_t slash = name.find_last_of("/\\:");
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return name.substr(0, dot) + extension;
    return name + extension;
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
