// What the build commands read of the window's state and settings. The window fills one
// before each command and takes back what a command changed: `CurrentFile` after saving,
// `TasmParams` and `TlinkParams` after the parameter boxes.
#pragma once

#include "toolchain/ToolChain.h"

#include <QString>

namespace velmora::toolchain
{

struct BuildSettings {
    QString ToolsDir;    // the tools folder, no trailing separator
    QString CurrentFile; // full path of the source; empty while untitled
    QString TasmParams = QStringLiteral("/z ");
    QString TlinkParams;
    QString TasmFile = QStringLiteral("tasm.exe");
    QString TLinkFile = QStringLiteral("tLink.exe");
    QString TDFile = QStringLiteral("TD.exe");
    int outdest = 0; // 0: capture the tools' output; any other value: every tool in its own window
    bool outTasm = true;
    bool outTlink = true;
    bool outRun = true;
    bool Auto_Change_Page = true;
    Chain toolChain = Chain::DosTools;

    bool builtInTools() const { return toolChain == Chain::BuiltIn; }
    // The built-in tools have no window of their own: their output is always captured.
    bool capturesTasm() const { return builtInTools() || (outdest == 0 && outTasm); }
    bool capturesTlink() const { return builtInTools() || (outdest == 0 && outTlink); }
    bool capturesRun() const { return outdest == 0 && outRun; }
};

} // namespace velmora::toolchain
