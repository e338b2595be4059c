#include "editor/core/LineWidths.h"

#include "editor/core/ParagraphRecord.h"

namespace velmora::core
{

void TLineWidths::add(std::int32_t width)
{
    if (width > 0)
        ++counts_[width];
}

void TLineWidths::remove(std::int32_t width)
{
    if (width <= 0)
        return;
    const auto it = counts_.find(width);
    if (it != counts_.end() && --it->second == 0)
        counts_.erase(it);
}

void TLineWidths::addLines(const ParInfo &par)
{
    for (std::int32_t l = 0; l < par.lineCount(); ++l)
        add(par.lineInfo(l).width);
}

void TLineWidths::removeLines(const ParInfo &par)
{
    for (std::int32_t l = 0; l < par.lineCount(); ++l)
        remove(par.lineInfo(l).width);
}

} // namespace velmora::core
