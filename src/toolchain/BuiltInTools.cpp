#include "toolchain/BuiltInTools.h"

#include "assembler/AssemblerCommand.h"
#include "assembler/link/Linker.h"
#include "platform/CommandLine.h"

#include <QFile>

#include <cerrno>
#include <string>
#include <vector>

namespace velmora::toolchain
{

platform::RunResult runBuiltInTool(BuiltInTool tool, const QString &commandLine, const QString &folder)
{
    // The program is named bare or in the tools folder, whose path may hold blanks.
    const QString inFolder = folder + QLatin1Char('/');
    const platform::CommandLine line =
        platform::parseCommandLine(commandLine.startsWith(inFolder) ? commandLine.mid(inFolder.size()) : commandLine);
    std::vector<std::string> arguments;
    for (const QString &word : line.wordsAfter(0))
        arguments.push_back(QFile::encodeName(word).toStdString());
    const std::string where = QFile::encodeName(folder).toStdString();
    const assembler::ToolRun run = tool == BuiltInTool::Assembler ? assembler::runAssembler(arguments, where)
                                                                  : assembler::link::link(arguments, where);
    if (line.outputFile.isEmpty())
        return {};
    QFile output(folder + QLatin1Char('/') + line.outputFile);
    errno = 0;
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        output.write(run.console.data(), qint64(run.console.size())) != qint64(run.console.size()) || !output.flush())
        return {platform::RunStatus::Failed, errno != 0 ? errno : EIO};
    return {};
}

} // namespace velmora::toolchain
