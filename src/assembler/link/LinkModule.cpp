#include "assembler/link/LinkModule.h"

#include "assembler/link/NameCase.h"

#include <stdexcept>

namespace velmora::assembler::link
{

namespace
{

void check(bool valid, const char *what, std::uint16_t index)
{
    if (!valid)
        throw std::runtime_error(std::string(what) + " index " + std::to_string(index) + " out of range");
}

void checkName(const LinkModule &module, std::uint16_t index, bool optional)
{
    check((optional && index == 0) || (index >= 1 && index <= module.names.size()), "name", index);
}

} // namespace

LinkModule indexModule(std::string fileName, omf::ObjectModule object)
{
    LinkModule module;
    module.fileName = std::move(fileName);
    module.object = std::move(object);
    for (const omf::Record &record : module.object.records) {
        if (auto *header = std::get_if<omf::Theadr>(&record)) {
            if (module.name.empty())
                module.name = upperCase(header->name);
        } else if (auto *lnames = std::get_if<omf::Lnames>(&record)) {
            module.names.insert(module.names.end(), lnames->names.begin(), lnames->names.end());
        } else if (auto *segment = std::get_if<omf::Segdef>(&record)) {
            checkName(module, segment->nameIndex, false);
            checkName(module, segment->classIndex, false);
            checkName(module, segment->overlayIndex, true);
            module.segments.push_back(segment);
        } else if (auto *group = std::get_if<omf::Grpdef>(&record)) {
            checkName(module, group->nameIndex, false);
            for (std::uint16_t index : group->segments)
                check(index >= 1 && index <= module.segments.size(), "segment", index);
            module.groups.push_back(group);
        } else if (auto *extdef = std::get_if<omf::Extdef>(&record)) {
            for (const omf::ExternalName &name : extdef->names)
                module.externs.push_back(name.name);
        } else if (auto *pubdef = std::get_if<omf::Pubdef>(&record)) {
            check(pubdef->groupIndex <= module.groups.size(), "group", pubdef->groupIndex);
            check(pubdef->segmentIndex <= module.segments.size(), "segment", pubdef->segmentIndex);
            module.publics.push_back(pubdef);
        } else if (auto *end = std::get_if<omf::Modend>(&record)) {
            module.end = end;
        }
    }
    return module;
}

} // namespace velmora::assembler::link
