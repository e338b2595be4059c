#include "toolchain/ProgramBesideSource.h"

#include "toolchain/SourceNames.h"
#include "toolchain/ToolsFolder.h"

#include <QFileInfo>

namespace velmora::toolchain
{

QString programBesideSource(const QString &currentFile)
{
    const SourceNames source = sourceNames(currentFile);
    if (source.B.isEmpty())
        return {};
    const QString exe = existingFile(source.S, source.B + QStringLiteral(".exe"));
    const QString com = existingFile(source.S, source.B + QStringLiteral(".com"));
    if (exe.isEmpty() || com.isEmpty())
        return exe.isEmpty() ? com : exe;
    return QFileInfo(com).lastModified() > QFileInfo(exe).lastModified() ? com : exe;
}

} // namespace velmora::toolchain
