#include "toolchain/BuildState.h"

#include "platform/FileNames.h"

namespace velmora::toolchain
{

QString BuildState::toolsFolder() const
{
    return platform::resolveIgnoringCase(ToolsDir);
}

} // namespace velmora::toolchain
