#include "toolchain/CommandLines.h"

#include "toolchain/SourceNames.h"

namespace velmora::toolchain
{

namespace
{
QString inFolder(const QString &dir, const QString &name)
{
    return dir + QLatin1Char('/') + name;
}
} // namespace

QString runExtension(const QString &tlinkParams)
{
    const bool com = tlinkParams.contains(QLatin1String("/t")) || tlinkParams.contains(QLatin1String("/TDc"));
    return com ? QStringLiteral(".com") : QStringLiteral(".exe");
}

CommandLines commandLines(const BuildSettings &s)
{
    const SourceNames names = sourceNames(s.CurrentFile);
    const QString tasm = s.TasmFile + QLatin1Char(' ') + s.TasmParams + QLatin1Char(' ');
    const QString tlinkTail = s.TLinkFile + QLatin1Char(' ') + s.TlinkParams + QLatin1Char(' ') + names.B;
    const QString program = names.B + runExtension(s.TlinkParams);

    CommandLines lines;
    lines.assembleCaptured = tasm + names.N + QLatin1String(" >tasm.out");
    lines.assembleUncaptured = tasm + s.CurrentFile;
    lines.linkCaptured = inFolder(s.ToolsDir, tlinkTail) + QLatin1String(" >tlink.out");
    lines.linkUncaptured = tlinkTail;
    lines.runCaptured = inFolder(s.ToolsDir, program) + QLatin1String(" >run.out");
    lines.runUncaptured = program;
    lines.debug = inFolder(s.ToolsDir, s.TDFile) + QLatin1Char(' ') + names.B;
    return lines;
}

QString listingLine(const QString &toolsDir, const QString &fileName, ListingKind kind)
{
    const QLatin1String option = kind == ListingKind::Tiny ? QLatin1String(" /l") : QLatin1String(" /la");
    return inFolder(toolsDir, QStringLiteral("tasm.exe ")) + fileName + option;
}

QString tasmHelpLine(const QString &toolsDir)
{
    return inFolder(toolsDir, QStringLiteral("tasm.exe  >tasm.out"));
}

QString tlinkHelpLine(const QString &toolsDir)
{
    return inFolder(toolsDir, QStringLiteral("tlink.exe  >tlink.out"));
}

} // namespace velmora::toolchain
