#include "assembler/link/SymbolTable.h"

#include "assembler/link/NameCase.h"

namespace velmora::assembler::link
{

std::string SymbolTable::key(const std::string &name) const
{
    return caseSensitive_ ? name : upperCase(name);
}

SymbolTable::SymbolTable(const std::vector<LinkModule> &modules, const SegmentLayout &layout, bool caseSensitive,
                         LinkLog &log)
    : modules_(modules), caseSensitive_(caseSensitive)
{
    std::unordered_map<std::string, std::size_t> globalIndex;
    std::vector<std::unordered_map<std::string, std::size_t>> localIndex(modules.size());
    for (std::size_t m = 0; m < modules.size(); ++m) {
        for (const omf::Pubdef *pubdef : modules[m].publics) {
            for (const omf::PublicName &name : pubdef->names) {
                PublicSymbol symbol;
                symbol.name = name.name;
                symbol.module = m;
                if (pubdef->segmentIndex == 0) {
                    symbol.absolute = true;
                    symbol.linear = static_cast<std::uint32_t>(pubdef->frame) * 16 + name.offset;
                    symbol.mapFrame = symbol.fixupFrame = pubdef->frame;
                } else {
                    const SegmentPlace &place = layout.place(m, pubdef->segmentIndex);
                    symbol.linear = place.base + name.offset;
                    symbol.mapFrame = layout.segments[place.output].frame();
                    symbol.fixupFrame =
                        pubdef->groupIndex ? layout.group(m, pubdef->groupIndex).frame : symbol.mapFrame;
                }
                if (pubdef->local) {
                    localIndex[m].emplace(key(name.name), localPublics_.size());
                    localPublics_.push_back(symbol);
                    continue;
                }
                auto [it, added] = globalIndex.emplace(key(name.name), publics_.size());
                if (added)
                    publics_.push_back(symbol);
                else
                    log.error(name.name + " defined in module " + modules[publics_[it->second].module].name +
                              " is duplicated in module " + modules[m].name);
            }
        }
    }
    for (std::size_t m = 0; m < modules.size(); ++m) {
        externals_.emplace_back();
        externalIsLocal_.emplace_back();
        for (const std::string &name : modules[m].externs) {
            if (auto local = localIndex[m].find(key(name)); local != localIndex[m].end()) {
                externals_[m].push_back(static_cast<std::ptrdiff_t>(local->second));
                externalIsLocal_[m].push_back(true);
                continue;
            }
            auto global = globalIndex.find(key(name));
            externals_[m].push_back(global == globalIndex.end() ? -1 : static_cast<std::ptrdiff_t>(global->second));
            externalIsLocal_[m].push_back(false);
        }
    }
}

const PublicSymbol *SymbolTable::external(std::size_t module, std::size_t position) const
{
    const std::ptrdiff_t index = externals_[module][position];
    if (index < 0)
        return nullptr;
    return externalIsLocal_[module][position] ? &localPublics_[static_cast<std::size_t>(index)]
                                              : &publics_[static_cast<std::size_t>(index)];
}

void SymbolTable::reportUndefined(LinkLog &log) const
{
    for (std::size_t m = 0; m < modules_.size(); ++m)
        for (std::size_t k = 0; k < modules_[m].externs.size(); ++k)
            if (externals_[m][k] < 0)
                log.error("Undefined symbol " + modules_[m].externs[k] + " in module " + modules_[m].name);
}

} // namespace velmora::assembler::link
