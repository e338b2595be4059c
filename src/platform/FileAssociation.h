// Registering the program as the opener of ".asm" files, the freedesktop way: a desktop
// entry in the user's applications folder and the default-application choice for the
// assembler source type.
#pragma once

#include "platform/Paths.h"

#include <QString>

namespace velmora::platform
{

// The name of the desktop entry (with ".desktop") and of the icon, as an installation puts
// them, so that the user's entry stands in for the installed one; and the file type it opens.
inline constexpr const char *DesktopId = "example.velmora.Velmora";
inline constexpr const char *AsmMimeType = "text/x-asm";

// The text of the desktop entry that opens a file with programPath: Exec names the
// program, quoted and escaped as desktop entries require, followed by "%f"; Icon names the
// installed icon.
QString asmDesktopEntry(const QString &programPath);

// Writes the desktop entry into userApplicationsFolder() and makes it the default for
// AsmMimeType: through "xdg-mime default" when that program is on the PATH, else by
// writing the choice into userConfigFolder() + "mimeapps.list" directly. Throws
// std::runtime_error with a message naming what failed.
void associateAsmFiles(const QString &programPath);

} // namespace velmora::platform
