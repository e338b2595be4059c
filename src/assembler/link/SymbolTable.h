// The public symbols of all modules and, for every module, what its external names
// resolve to. A public defined twice is reported as duplicated (the first definition
// stays); an external that no module defines stays unresolved until it is reported.
#pragma once

#include "assembler/link/LinkLog.h"
#include "assembler/link/LinkModule.h"
#include "assembler/link/SegmentLayout.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora::assembler::link
{

struct PublicSymbol {
    std::string name;
    std::size_t module = 0;
    bool absolute = false;
    std::uint32_t linear = 0;     // absolute symbols: frame * 16 + offset
    std::uint16_t mapFrame = 0;   // the frame the map shows: its segment's (or its own, when absolute)
    std::uint16_t fixupFrame = 0; // the frame a fixup "by target" uses: its group's, else its segment's
};

class SymbolTable
{
public:
    SymbolTable(const std::vector<LinkModule> &modules, const SegmentLayout &layout, bool caseSensitive, LinkLog &log);

    const std::vector<PublicSymbol> &publics() const { return publics_; }
    // The public an external of a module names (0-based external position), or nullptr.
    const PublicSymbol *external(std::size_t module, std::size_t position) const;
    // Reports every external that nothing defines, module by module.
    void reportUndefined(LinkLog &log) const;

private:
    std::string key(const std::string &name) const;

    const std::vector<LinkModule> &modules_;
    bool caseSensitive_;
    std::vector<PublicSymbol> publics_;                  // global ones, in definition order
    std::vector<PublicSymbol> localPublics_;             // LPUBDEF ones
    std::vector<std::vector<std::ptrdiff_t>> externals_; // [module][position] -> index, -1 none
    std::vector<std::vector<bool>> externalIsLocal_;
};

} // namespace velmora::assembler::link
