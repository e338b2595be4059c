#include "assembler/omf/OmfRecords.h"

namespace velmora::assembler::omf
{

void expandIterated(const IteratedBlock &block, std::vector<std::uint8_t> &out)
{
    for (std::uint16_t k = 0; k < block.repeat; ++k) {
        if (block.inner.empty())
            out.insert(out.end(), block.content.begin(), block.content.end());
        for (const IteratedBlock &inner : block.inner)
            expandIterated(inner, out);
    }
}

std::vector<std::uint8_t> expandIterated(const Lidata &record)
{
    std::vector<std::uint8_t> out;
    for (const IteratedBlock &block : record.blocks)
        expandIterated(block, out);
    return out;
}

} // namespace velmora::assembler::omf
