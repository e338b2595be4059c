// The names the build commands derive from `CurrentFile` at the moment of each command.
#pragma once

#include <QString>

namespace velmora::toolchain
{

struct SourceNames {
    QString N; // file name part: prog.asm
    QString B; // N without its last four characters, the extension taken as dot and three: prog
    QString S; // folder part with its trailing separator: /home/me/src/
};

// Empty names for an empty (untitled) path.
SourceNames sourceNames(const QString &currentFile);

} // namespace velmora::toolchain
