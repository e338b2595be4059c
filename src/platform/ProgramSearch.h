// Finding the program a command line names, the way the platform's process creation does:
// the program's own folder, the current directory, then the search path, each folder read
// without regard to letter case.
#pragma once

#include "platform/CommandLine.h"

#include <QString>

#include <optional>

namespace velmora::platform
{

struct ProgramMatch {
    QString path;         // absolute path of the program file
    std::size_t lastWord; // index of the last command word that belongs to its name
};

// The file a single program name refers to, empty when there is none. A name holding a
// folder separator ("/", or "\" as DOS writes it) is a path from the current directory;
// a bare name is searched in the folders above. A name without an extension also matches
// name + ".exe".
QString findProgramFile(const QString &name);

// The program the line starts with. When the first word names nothing, the following
// words are taken in one by one, blanks included as written, as long as the name holds a
// folder separator, so that a program in a folder whose name has blanks is found.
std::optional<ProgramMatch> findProgram(const CommandLine &line);

} // namespace velmora::platform
