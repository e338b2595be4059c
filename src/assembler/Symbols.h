// The symbol table: every name a source defines, looked up without regard to letter case.
// A symbol keeps the statement number that defined it, so that a later pass can tell a
// forward reference (used before that statement) from a backward one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora::assembler
{

enum class SymbolKind {
    Label,    // a code label, procedure or LABEL of NEAR/FAR type
    Variable, // a data item with a type size
    Number,   // EQU or = with a numeric value
    Text,     // EQU with text
    SegmentName,
    GroupName,
    Struct,
    StructField,
    Record,
    RecordField,
    External,
};

struct StructFieldInfo {
    std::string name;
    int offset = 0;
    int unit = 1;                    // size of one element (1 DB, 2 DW, ...; a structure's size)
    int count = 1;                   // elements in the field (string length or DUP count)
    std::vector<std::uint8_t> bytes; // default contents
    std::vector<bool> initialised;
    std::vector<std::string> shown; // as a listing shows the default
    bool isString = false;
    int structIndex = -1; // a nested structure field's structure symbol, else -1
};

struct Symbol {
    std::string name; // as first written
    SymbolKind kind = SymbolKind::Number;
    int segment = -1;         // for labels and variables
    std::int64_t value = 0;   // offset, number, field offset or shift count
    int type = 0;             // TYPE value
    int length = 1;           // LENGTH value
    int size = 0;             // SIZE value
    std::string text;         // a text equate
    bool redefinable = false; // defined with =
    bool isPublic = false;
    int external = -1;  // index into the module's externals
    int structure = -1; // a structure instance's structure symbol
    bool definedThisPass = false;
    int definedAt = -1; // statement number of the definition
    // Structures: fields in order; records: total width and field list.
    std::vector<StructFieldInfo> fields;
    int width = 0; // record width in bits, record field width
    std::int64_t mask = 0;
    std::int64_t defaultValue = 0; // record field default
    std::vector<int> recordFields; // record's field symbol indices
};

class SymbolTable
{
public:
    // The symbol's index, or -1.
    int find(std::string_view name) const;
    // The index of the named symbol, created empty when missing.
    int intern(std::string_view name);
    Symbol &operator[](int index) { return symbols_[static_cast<std::size_t>(index)]; }
    const Symbol &operator[](int index) const { return symbols_[static_cast<std::size_t>(index)]; }
    std::size_t size() const { return symbols_.size(); }
    const std::vector<Symbol> &all() const { return symbols_; }

private:
    std::vector<Symbol> symbols_;
    std::unordered_map<std::string, int> byName_;
};

} // namespace velmora::assembler
