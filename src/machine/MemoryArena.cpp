#include "machine/MemoryArena.h"

#include "machine/DosErrors.h"

#include <algorithm>

namespace velmora::machine
{

namespace
{

uint32_t at(uint16_t segment)
{
    return uint32_t(segment) << 4;
}

} // namespace

void MemoryArena::reset(uint16_t firstMcb, uint16_t endSegment)
{
    first_ = firstMcb;
    end_ = endSegment;
    writeMcb(first_, true, 0, uint16_t(end_ - first_ - 1));
}

bool MemoryArena::valid(uint16_t mcb) const
{
    const uint8_t signature = memory_.read8(at(mcb));
    if (signature != 'M' && signature != 'Z')
        return false;
    const uint32_t next = uint32_t(mcb) + mcbSize(mcb) + 1;
    return signature == 'Z' ? next <= end_ : next < end_;
}

bool MemoryArena::last(uint16_t mcb) const
{
    return memory_.read8(at(mcb)) == 'Z';
}

uint16_t MemoryArena::mcbSize(uint16_t mcb) const
{
    return memory_.read16(at(mcb) + 3);
}

uint16_t MemoryArena::mcbOwner(uint16_t mcb) const
{
    return memory_.read16(at(mcb) + 1);
}

void MemoryArena::writeMcb(uint16_t mcb, bool isLast, uint16_t owner, uint16_t size)
{
    memory_.write8(at(mcb), isLast ? 'Z' : 'M');
    memory_.write16(at(mcb) + 1, owner);
    memory_.write16(at(mcb) + 3, size);
    for (uint32_t i = 5; i < 16; ++i)
        memory_.write8(at(mcb) + i, 0);
}

void MemoryArena::mergeFreeSuccessors(uint16_t mcb)
{
    while (!last(mcb)) {
        const uint16_t next = uint16_t(mcb + mcbSize(mcb) + 1);
        if (!valid(next) || mcbOwner(next) != 0)
            return;
        memory_.write8(at(mcb), memory_.read8(at(next)));
        memory_.write16(at(mcb) + 3, uint16_t(mcbSize(mcb) + mcbSize(next) + 1));
    }
}

void MemoryArena::split(uint16_t mcb, uint16_t paragraphs)
{
    const uint16_t size = mcbSize(mcb);
    if (paragraphs >= size)
        return;
    const bool wasLast = last(mcb);
    const uint16_t rest = uint16_t(mcb + paragraphs + 1);
    memory_.write8(at(mcb), 'M');
    memory_.write16(at(mcb) + 3, paragraphs);
    writeMcb(rest, wasLast, 0, uint16_t(size - paragraphs - 1));
    mergeFreeSuccessors(rest);
}

bool MemoryArena::inChain(uint16_t segment, bool &trashed) const
{
    trashed = false;
    for (uint16_t mcb = first_;; mcb = uint16_t(mcb + mcbSize(mcb) + 1)) {
        if (!valid(mcb)) {
            trashed = true;
            return false;
        }
        if (mcb == uint16_t(segment - 1))
            return true;
        if (last(mcb))
            return false;
    }
}

MemoryArena::Result MemoryArena::allocate(uint16_t paragraphs, uint16_t owner)
{
    uint16_t largest = 0;
    for (uint16_t mcb = first_;; mcb = uint16_t(mcb + mcbSize(mcb) + 1)) {
        if (!valid(mcb))
            return {dos_error::kArenaTrashed, 0, 0};
        if (mcbOwner(mcb) == 0) {
            mergeFreeSuccessors(mcb);
            if (mcbSize(mcb) >= paragraphs) {
                split(mcb, paragraphs);
                memory_.write16(at(mcb) + 1, owner);
                return {dos_error::kNone, uint16_t(mcb + 1), 0};
            }
            largest = std::max(largest, mcbSize(mcb));
        }
        if (last(mcb))
            return {dos_error::kInsufficientMemory, 0, largest};
    }
}

MemoryArena::Result MemoryArena::release(uint16_t segment)
{
    bool trashed = false;
    if (!inChain(segment, trashed))
        return {trashed ? dos_error::kArenaTrashed : dos_error::kInvalidBlock, 0, 0};
    memory_.write16(at(segment - 1) + 1, 0);
    return {};
}

MemoryArena::Result MemoryArena::resize(uint16_t segment, uint16_t paragraphs)
{
    bool trashed = false;
    if (!inChain(segment, trashed))
        return {trashed ? dos_error::kArenaTrashed : dos_error::kInvalidBlock, 0, 0};
    const uint16_t mcb = uint16_t(segment - 1);
    uint32_t available = mcbSize(mcb);
    for (uint16_t block = mcb; available < paragraphs && !last(block);) {
        const uint16_t next = uint16_t(block + mcbSize(block) + 1);
        if (!valid(next))
            return {dos_error::kArenaTrashed, 0, 0};
        if (mcbOwner(next) != 0)
            break;
        available += mcbSize(next) + 1u;
        block = next;
    }
    if (paragraphs > available)
        return {dos_error::kInsufficientMemory, 0, uint16_t(std::min<uint32_t>(available, 0xFFFF))};
    // Take the free successors in, then give back what is more than asked.
    if (paragraphs > mcbSize(mcb))
        mergeFreeSuccessors(mcb);
    split(mcb, paragraphs);
    return {dos_error::kNone, segment, 0};
}

uint16_t MemoryArena::largestFree()
{
    uint16_t largest = 0;
    for (uint16_t mcb = first_;; mcb = uint16_t(mcb + mcbSize(mcb) + 1)) {
        if (!valid(mcb))
            return 0;
        if (mcbOwner(mcb) == 0) {
            mergeFreeSuccessors(mcb);
            largest = std::max(largest, mcbSize(mcb));
        }
        if (last(mcb))
            return largest;
    }
}

void MemoryArena::setOwner(uint16_t segment, uint16_t owner, std::string_view name)
{
    const uint32_t mcb = at(segment - 1);
    memory_.write16(mcb + 1, owner);
    for (uint32_t i = 0; i < 8; ++i)
        memory_.write8(mcb + 8 + i, i < name.size() ? uint8_t(name[i]) : 0);
}

uint16_t MemoryArena::owner(uint16_t segment) const
{
    return mcbOwner(uint16_t(segment - 1));
}

uint16_t MemoryArena::size(uint16_t segment) const
{
    return mcbSize(uint16_t(segment - 1));
}

} // namespace velmora::machine
