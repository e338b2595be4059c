#include "toolchain/SourceNames.h"

#include <algorithm>

namespace velmora::toolchain
{

SourceNames sourceNames(const QString &currentFile)
{
    const qsizetype nameStart = currentFile.lastIndexOf(QLatin1Char('/')) + 1;
    SourceNames names;
    names.S = currentFile.left(nameStart);
    names.N = currentFile.mid(nameStart);
    names.B = names.N.left(std::max<qsizetype>(0, names.N.size() - 4));
    return names;
}

} // namespace velmora::toolchain
