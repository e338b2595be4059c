// Which tools the build commands run: the DOS programs in the tools folder (through DOSBox)
// or the built-in assembler and linker, in-process.
#pragma once

#include <QString>

namespace velmora::toolchain
{

// The values are the choice's index in the preferences and its value in cf.ini.
enum class Chain { DosTools = 0, BuiltIn = 1 };

// The choice for a settings file that names none: the DOS tools when the configured assembler
// is in the tools folder, else the built-in tools.
Chain defaultChain(const QString &toolsDir, const QString &tasmFile);

// The choice that cf.ini's value names; the default rule for a value that names none.
Chain chainFromValue(int value, const QString &toolsDir, const QString &tasmFile);

} // namespace velmora::toolchain
