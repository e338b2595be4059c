#include "toolchain/CommandLines.h"

#include "toolchain/SourceNames.h"

#include <QRegularExpression>

namespace velmora::toolchain
{

namespace
{
QString inFolder(const QString &dir, const QString &name)
{
    return dir + QLatin1Char('/') + name;
}
} // namespace

bool linksCom(const QString &tlinkParams)
{
    bool com = false;
    for (const QString &word : tlinkParams.split(QRegularExpression(QStringLiteral("[ \t]+")), Qt::SkipEmptyParts)) {
        if (!word.startsWith(QLatin1Char('/')) && !word.startsWith(QLatin1Char('-')))
            continue;
        // Options may be written one after another: "/m/t".
        for (const QString &option : word.split(QRegularExpression(QStringLiteral("[/-]")), Qt::SkipEmptyParts)) {
            if (option == QLatin1String("t") || option.compare(QLatin1String("Tc"), Qt::CaseInsensitive) == 0 ||
                option.compare(QLatin1String("Tdc"), Qt::CaseInsensitive) == 0)
                com = true;
            else if (option.compare(QLatin1String("Tde"), Qt::CaseInsensitive) == 0 ||
                     option.compare(QLatin1String("Te"), Qt::CaseInsensitive) == 0)
                com = false;
        }
    }
    return com;
}

QString runExtension(const QString &tlinkParams)
{
    return linksCom(tlinkParams) ? QStringLiteral(".com") : QStringLiteral(".exe");
}

CommandLines commandLines(const BuildState &state, const BuildSettings &s, const SourceNames &names)
{
    // The full path only where DOS can take the source's own name; an alias is in the tools folder.
    const bool ownName = names.N == sourceNames(state.CurrentFile).N;
    const QString toolsDir = state.toolsFolder();
    const QString tasm = s.TasmFile + QLatin1Char(' ') + state.TasmParams + QLatin1Char(' ');
    const QString tlinkTail = s.TLinkFile + QLatin1Char(' ') + state.TlinkParams + QLatin1Char(' ') + names.B;
    const QString program = names.B + runExtension(state.TlinkParams);

    CommandLines lines;
    lines.assembleCaptured = tasm + names.N + QLatin1String(" >tasm.out");
    lines.assembleUncaptured = tasm + (ownName ? state.CurrentFile : names.N);
    lines.linkCaptured = inFolder(toolsDir, tlinkTail) + QLatin1String(" >tlink.out");
    lines.linkUncaptured = tlinkTail;
    lines.runCaptured = inFolder(toolsDir, program) + QLatin1String(" >run.out");
    lines.runUncaptured = program;
    lines.debug = inFolder(toolsDir, s.TDFile) + QLatin1Char(' ') + names.B;
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
