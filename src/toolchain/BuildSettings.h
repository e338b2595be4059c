// The settings of cf.ini that the build commands read: the tools' file names, where their
// output goes and whether its page is shown. app::Settings holds them as its member `build`,
// the one place they are kept; the build commands read them by reference.
#pragma once

#include "toolchain/ToolChain.h"

#include <QString>

namespace velmora::toolchain
{

struct BuildSettings {
    QString TasmFile = QStringLiteral("tasm.exe");
    QString TLinkFile = QStringLiteral("tLink.exe");
    QString TDFile = QStringLiteral("TD.exe");
    int outdest = 0; // 0: capture the tools' output into the pages; any other value: every tool in its own window
    bool outTasm = true;
    bool outTlink = true;
    bool outRun = true;
    bool Auto_Change_Page = true; // a tool's output page is shown after it runs
    // Which tools F7, F8 and F9 run. A settings file without the key reads through defaultChain,
    // which gives this default where no DOS assembler is in the tools folder.
    Chain toolChain = Chain::BuiltIn;

    bool builtInTools() const { return toolChain == Chain::BuiltIn; }
    // The built-in tools have no window of their own: their output is always captured.
    bool capturesTasm() const { return builtInTools() || (outdest == 0 && outTasm); }
    bool capturesTlink() const { return builtInTools() || (outdest == 0 && outTlink); }
    bool capturesRun() const { return outdest == 0 && outRun; }

    bool operator==(const BuildSettings &) const = default;
};

} // namespace velmora::toolchain
