// The file-system steps of the build commands: entering the tools folder, finding the
// files the tools write (DOS writes upper-case names, so letter case is ignored) and the
// copies between the tools folder and the source's folder.
#pragma once

#include <QString>

namespace velmora::toolchain
{

// Makes toolsDir the current directory; throws ToolchainError with failure (%1 the folder)
// when it cannot be entered.
void enterToolsFolder(const QString &toolsDir, const QString &failure);

// Whether the source lies outside the tools folder, so that it is copied in before an
// assembly and its results are copied back beside it. False for untitled text.
bool sourceOutsideTools(const QString &currentFile, const QString &toolsDir);

// The existing file of dir named name, letter case ignored; empty when there is none.
QString existingFile(const QString &dir, const QString &name);

// Copies source to target, replacing a file already there. A failure (missing source,
// unwritable target, the same file on both sides) leaves the target as it was and is
// only reported through the result.
bool copyReplacing(const QString &source, const QString &target);

} // namespace velmora::toolchain
