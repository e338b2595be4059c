// The command lines of the build, listing and help commands, composed by plain
// concatenation exactly as the command panels show them (so "/z " followed by the blank
// separator gives two blanks). Captured lines end in a redirection the process runner
// honours; uncaptured ones are started without waiting.
#pragma once

#include "toolchain/BuildSettings.h"

#include <QString>

namespace velmora::toolchain
{

struct CommandLines {
    QString assembleCaptured;   // tasm.exe /z  prog.asm >tasm.out
    QString assembleUncaptured; // tasm.exe /z  /home/me/src/prog.asm
    QString linkCaptured;       // <tools>/tLink.exe  prog >tlink.out
    QString linkUncaptured;     // tLink.exe  prog
    QString runCaptured;        // <tools>/prog.exe >run.out
    QString runUncaptured;      // prog.exe
    QString debug;              // <tools>/TD.exe prog
};

CommandLines commandLines(const BuildSettings &settings);

// ".com" when the linker parameters ask for a .com file ("/t" or "/TDc", letter case
// counting), else ".exe".
QString runExtension(const QString &tlinkParams);

enum class ListingKind { Tiny, Expanded };

// The assembler, always named "tasm.exe" here, with the listing option and no redirection.
QString listingLine(const QString &toolsDir, const QString &fileName, ListingKind kind);

// Each tool without arguments, captured: its usage text.
QString tasmHelpLine(const QString &toolsDir);
QString tlinkHelpLine(const QString &toolsDir);

} // namespace velmora::toolchain
