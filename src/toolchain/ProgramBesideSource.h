// The program a source was built into, where linking leaves it: beside the source.
#pragma once

#include <QString>

namespace velmora::toolchain
{

// The .exe or .com beside currentFile with the source's base name, letter case ignored;
// when both exist, the one written last, as the last link made it (.exe when they tie).
// Empty when there is neither, or the text is untitled.
QString programBesideSource(const QString &currentFile);

} // namespace velmora::toolchain
