// The settings of cf.ini that the build commands read: the tools' file names, where their
// output goes and whether its page is shown. app::Settings holds them as its member `build`,
// the one place they are kept; the build commands read them by reference.
#pragma once

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

    bool capturesTasm() const { return outdest == 0 && outTasm; }
    bool capturesTlink() const { return outdest == 0 && outTlink; }
    bool capturesRun() const { return outdest == 0 && outRun; }

    bool operator==(const BuildSettings &) const = default;
};

} // namespace velmora::toolchain
