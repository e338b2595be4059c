// The built-in assembler and linker in place of the DOS programs. They take the command
// line the build commands compose for the DOS tool, run in-process in the tools folder and
// leave what the DOS tool would leave there: the products, and the console text in the file
// the line redirects to. So everything after the run (the output page, the summary, the
// bookmarks, the product checks) is the same for either chain.
#pragma once

#include "platform/ProcessRunner.h"

#include <QString>

namespace velmora::toolchain
{

enum class BuiltInTool { Assembler, Linker };

// Runs tool with the words of commandLine after its first (the DOS program's name) as its
// arguments, in folder. A trailing " >file" gets the console text in folder; without one the
// text is dropped, as a DOS tool's window closes with it. Ended whatever the tool's exit
// code, as for a DOS tool; Failed with the system's error when the console file cannot be
// written.
platform::RunResult runBuiltInTool(BuiltInTool tool, const QString &commandLine, const QString &folder);

} // namespace velmora::toolchain
