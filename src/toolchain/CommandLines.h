// The command lines of the build, listing and help commands, composed by plain
// concatenation exactly as the command panels show them (so "/z " followed by the blank
// separator gives two blanks). Captured lines end in a redirection the process runner
// honours; uncaptured ones are started without waiting.
#pragma once

#include "toolchain/BuildSettings.h"
#include "toolchain/BuildState.h"
#include "toolchain/SourceNames.h"

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

// The lines for the source `CurrentFile`, whose names as the tools are given them (its own,
// or its alias in the tools folder) are names; the tools folder is named as it is on disk.
CommandLines commandLines(const BuildState &state, const BuildSettings &settings, const SourceNames &names);

// ".com" when the linker parameters ask for a .com file, else ".exe". The linker's options
// start with "/" or "-" and may follow one another in a word; "t" (this letter case only,
// as "/T" names no output type) and "Tc" or "Tdc" (any letter case) ask for a .com file,
// "Te" or "Tde" for an .exe, and the last such option counts.
QString runExtension(const QString &tlinkParams);

enum class ListingKind { Tiny, Expanded };

// The assembler, always named "tasm.exe" here, with the listing option and no redirection.
QString listingLine(const QString &toolsDir, const QString &fileName, ListingKind kind);

// Each tool without arguments, captured: its usage text.
QString tasmHelpLine(const QString &toolsDir);
QString tlinkHelpLine(const QString &toolsDir);

} // namespace velmora::toolchain
