// The program state the build commands read and change: the source, the tools' parameters
// and the tools folder. The window's program state is one (app::ProgramState); the build
// commands hold it by reference, so the name a save gives the source and the parameters
// entered in a box are the program's at once, also when the command then fails.
#pragma once

#include <QString>

namespace velmora::toolchain
{

struct BuildState {
    QString CurrentFile;                        // full path of the source in the editor; empty while untitled
    QString TasmParams = QStringLiteral("/z "); // assembler parameters
    QString TlinkParams;                        // linker parameters
    QString ToolsDir;                           // lower case of the tools folder's path, no trailing "/"

    // The tools folder as it exists on disk: ToolsDir looked up without regard to letter case.
    QString toolsFolder() const;
};

} // namespace velmora::toolchain
