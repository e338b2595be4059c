#include "toolchain/ToolChain.h"

#include "toolchain/ToolsFolder.h"

namespace velmora::toolchain
{

Chain defaultChain(const QString &toolsDir, const QString &tasmFile)
{
    return existingFile(toolsDir, tasmFile).isEmpty() ? Chain::BuiltIn : Chain::DosTools;
}

Chain chainFromValue(int value, const QString &toolsDir, const QString &tasmFile)
{
    switch (value) {
    case int(Chain::DosTools):
        return Chain::DosTools;
    case int(Chain::BuiltIn):
        return Chain::BuiltIn;
    default:
        return defaultChain(toolsDir, tasmFile);
    }
}

} // namespace velmora::toolchain
