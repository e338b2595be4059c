// Turns the frame and target of a fixup (or of the start address) into numbers: the
// target's linear address and the frame paragraph it is addressed through. Threads are
// resolved by the caller's `FixupThreads`.
#pragma once

#include "assembler/link/LinkModule.h"
#include "assembler/link/SegmentLayout.h"
#include "assembler/link/SymbolTable.h"

#include <array>
#include <cstdint>
#include <string>

namespace velmora::assembler::link
{

// The frame and target threads a module's FIXUPP records have defined so far.
struct FixupThreads {
    struct Thread {
        bool defined = false;
        std::uint8_t method = 0;
        std::uint16_t datum = 0;
    };
    std::array<Thread, 4> frames;
    std::array<Thread, 4> targets;
};

struct ResolvedAddress {
    bool undefined = false;   // an external nothing defines
    bool relocatable = true;  // the frame moves with the program's load address
    std::uint32_t target = 0; // linear, displacement included
    std::uint16_t frame = 0;
    std::string targetName; // for messages
};

class AddressResolver
{
public:
    AddressResolver(const std::vector<LinkModule> &modules, const SegmentLayout &layout, const SymbolTable &symbols)
        : modules_(modules), layout_(layout), symbols_(symbols)
    {
    }

    // `locationFrame` serves the "frame of the location" method. Throws std::runtime_error
    // for an index outside the module's lists or an undefined thread.
    ResolvedAddress resolve(std::size_t module, const omf::FixupAddress &address, const FixupThreads &threads,
                            std::uint16_t locationFrame) const;

private:
    struct Part {
        bool undefined = false;
        bool relocatable = true;
        std::uint32_t linear = 0;
        std::uint16_t frame = 0;
        std::string name;
    };
    Part target(std::size_t module, std::uint8_t method, std::uint16_t datum) const;

    const std::vector<LinkModule> &modules_;
    const SegmentLayout &layout_;
    const SymbolTable &symbols_;
};

} // namespace velmora::assembler::link
