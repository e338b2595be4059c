// The names the DOS tools see for a source. DOS takes only 8.3 names of plain characters,
// so a source called "my_first_program.asm", one with blanks or one in Cyrillic is copied
// into the tools folder under a short alias, and the tools' products are copied back beside
// it under its own name. A copy never replaces a file that is not an earlier copy of the
// same source: the tools folder keeps a record of the copies it holds, and a name taken by
// anything else (a shipped file, a file the student put there) makes the alias move on.
#pragma once

#include "toolchain/SourceNames.h"

#include <QString>

namespace velmora::toolchain
{

// Whether DOS takes name as it stands: a base of 1 to 8 and an extension of 0 to 3 plain
// characters (ASCII letters, digits and the few signs DOS allows).
bool isDosName(const QString &name);

struct ToolsCopy {
    SourceNames tools;   // N and B as the tools are given them; S is the tools folder
    bool copied = false; // the tools work on a copy, and products go back beside the source
};

// Chooses the tools' names for the source currentFile and, when the tools need a copy,
// writes it (recording it as this source's). The source's own name is kept where DOS
// takes it and it is free or already this source's copy; otherwise the alias is the first
// three plain characters of the base and five hex digits of a hash of the source's path,
// tried again with the next hash value while that name is taken. Untitled text: the empty
// names, no copy. A failed copy is not reported here: the assembler then finds no file.
ToolsCopy prepareToolsCopy(const QString &currentFile, const QString &toolsDir);

// The names the tools were given for currentFile by the last prepareToolsCopy, found again
// without copying (the listing and later steps work on that copy): the source's own names
// when no copy of it is recorded and it needs none.
ToolsCopy recordedToolsCopy(const QString &currentFile, const QString &toolsDir);

// Output text with every mention of the alias (its base alone or with an extension, any
// letter case, as a whole word) replaced by the source's own base name, so that messages
// name the file the student knows.
QString withSourceNames(const QString &text, const ToolsCopy &copy, const SourceNames &source);

} // namespace velmora::toolchain
