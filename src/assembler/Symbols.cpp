#include "assembler/Symbols.h"

#include "assembler/Lexer.h"

namespace velmora::assembler
{

int SymbolTable::find(std::string_view name) const
{
    const auto it = byName_.find(upperCase(name));
    return it == byName_.end() ? -1 : it->second;
}

int SymbolTable::intern(std::string_view name)
{
    std::string key = upperCase(name);
    const auto it = byName_.find(key);
    if (it != byName_.end())
        return it->second;
    const int index = static_cast<int>(symbols_.size());
    Symbol symbol;
    symbol.name = std::string(name);
    symbols_.push_back(std::move(symbol));
    byName_.emplace(std::move(key), index);
    return index;
}

} // namespace velmora::assembler
