// Directives: the model and processor, EQU and =, PROC/ENDP, LABEL, STRUC and RECORD
// definitions, EXTRN/PUBLIC/GLOBAL, ORG, EVEN, ASSUME and END.
#include "assembler/AsmError.h"
#include "assembler/Assembler.h"

#include <algorithm>

namespace velmora::assembler
{

namespace
{

std::string equateText(std::span<const Token> rest, const std::string &line)
{
    if (rest[0].kind == TokenKind::End)
        return {};
    std::size_t start = rest[0].column;
    std::size_t end = rest.back().column;
    std::string text = line.substr(start, end - start);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    if (text.size() >= 2 && text.front() == '<' && text.back() == '>')
        text = text.substr(1, text.size() - 2);
    return text;
}

MemoryModel modelByName(const std::string &name)
{
    if (name == "TINY")
        return MemoryModel::Tiny;
    if (name == "SMALL")
        return MemoryModel::Small;
    if (name == "COMPACT")
        return MemoryModel::Compact;
    if (name == "MEDIUM")
        return MemoryModel::Medium;
    if (name == "LARGE")
        return MemoryModel::Large;
    if (name == "HUGE")
        return MemoryModel::Huge;
    throw AsmError("Illegal memory model");
}

ExternalType externalType(int type)
{
    switch (type) {
    case TypeNear:
        return ExternalType::Near;
    case TypeFar:
        return ExternalType::Far;
    case 1:
        return ExternalType::Byte;
    case 2:
        return ExternalType::Word;
    case 4:
        return ExternalType::Dword;
    case 8:
        return ExternalType::Qword;
    case 10:
        return ExternalType::Tbyte;
    case 0:
        return ExternalType::Abs;
    default:
        return ExternalType::Unknown;
    }
}

} // namespace

bool Assembler::plainDirective(const std::string &directive, std::span<const Token> rest, const SourceLine &line)
{
    if (directive == ".MODEL") {
        listOffset(false, true);
        setModel(modelByName(upperCase(rest[0].text)));
    } else if (directive == ".CODE" || directive == ".DATA" || directive == ".DATA?" || directive == ".CONST" ||
               directive == ".FARDATA" || directive == ".FARDATA?" || directive == ".STACK") {
        // ".DATA?" reads as ".DATA" and "?".
        std::string name = directive;
        if ((name == ".DATA" || name == ".FARDATA") && rest[0].isName("?")) {
            name += "?";
            rest = rest.subspan(1);
        }
        if (name == ".CODE" && rest[0].kind == TokenKind::Name) {
            if (model_ != MemoryModel::Medium && model_ != MemoryModel::Large && model_ != MemoryModel::Huge)
                warn("Segment name is superfluous");
            rest = rest.subspan(1);
        }
        simplifiedSegment(name, rest);
    } else if (directive == ".8086") {
        cpu_ = Cpu::I8086;
        predefine("@CPU", "0101H");
    } else if (directive == ".186") {
        cpu_ = Cpu::I186;
        predefine("@CPU", "0103H");
    } else if (directive == ".286" || directive == ".286C") {
        cpu_ = Cpu::I286;
        predefine("@CPU", "0107H");
    } else if (directive == "JUMPS") {
        jumps_ = true;
    } else if (directive == "NOJUMPS") {
        jumps_ = false;
    } else if (directive == "LOCALS") {
        locals_ = true;
    } else if (directive == "NOLOCALS") {
        locals_ = false;
    } else if (directive == "ASSUME") {
        assume(rest);
    } else if (directive == "ORG") {
        const Value value = evaluateTokens(rest);
        setLocation(static_cast<std::uint32_t>(value.number & 0xFFFF));
    } else if (directive == "EVEN") {
        requireSegment();
        if (location() % 2 != 0) {
            const Segment &segment = result_.module.segments[static_cast<std::size_t>(segment_)];
            Encoded pad;
            const bool code = segment.className == "CODE";
            pad.bytes.push_back(code ? 0x90 : 0x00);
            pad.shown.push_back(code ? "90" : "00");
            emit(pad);
        } else {
            listOffset();
        }
    } else if (directive == "DB" || directive == "DW" || directive == "DD" || directive == "DF" || directive == "DQ" ||
               directive == "DT") {
        const int unit = directive == "DB"   ? 1
                         : directive == "DW" ? 2
                         : directive == "DD" ? 4
                         : directive == "DF" ? 6
                         : directive == "DQ" ? 8
                                             : 10;
        dataDirective(nullptr, unit, rest);
    } else if (directive == "EXTRN" || directive == "EXTERN") {
        externals(rest, false);
    } else if (directive == "GLOBAL") {
        externals(rest, true);
    } else if (directive == "PUBLIC") {
        publics(rest);
    } else if (directive == "END") {
        endDirective(rest);
    } else if (directive == "ENDS") {
        if (structure_.symbol >= 0 || segment_ < 0)
            warn("Unmatched ENDS: ");
        else
            closeSegment();
    } else if (directive == "EXITM") {
        if (line.level == 0)
            throw AsmError("Can't use this outside macro");
    } else if (directive == "ENDM") {
        throw AsmError("Can't use this outside macro");
    } else if (directive == "%OUT" || directive == "TITLE" || directive == "SUBTTL" || directive == "PAGE" ||
               directive == "NAME" || directive == ".LIST" || directive == ".XLIST" || directive == "IDEAL" ||
               directive == "MASM" || directive == "%NOLIST" || directive == "%LIST") {
        // Listing controls and the like do not change the module.
    } else {
        return false;
    }
    return true;
}

void Assembler::equate(const Token &name, std::span<const Token> rest, bool redefinable)
{
    const std::string text = equateText(rest, line_->text.substr(0, commentStart(line_->text)));
    const std::string upper = upperCase(name.text);
    std::optional<std::int64_t> number;
    bool unknown = false;
    try {
        const Value value = evaluateTokens(rest);
        unknown = value.unknown;
        if (!value.relocatable() && !value.memory && !value.isRegister())
            number = value.number;
    } catch (const AsmError &) {
        if (redefinable)
            throw;
    }
    if (unknown && !final_)
        number = 0;
    const int existing = result_.symbols.find(upper);
    if (!redefinable && existing >= 0 && result_.symbols[existing].definedThisPass) {
        const Symbol &symbol = result_.symbols[existing];
        const bool same = number ? symbol.kind == SymbolKind::Number && symbol.value == *number
                                 : symbol.kind == SymbolKind::Text && symbol.text == text;
        if (!same)
            throw AsmError("Symbol already defined elsewhere: " + upper);
        return;
    }
    if (number) {
        const int index = defineSymbol(name.text, SymbolKind::Number);
        Symbol &symbol = result_.symbols[index];
        symbol.value = *number;
        symbol.redefinable = redefinable;
        if (listed_) {
            char shown[16];
            std::snprintf(shown, sizeof shown, "=%04X", static_cast<unsigned>(*number & 0xFFFF));
            listed_->equate = shown;
        }
        return;
    }
    if (redefinable)
        throw AsmError("Constant expected");
    const int index = defineSymbol(name.text, SymbolKind::Text);
    result_.symbols[index].text = text;
    if (listed_)
        listed_->equate = "= " + text;
}

void Assembler::procedure(const Token &name, std::span<const Token> rest)
{
    const bool farModel = model_ == MemoryModel::Medium || model_ == MemoryModel::Large || model_ == MemoryModel::Huge;
    bool far = farModel;
    for (const Token &token : rest) {
        if (token.isName("FAR"))
            far = true;
        else if (token.isName("NEAR"))
            far = false;
    }
    for (std::size_t i = 0; rest[i].kind != TokenKind::End; ++i)
        if (rest[i].isName("USES"))
            warn("USES has no effect without language");
    const int index = result_.symbols.intern(scopedName(name.text));
    // The procedure opens even when its name is taken, so that its ENDP still matches.
    procedures_.push_back({index, far});
    defineLabel(name.text, far ? TypeFar : TypeNear, DebugSymbolKind::Procedure);
}

void Assembler::endProcedure(const Token &name)
{
    const std::string upper = upperCase(name.text);
    if (procedures_.empty() || upperCase(result_.symbols[procedures_.back().symbol].name) != upper) {
        if (!procedures_.empty())
            procedures_.pop_back();
        throw AsmError("Unmatched ENDP: " + upper);
    }
    listOffset();
    procedures_.pop_back();
}

void Assembler::labelDirective(const Token &name, std::span<const Token> rest)
{
    const std::string typeName = upperCase(rest[0].text);
    int type = typeKeywordSize(typeName);
    const bool structure = type == 0;
    if (structure) {
        const int structure = lookup(typeName);
        if (structure < 0 || result_.symbols[structure].kind != SymbolKind::Struct)
            throw AsmError("Undefined symbol: " + typeName);
        type = result_.symbols[structure].size;
    }
    if (type == TypeNear || type == TypeFar) {
        defineLabel(name.text, type);
        return;
    }
    requireSegment();
    const int index = defineSymbol(name.text, SymbolKind::Variable);
    Symbol &symbol = result_.symbols[index];
    symbol.segment = segment_;
    symbol.value = location();
    symbol.type = type;
    symbol.length = 1;
    symbol.size = type;
    recordSymbol(name.text, structure ? variableSymbol(1, static_cast<std::uint32_t>(type), false)
                                      : variableSymbol(type, 1, false));
    listOffset();
}

void Assembler::structureStart(const Token &name)
{
    const int index = defineSymbol(name.text, SymbolKind::Struct);
    result_.symbols[index].fields.clear();
    structure_.symbol = index;
    structure_.offset = 0;
    listOffset(true);
}

void Assembler::recordDefinition(const Token &name, std::span<const Token> rest)
{
    struct Field {
        std::string name;
        int width;
        std::int64_t value;
    };
    std::vector<Field> fields;
    std::size_t i = 0;
    while (rest[i].kind != TokenKind::End) {
        if (rest[i].kind != TokenKind::Name || !rest[i + 1].is(':'))
            throw AsmError("Need colon");
        Field field{rest[i].text, 0, 0};
        i += 2;
        std::size_t end = i;
        while (rest[end].kind != TokenKind::End && !rest[end].is(',') && !rest[end].is('='))
            ++end;
        std::vector<Token> widthTokens(rest.begin() + static_cast<std::ptrdiff_t>(i),
                                       rest.begin() + static_cast<std::ptrdiff_t>(end));
        widthTokens.emplace_back();
        field.width = static_cast<int>(constantOf(widthTokens));
        i = end;
        if (rest[i].is('=')) {
            ++i;
            end = i;
            while (rest[end].kind != TokenKind::End && !rest[end].is(','))
                ++end;
            std::vector<Token> valueTokens(rest.begin() + static_cast<std::ptrdiff_t>(i),
                                           rest.begin() + static_cast<std::ptrdiff_t>(end));
            valueTokens.emplace_back();
            field.value = constantOf(valueTokens);
            i = end;
        }
        fields.push_back(field);
        if (rest[i].is(','))
            ++i;
    }
    int total = 0;
    for (const Field &field : fields)
        total += field.width;
    const int index = defineSymbol(name.text, SymbolKind::Record);
    result_.symbols[index].width = total;
    result_.symbols[index].size = total <= 8 ? 1 : 2;
    result_.symbols[index].type = result_.symbols[index].size;
    result_.symbols[index].mask = (1LL << total) - 1;
    std::vector<int> fieldSymbols;
    int shift = total;
    for (const Field &field : fields) {
        shift -= field.width;
        const int fieldIndex = defineSymbol(field.name, SymbolKind::RecordField);
        Symbol &symbol = result_.symbols[fieldIndex];
        symbol.value = shift;
        symbol.width = field.width;
        symbol.mask = ((1LL << field.width) - 1) << shift;
        symbol.defaultValue = field.value;
        fieldSymbols.push_back(fieldIndex);
    }
    result_.symbols[index].recordFields = fieldSymbols;
}

void Assembler::externals(std::span<const Token> rest, bool global)
{
    std::size_t i = 0;
    while (rest[i].kind != TokenKind::End) {
        if (rest[i].kind != TokenKind::Name)
            throw AsmError("Need expression");
        const std::string name = rest[i].text;
        int type = 0;
        ++i;
        if (rest[i].is(':')) {
            const std::string typeName = upperCase(rest[i + 1].text);
            type = typeName == "ABS" ? 0 : typeKeywordSize(typeName);
            if (type == 0 && typeName == "PROC")
                type = TypeNear;
            i += 2;
        }
        const int existing = result_.symbols.find(name);
        if (global && existing >= 0 && result_.symbols[existing].definedAt >= 0 &&
            result_.symbols[existing].kind != SymbolKind::External) {
            result_.symbols[existing].isPublic = true;
        } else {
            const int index = defineSymbol(name, SymbolKind::External);
            Symbol &symbol = result_.symbols[index];
            symbol.type = type;
            symbol.external = static_cast<int>(result_.module.externals.size());
            result_.module.externals.push_back({upperCase(name), externalType(type)});
        }
        if (rest[i].is(','))
            ++i;
    }
}

void Assembler::publics(std::span<const Token> rest)
{
    for (const Token &token : rest)
        if (token.kind == TokenKind::Name)
            result_.symbols[result_.symbols.intern(token.text)].isPublic = true;
}

void Assembler::endDirective(std::span<const Token> rest)
{
    ended_ = true;
    if (!procedures_.empty())
        warn("Open procedure: " + upperCase(result_.symbols[procedures_.back().symbol].name));
    if (segment_ >= 0 && model_ == MemoryModel::None)
        warn("Open segment: " + result_.module.segments[static_cast<std::size_t>(segment_)].name);
    if (expander_.openConditionals() > 0)
        warn("Open conditional");
    if (rest[0].kind != TokenKind::End) {
        const Value start = evaluateTokens(rest);
        if (start.relocation == Relocation::Offset) {
            result_.module.hasStart = true;
            result_.module.startSegment = start.target;
            result_.module.startOffset = static_cast<std::uint16_t>(start.number);
        }
    }
    if (!final_)
        return;
    // The public names, now that every symbol has its place.
    for (const Symbol &symbol : result_.symbols.all()) {
        if (!symbol.isPublic || symbol.definedAt < 0 || symbol.kind == SymbolKind::External)
            continue;
        Public entry;
        entry.name = upperCase(symbol.name);
        entry.segment = symbol.kind == SymbolKind::Label || symbol.kind == SymbolKind::Variable ? symbol.segment : -1;
        entry.offset = static_cast<std::uint16_t>(symbol.value);
        result_.module.publics.push_back(entry);
    }
}

} // namespace velmora::assembler
