// One object module as the linker sees it: its records and, resolved once, the indexed
// lists that its records refer to (names, segments, groups, externals). Every index the
// module's definitions use is checked when it is loaded.
#pragma once

#include "assembler/omf/OmfRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::assembler::link
{

// Move-only: the lists point into the module's own records.
struct LinkModule {
    LinkModule() = default;
    LinkModule(LinkModule &&) = default;
    LinkModule &operator=(LinkModule &&) = default;
    LinkModule(const LinkModule &) = delete;
    LinkModule &operator=(const LinkModule &) = delete;

    std::string fileName; // as named on the command line
    std::string name;     // the translator header's name, upper-cased ("SRC.ASM")
    omf::ObjectModule object;
    std::vector<std::string> names; // LNAMES, index 1 = names[0]
    std::vector<const omf::Segdef *> segments;
    std::vector<const omf::Grpdef *> groups;
    std::vector<std::string> externs; // EXTDEF and LEXTDEF names in index order
    std::vector<const omf::Pubdef *> publics;
    const omf::Modend *end = nullptr;

    const std::string &nameAt(std::uint16_t index) const { return names[index - 1]; }
    const std::string &segmentName(std::size_t segment) const { return nameAt(segments[segment]->nameIndex); }
    const std::string &className(std::size_t segment) const { return nameAt(segments[segment]->classIndex); }
};

// Indexes a module read from `fileName`. Throws std::runtime_error naming what is wrong
// when an index points outside its list.
LinkModule indexModule(std::string fileName, omf::ObjectModule object);

} // namespace velmora::assembler::link
