// DOS's memory arena: a chain of memory control blocks (MCBs) kept in the PC's memory,
// each one paragraph before the block it describes: byte 0 'M' (another block follows) or
// 'Z' (the last), word 1 the owner's PSP segment (0 = free), word 3 the block's size in
// paragraphs, bytes 8-15 the owner's name. The blocks tile the arena from the first MCB to
// the end segment without gaps, so a block's successor starts at segment + size + 1.
// Because the chain lives in memory a program can damage it; every walk checks the
// signatures and reports error 7 (arena trashed) instead of following garbage.
#pragma once

#include "machine/Memory.h"

#include <cstdint>
#include <string_view>

namespace velmora::machine
{

class MemoryArena
{
public:
    // What an arena call gives back: error 0 and the block's segment on success; else the
    // DOS error code and, for error 8, the largest size the request could have had.
    struct Result {
        uint16_t error = 0;
        uint16_t segment = 0;
        uint16_t largest = 0;
    };

    explicit MemoryArena(Memory &memory) : memory_(memory) {}

    // One free block from firstMcb + 1 up to endSegment.
    void reset(uint16_t firstMcb, uint16_t endSegment);

    // First fit, as DOS allocates by default; free neighbours are merged on the way.
    Result allocate(uint16_t paragraphs, uint16_t owner);
    // Error 9 when segment is not a block of the chain.
    Result release(uint16_t segment);
    // Shrinks in place, or grows into the free blocks that follow. On error 8, largest is
    // the size the block could grow to; the block keeps its size.
    Result resize(uint16_t segment, uint16_t paragraphs);
    // The largest free block's size (0 when the chain is damaged).
    uint16_t largestFree();

    void setOwner(uint16_t segment, uint16_t owner, std::string_view name);
    uint16_t owner(uint16_t segment) const;
    uint16_t size(uint16_t segment) const;

private:
    bool valid(uint16_t mcb) const;
    bool last(uint16_t mcb) const;
    uint16_t mcbSize(uint16_t mcb) const;
    uint16_t mcbOwner(uint16_t mcb) const;
    void writeMcb(uint16_t mcb, bool last, uint16_t owner, uint16_t size);
    // Merges the free blocks right after mcb into it.
    void mergeFreeSuccessors(uint16_t mcb);
    // Cuts mcb's block to paragraphs, the rest becoming a free block after it.
    void split(uint16_t mcb, uint16_t paragraphs);
    // Whether segment - 1 is an MCB of the chain; false also for a damaged chain.
    bool inChain(uint16_t segment, bool &trashed) const;

    Memory &memory_;
    uint16_t first_ = 0;
    uint16_t end_ = 0;
};

} // namespace velmora::machine
