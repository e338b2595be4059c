// Data definitions: DB, DW, DD, DF, DQ and DT with strings, DUP and ?, structure fields
// inside STRUC, and structure and record instances with their <...> initialisers.
#include "assembler/AsmError.h"
#include "assembler/Assembler.h"

#include <algorithm>

namespace velmora::assembler
{

namespace
{

// The items of a list, split at commas outside brackets; each ends with an End token.
std::vector<std::vector<Token>> splitItems(std::span<const Token> tokens)
{
    std::vector<std::vector<Token>> items;
    std::vector<Token> current;
    int depth = 0;
    for (const Token &token : tokens) {
        if (token.kind == TokenKind::End)
            break;
        if (token.is('(') || token.is('[') || token.is('<'))
            ++depth;
        else if (token.is(')') || token.is(']') || token.is('>'))
            --depth;
        if (depth == 0 && token.is(',')) {
            current.emplace_back();
            items.push_back(std::move(current));
            current.clear();
            continue;
        }
        current.push_back(token);
    }
    current.emplace_back();
    items.push_back(std::move(current));
    return items;
}

// A DUP as the listing shows it: the count in hexadecimal before the contents in brackets.
std::vector<std::string> dupShown(std::int64_t count, std::vector<std::string> contents)
{
    if (contents.empty())
        return contents;
    contents.front() = hexDigits(static_cast<std::uint64_t>(count), count > 0xFF ? 4 : 2) + "*(" + contents.front();
    contents.back() += ")";
    return contents;
}

void append(Encoded &out, std::vector<bool> &initialised, const Encoded &part, const std::vector<bool> &partInit)
{
    const int base = static_cast<int>(out.bytes.size());
    out.bytes.insert(out.bytes.end(), part.bytes.begin(), part.bytes.end());
    out.shown.insert(out.shown.end(), part.shown.begin(), part.shown.end());
    initialised.insert(initialised.end(), partInit.begin(), partInit.end());
    for (EncodedFixup fixup : part.fixups) {
        fixup.position += base;
        out.fixups.push_back(fixup);
    }
}

// The tokens between a '<' at `open` and its matching '>', with an End token.
std::vector<Token> bracketed(std::span<const Token> tokens, std::size_t open, std::size_t &close)
{
    int depth = 0;
    for (std::size_t i = open; i < tokens.size(); ++i) {
        if (tokens[i].is('<'))
            ++depth;
        else if (tokens[i].is('>') && --depth == 0) {
            close = i;
            std::vector<Token> inner(tokens.begin() + static_cast<std::ptrdiff_t>(open) + 1,
                                     tokens.begin() + static_cast<std::ptrdiff_t>(i));
            inner.emplace_back();
            return inner;
        }
    }
    throw AsmError("Need right angle bracket");
}

} // namespace

DebugSymbol Assembler::variableSymbol(int unit, std::uint32_t count, bool isString)
{
    DebugSymbol entry;
    entry.kind = DebugSymbolKind::Variable;
    entry.unitSize = unit;
    entry.count = count;
    entry.isString = isString;
    return entry;
}

void Assembler::dataDirective(const Token *name, int unit, std::span<const Token> rest)
{
    const std::vector<Token> tokens = expandTextEquates(rest);
    Encoded out;
    std::vector<bool> initialised;
    int firstCount = 0;
    encodeDataList(tokens, unit, out, initialised, &firstCount);
    // A DB whose first item is a quoted string of more than one character.
    const bool isString = unit == 1 && tokens[0].kind == TokenKind::String && tokens[0].text.size() > 1;
    if (name) {
        if (structure_.symbol >= 0) {
            const int index = defineSymbol(name->text, SymbolKind::StructField);
            Symbol &symbol = result_.symbols[index];
            symbol.value = structure_.offset;
            symbol.type = unit;
            StructFieldInfo field;
            field.name = name->text;
            field.offset = structure_.offset;
            field.unit = unit;
            field.count = static_cast<int>(out.bytes.size()) / unit;
            field.bytes = out.bytes;
            field.initialised = initialised;
            field.shown = out.shown;
            field.isString = isString;
            result_.symbols[structure_.symbol].fields.push_back(field);
        } else {
            requireSegment();
            const int index = defineSymbol(name->text, SymbolKind::Variable);
            Symbol &symbol = result_.symbols[index];
            symbol.segment = segment_;
            symbol.value = location();
            symbol.type = unit;
            symbol.length = firstCount > 0 ? firstCount : 1;
            symbol.size = symbol.length * unit;
            recordSymbol(name->text,
                         variableSymbol(unit, static_cast<std::uint32_t>(out.bytes.size()) / unit, isString));
        }
    }
    if (structure_.symbol >= 0)
        out.shown = dupShown(1, out.shown); // a field's default lists as one DUP
    emit(out, &initialised);
}

void Assembler::encodeDataList(std::span<const Token> items, int unit, Encoded &out, std::vector<bool> &initialised,
                               int *firstCount)
{
    bool first = true;
    for (const std::vector<Token> &item : splitItems(items)) {
        encodeDataItem(item, unit, out, initialised, first ? firstCount : nullptr);
        first = false;
    }
}

void Assembler::encodeDataItem(std::span<const Token> item, int unit, Encoded &out, std::vector<bool> &initialised,
                               int *firstCount)
{
    if (item[0].kind == TokenKind::End)
        throw AsmError("Need expression");
    if (item[0].isName("?") && item[1].kind == TokenKind::End) {
        out.bytes.insert(out.bytes.end(), static_cast<std::size_t>(unit), 0);
        initialised.insert(initialised.end(), static_cast<std::size_t>(unit), false);
        out.shown.emplace_back(static_cast<std::size_t>(unit) * 2, '?');
        return;
    }
    if (item[0].kind == TokenKind::String && item[1].kind == TokenKind::End) {
        const std::string &text = item[0].text;
        if (unit == 1) {
            for (unsigned char c : text) {
                out.bytes.push_back(c);
                out.shown.push_back(hexDigits(c, 2));
                initialised.push_back(true);
            }
            return;
        }
        if (text.size() > 2)
            throw AsmError("Value out of range");
    }
    ExpressionParser parser(*this, item);
    Value value;
    try {
        value = parser.parse();
    } catch (const AsmError &failure) {
        // A DUP count must be known where it is written.
        const std::string text = failure.what();
        const std::string undefined = "Undefined symbol: ";
        const bool repeated = std::any_of(item.begin(), item.end(), [](const Token &t) { return t.isName("DUP"); });
        if (repeated && text.starts_with(undefined))
            throw AsmError("Illegal forward reference: " + text.substr(undefined.size()));
        throw;
    }
    if (parser.current().isName("DUP")) {
        if (value.unknown)
            throw AsmError("Illegal forward reference");
        if (value.number <= 0 || value.relocatable())
            throw AsmError("Positive count needed");
        std::size_t open = parser.position() + 1;
        if (!item[open].is('('))
            throw AsmError("Need left parenthesis");
        int depth = 0;
        std::size_t close = open;
        for (; close < item.size(); ++close) {
            if (item[close].is('('))
                ++depth;
            else if (item[close].is(')') && --depth == 0)
                break;
        }
        if (close >= item.size() || item[close].kind == TokenKind::End)
            throw AsmError("Need right parenthesis");
        std::vector<Token> inner(item.begin() + static_cast<std::ptrdiff_t>(open) + 1,
                                 item.begin() + static_cast<std::ptrdiff_t>(close));
        inner.emplace_back();
        Encoded once;
        std::vector<bool> onceInit;
        encodeDataList(inner, unit, once, onceInit, nullptr);
        // A segment holds 64 KB; a larger DUP cannot be laid out.
        if (static_cast<std::uint64_t>(value.number) * once.bytes.size() > 0x10000)
            throw AsmError("Location counter overflow");
        // The listing shows a DUP once, as count*(contents).
        Encoded repeated;
        std::vector<bool> repeatedInit;
        for (std::int64_t i = 0; i < value.number; ++i)
            append(repeated, repeatedInit, once, onceInit);
        repeated.shown = dupShown(value.number, once.shown);
        append(out, initialised, repeated, repeatedInit);
        if (firstCount)
            *firstCount = static_cast<int>(value.number);
        if (item[close + 1].kind != TokenKind::End)
            throw AsmError("Extra characters on line");
        return;
    }
    if (!parser.atEnd())
        throw AsmError(parser.current().is(')') || parser.current().is('(') ? "Need right parenthesis"
                                                                            : "Extra characters on line");
    encodeValue(value, unit, out, initialised);
}

void Assembler::encodeValue(const Value &value, int unit, Encoded &out, std::vector<bool> &initialised)
{
    if (value.isRegister() || value.hasIndex())
        throw AsmError("Illegal use of register");
    const std::size_t start = out.bytes.size();
    auto put = [&](std::uint64_t number, int count) {
        for (int i = 0; i < count; ++i)
            out.bytes.push_back(static_cast<std::uint8_t>((number >> (8 * i)) & 0xFF));
    };
    auto fixup = [&](FixupKind kind, int length) {
        if (value.unknown)
            return;
        EncodedFixup entry;
        entry.position = static_cast<int>(start);
        entry.length = length;
        entry.kind = kind;
        entry.relocation = value.relocation;
        entry.target = value.target;
        entry.targetIsGroup = value.targetIsGroup;
        out.fixups.push_back(entry);
    };
    const bool segmentValue =
        value.relocation == Relocation::SegmentBase || value.relocation == Relocation::ExternalBase;
    switch (unit) {
    case 1:
        if (value.relocatable() && !value.unknown)
            throw AsmError("Constant too large");
        if (!value.unknown && (value.number > 255 || value.number < -256))
            throw AsmError("Value out of range");
        put(static_cast<std::uint64_t>(value.number), 1);
        break;
    case 2:
        if (!value.relocatable() && !value.unknown && (value.number > 0xFFFF || value.number < -0x10000))
            throw AsmError("Value out of range");
        if (value.relocatable())
            fixup(segmentValue ? FixupKind::Segment16 : FixupKind::Offset16, 2);
        put(static_cast<std::uint64_t>(value.number), 2);
        break;
    case 4:
        if (value.relocatable()) {
            if (segmentValue) {
                fixup(FixupKind::Segment16, 2);
                put(0, 4);
            } else {
                fixup(FixupKind::Pointer32, 4);
                put(static_cast<std::uint64_t>(value.number) & 0xFFFF, 4);
            }
        } else {
            put(static_cast<std::uint64_t>(value.number), 4);
        }
        break;
    case 10: {
        // An integer in DT is stored as packed BCD: nine bytes of digits and a sign byte.
        std::uint64_t magnitude =
            value.number < 0 ? static_cast<std::uint64_t>(-value.number) : static_cast<std::uint64_t>(value.number);
        for (int i = 0; i < 9; ++i) {
            const int low = static_cast<int>(magnitude % 10);
            magnitude /= 10;
            const int high = static_cast<int>(magnitude % 10);
            magnitude /= 10;
            out.bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
        }
        out.bytes.push_back(value.number < 0 ? 0x80 : 0x00);
        break;
    }
    default:
        put(static_cast<std::uint64_t>(value.number), unit);
        break;
    }
    initialised.insert(initialised.end(), out.bytes.size() - start, true);
    std::string shownText;
    for (std::size_t i = out.bytes.size(); i > start; --i)
        shownText += hexDigits(out.bytes[i - 1], 2);
    const std::string letters = out.fixups.empty() || out.fixups.back().position != static_cast<int>(start)
                                    ? std::string()
                                    : relocationLetters(out.fixups.back());
    out.shown.push_back(shownText + letters);
}

void Assembler::structureInstance(const Token *name, int structure, std::span<const Token> rest)
{
    const std::vector<Token> tokens = expandTextEquates(rest);
    Encoded out;
    std::vector<bool> initialised;
    int count = 0;
    for (const std::vector<Token> &item : splitItems(tokens)) {
        std::span<const Token> itemTokens(item);
        if (item[0].is('<')) {
            std::size_t close = 0;
            encodeStructure(structure, bracketed(itemTokens, 0, close), out, initialised);
            ++count;
            continue;
        }
        ExpressionParser parser(*this, itemTokens);
        const Value repeat = parser.parse();
        if (!parser.current().isName("DUP") || !item[parser.position() + 1].is('(') ||
            !item[parser.position() + 2].is('<'))
            throw AsmError("Need expression");
        std::size_t close = 0;
        const std::vector<Token> inner = bracketed(itemTokens, parser.position() + 2, close);
        Encoded once;
        std::vector<bool> onceInit;
        encodeStructure(structure, inner, once, onceInit);
        if (repeat.number < 0 || static_cast<std::uint64_t>(repeat.number) * once.bytes.size() > 0x10000)
            throw AsmError("Location counter overflow");
        Encoded repeated;
        std::vector<bool> repeatedInit;
        for (std::int64_t i = 0; i < repeat.number; ++i)
            append(repeated, repeatedInit, once, onceInit);
        repeated.shown = dupShown(repeat.number, once.shown);
        append(out, initialised, repeated, repeatedInit);
        count += static_cast<int>(repeat.number);
    }
    // Copied: defining the name may move the symbols.
    const int typeSize = result_.symbols[structure].size;
    if (name) {
        if (structure_.symbol >= 0) {
            const int index = defineSymbol(name->text, SymbolKind::StructField);
            result_.symbols[index].value = structure_.offset;
            result_.symbols[index].type = typeSize;
            StructFieldInfo field;
            field.name = name->text;
            field.offset = structure_.offset;
            field.unit = typeSize;
            field.count = count;
            field.bytes = out.bytes;
            field.initialised = initialised;
            field.shown = out.shown;
            field.structIndex = structure;
            result_.symbols[structure_.symbol].fields.push_back(field);
        } else {
            requireSegment();
            const int index = defineSymbol(name->text, SymbolKind::Variable);
            Symbol &symbol = result_.symbols[index];
            symbol.segment = segment_;
            symbol.value = location();
            symbol.type = typeSize;
            symbol.length = count;
            symbol.size = count * typeSize;
            symbol.structure = structure;
            recordSymbol(name->text, variableSymbol(1, static_cast<std::uint32_t>(count * typeSize), false));
        }
    }
    if (structure_.symbol >= 0)
        out.shown = dupShown(1, out.shown);
    emit(out, &initialised);
}

void Assembler::encodeStructure(int structure, std::span<const Token> initialiser, Encoded &out,
                                std::vector<bool> &initialised)
{
    const std::vector<StructFieldInfo> fields = result_.symbols[structure].fields;
    std::vector<std::vector<Token>> items = splitItems(initialiser);
    if (items.size() == 1 && items[0][0].kind == TokenKind::End)
        items.clear();
    if (items.size() > fields.size())
        throw AsmError("Too many initial values");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const StructFieldInfo &field = fields[i];
        const bool overridden = i < items.size() && items[i][0].kind != TokenKind::End;
        if (!overridden) {
            Encoded defaults;
            defaults.bytes = field.bytes;
            defaults.shown = field.shown;
            append(out, initialised, defaults, field.initialised);
            continue;
        }
        const std::vector<Token> &item = items[i];
        if (item[0].is('<'))
            throw AsmError("Need expression");
        Encoded part;
        std::vector<bool> partInit;
        if (field.isString && item[0].kind == TokenKind::String && item[1].kind == TokenKind::End) {
            if (item[0].text.size() > field.bytes.size())
                throw AsmError("String too long");
            for (unsigned char c : item[0].text)
                part.bytes.push_back(c);
            part.bytes.resize(field.bytes.size(), ' ');
            for (std::uint8_t c : part.bytes)
                part.shown.push_back(hexDigits(c, 2));
            partInit.assign(part.bytes.size(), true);
        } else {
            encodeDataList(item, field.unit, part, partInit, nullptr);
            if (part.bytes.size() < field.bytes.size()) {
                for (std::size_t k = part.bytes.size(); k < field.bytes.size(); ++k) {
                    part.bytes.push_back(field.bytes[k]);
                    partInit.push_back(field.initialised[k]);
                }
            }
        }
        append(out, initialised, part, partInit);
    }
}

void Assembler::recordInstance(const Token *name, int record, std::span<const Token> rest)
{
    const std::vector<Token> tokens = expandTextEquates(rest);
    const Symbol type = result_.symbols[record]; // a copy: defining the name may move the symbols
    std::size_t close = 0;
    if (!tokens[0].is('<'))
        throw AsmError("Need expression");
    const std::vector<Token> inner = bracketed(tokens, 0, close);
    std::vector<std::vector<Token>> items = splitItems(inner);
    if (items.size() == 1 && items[0][0].kind == TokenKind::End)
        items.clear();
    if (items.size() > type.recordFields.size())
        throw AsmError("Too many initial values");
    std::int64_t value = 0;
    for (std::size_t i = 0; i < type.recordFields.size(); ++i) {
        const Symbol &field = result_.symbols[type.recordFields[i]];
        std::int64_t fieldValue = field.defaultValue;
        if (i < items.size() && items[i][0].kind != TokenKind::End)
            fieldValue = constantOf(items[i]);
        value |= (fieldValue << field.value) & field.mask;
    }
    if (name) {
        requireSegment();
        const int index = defineSymbol(name->text, SymbolKind::Variable);
        Symbol &symbol = result_.symbols[index];
        symbol.segment = segment_;
        symbol.value = location();
        symbol.type = type.size;
        symbol.size = type.size;
        recordSymbol(name->text, variableSymbol(type.size, 1, false));
    }
    Encoded out;
    std::vector<bool> initialised;
    Value number;
    number.number = value;
    encodeValue(number, type.size, out, initialised);
    emit(out, &initialised);
}

} // namespace velmora::assembler
