// The linker's command line as the IDE passes it:
//   [options] objfiles[,exefile[,mapfile[,libfiles[,deffile]]]]
// Options start with '/' or '-' and may stand anywhere; object names are separated by
// blanks or '+'. Missing names take their defaults from the first object (exe) and from
// the program's name (map); a map named "nul" means no map.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora::assembler::link
{

struct LinkOptions {
    std::vector<std::string> objects; // with ".obj" added where no extension was given
    std::string program;              // the .exe or .com to write
    std::optional<std::string> map;   // none for /x or "nul"
    std::vector<std::string> libraries;
    bool com = false;           // /t, /Tdc
    bool mapPublics = false;    // /m
    bool mapSegments = false;   // /s
    bool mapLines = false;      // /l
    bool mapDebugInfo = false;  // /v: the line numbers and the /zi modules' symbols
    bool caseSensitive = false; // /c
    bool initializeAll = false; // /i
};

struct ParsedCommandLine {
    enum class Kind { Link, Usage, UnknownOption } kind = Kind::Link;
    LinkOptions options;
};

ParsedCommandLine parseLinkCommandLine(const std::vector<std::string> &arguments);

// The file name with `extension` (".obj") appended when it has none.
std::string withDefaultExtension(const std::string &name, const std::string &extension);

// The file name with its extension replaced by `extension`.
std::string withExtension(const std::string &name, const std::string &extension);

} // namespace velmora::assembler::link
