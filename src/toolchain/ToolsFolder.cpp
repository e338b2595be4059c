#include "toolchain/ToolsFolder.h"

#include "platform/FileNames.h"
#include "toolchain/ToolchainError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace velmora::toolchain
{

void enterToolsFolder(const QString &toolsDir, const QString &failure)
{
    if (toolsDir.isEmpty() || !QDir::setCurrent(toolsDir))
        throw ToolchainError(failure.arg(toolsDir));
}

bool sourceOutsideTools(const QString &currentFile, const QString &toolsDir)
{
    if (currentFile.isEmpty())
        return false;
    const QString folder = QFileInfo(currentFile).absolutePath();
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QString canonicalTools = QFileInfo(toolsDir).canonicalFilePath();
    if (!canonicalFolder.isEmpty() && !canonicalTools.isEmpty())
        return canonicalFolder != canonicalTools;
    return QDir::cleanPath(folder) != QDir::cleanPath(QDir(toolsDir).absolutePath());
}

QString existingFile(const QString &dir, const QString &name)
{
    const QString path = platform::findIgnoringCase(dir, name);
    return QFileInfo(path).isFile() ? path : QString();
}

bool copyReplacing(const QString &source, const QString &target)
{
    std::error_code error;
    const std::filesystem::path from(QFile::encodeName(source).toStdString());
    const std::filesystem::path to(QFile::encodeName(target).toStdString());
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error) && !error;
}

} // namespace velmora::toolchain
