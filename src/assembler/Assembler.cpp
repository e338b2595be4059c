#include "assembler/Assembler.h"

#include "assembler/AsmError.h"

#include <algorithm>

namespace velmora::assembler
{

namespace
{

constexpr int maxMessages = 100;

bool isNameDirective(const std::string &upper)
{
    static const char *const names[] = {"SEGMENT", "ENDS",  "PROC", "ENDP", "EQU", "LABEL", "STRUC", "STRUCT",
                                        "RECORD",  "GROUP", "DB",   "DW",   "DD",  "DF",    "DQ",    "DT"};
    return std::any_of(std::begin(names), std::end(names), [&](const char *name) { return upper == name; });
}

} // namespace

namespace
{

// Room kept for a statement that failed in the last pass.
Encoded zeros(int count)
{
    Encoded filler;
    filler.bytes.assign(static_cast<std::size_t>(count), 0);
    filler.shown.assign(static_cast<std::size_t>(count), "00");
    return filler;
}

} // namespace

Assembly assemble(const std::string &path, const std::string &text, const FileReader &reader,
                  const AssemblyOptions &options)
{
    Assembler assembler(options, reader);
    return assembler.run(path, text);
}

Assembler::Assembler(const AssemblyOptions &options, const FileReader &reader)
    : options_(options), reader_(reader), expander_(*this, reader)
{
}

Assembly Assembler::run(const std::string &path, const std::string &text)
{
    const std::size_t slash = path.find_last_of('/');
    result_.module.sourceName = slash == std::string::npos ? path : path.substr(slash + 1);
    firstPass_ = true;
    final_ = false;
    runPass(path, text);
    int passes = 1;
    if (options_.multiPass) {
        firstPass_ = false;
        while (!result_.fatal && passes < std::max(options_.maxPasses, 2)) {
            sizesChanged_ = false;
            runPass(path, text);
            ++passes;
            if (!sizesChanged_)
                break;
        }
    }
    if (!result_.fatal) {
        firstPass_ = false;
        final_ = true;
        runPass(path, text);
        ObjectModule &module = result_.module;
        for (std::size_t i = 0; i < module.segments.size(); ++i) {
            DebugSymbol segment;
            segment.name = module.segments[i].name;
            segment.kind = DebugSymbolKind::Segment;
            segment.segment = static_cast<int>(i);
            segment.count = module.segments[i].size;
            module.symbols.push_back(segment);
        }
    }
    result_.passes = options_.multiPass ? passes : 1;
    result_.fileNames = expander_.fileNames();
    result_.macroNames = expander_.macroNames();
    return std::move(result_);
}

void Assembler::runPass(const std::string &path, const std::string &text)
{
    for (std::size_t i = 0; i < result_.symbols.size(); ++i)
        result_.symbols[static_cast<int>(i)].definedThisPass = false;
    ObjectModule &module = result_.module;
    for (Segment &segment : module.segments) {
        segment.bytes.clear();
        segment.initialised.clear();
        segment.fixups.clear();
        segment.size = 0;
    }
    module.externals.clear();
    module.publics.clear();
    module.lines.clear();
    module.symbols.clear();
    module.hasStart = false;
    for (Group &group : module.groups)
        group.segments.clear();
    for (Segment &segment : module.segments)
        segment.group = -1;
    locations_.assign(module.segments.size(), 0);
    result_.listing.clear();
    statementNumber_ = 0;
    segment_ = -1;
    segmentStack_.clear();
    assumes_ = {};
    model_ = MemoryModel::None;
    cpu_ = Cpu::I8086;
    jumps_ = false;
    locals_ = false;
    scope_ = 0;
    procedures_.clear();
    structure_ = {};
    ended_ = false;

    // The text symbols TASM defines before the first line.
    std::string base = upperCase(result_.module.sourceName);
    base = base.substr(0, base.find('.'));
    std::string padded = result_.module.sourceName.substr(0, result_.module.sourceName.find('.'));
    padded.resize(std::max<std::size_t>(padded.size(), 8), ' ');
    predefine("??DATE", "\"" + options_.date + "\"");
    predefine("??FILENAME", "\"" + padded + "\"");
    predefine("??TIME", "\"" + options_.time + "\"");
    predefine("@CPU", "0101H");
    predefine("@FILENAME", base);
    predefine("@WORDSIZE", "2");
    const int version = result_.symbols.intern("??VERSION");
    result_.symbols[version].kind = SymbolKind::Number;
    result_.symbols[version].value = 0x314;
    result_.symbols[version].definedThisPass = true;
    result_.symbols[version].definedAt = 0;
    expander_.start(path, text);
    SourceLine line;
    int lastLine = 0;
    while (!result_.fatal && !stopped_ && expander_.next(line)) {
        if (line.level == 0 && line.file == 0)
            lastLine = line.line;
        statement(line);
        ++statementNumber_;
        if (ended_)
            expander_.stop();
    }
    if (result_.fatal || stopped_ || !final_)
        return;
    if (!ended_) {
        SourceLine end;
        end.line = lastLine + 2;
        result_.fatal = true;
        message(MessageKind::Fatal, "Unexpected end of file encountered", end);
        return;
    }
}

void Assembler::statement(const SourceLine &line)
{
    line_ = &line;
    listed_ = nullptr;
    if (final_ && options_.keepListing) {
        result_.listing.emplace_back();
        listed_ = &result_.listing.back();
        listed_->source = line;
    }
    if (line.quiet || line.skipped)
        return;
    try {
        statementTokens(tokenize(line.text), line);
    } catch (const AsmError &failure) {
        message(MessageKind::Error, failure.what(), line);
    }
}

void Assembler::statementTokens(std::vector<Token> tokens, const SourceLine &line)
{
    std::span<const Token> all(tokens);
    std::size_t first = 0;
    if (all[0].kind == TokenKind::End)
        return;
    for (const Token &token : all)
        if (token.kind == TokenKind::String && token.bad)
            warn("Missing end quote");
    // A label with a colon.
    if (all[0].kind == TokenKind::Name && all[1].is(':')) {
        RegClass regClass;
        int number;
        if (!registerByName(all[0].text, regClass, number) || regClass != RegClass::Segment) {
            defineLabel(all[0].text, TypeNear);
            first = 2;
            if (all[first].kind == TokenKind::End || line.labelOnly)
                return;
        }
    }
    const Token &head = all[first];
    std::span<const Token> rest = all.subspan(first + 1);
    if (head.kind != TokenKind::Name)
        throw AsmError("Illegal instruction");
    const std::string keyword = upperCase(head.text);
    const Token &second = all[first + 1];
    const std::string secondWord = second.kind == TokenKind::Name ? upperCase(second.text) : std::string();
    // Most lines are instructions; a mnemonic used as a name ("loop db 1") is the exception.
    if (isMnemonic(keyword) && !second.is('=') && !isNameDirective(secondWord)) {
        instruction(keyword, rest);
        return;
    }
    if (first == 0) {
        if (second.is('=')) {
            equate(head, all.subspan(2), true);
            return;
        }
        if (!secondWord.empty() && nameDirective(head, secondWord, all.subspan(2)))
            return;
    }
    if (plainDirective(keyword, rest, line))
        return;
    throw AsmError("Illegal instruction");
}

bool Assembler::nameDirective(const Token &name, const std::string &directive, std::span<const Token> rest)
{
    if (!isNameDirective(directive)) {
        const int type = lookup(directive);
        if (type >= 0 && result_.symbols[type].kind == SymbolKind::Struct) {
            structureInstance(&name, type, rest);
            return true;
        }
        if (type >= 0 && result_.symbols[type].kind == SymbolKind::Record) {
            recordInstance(&name, type, rest);
            return true;
        }
        return false;
    }
    if (directive == "DB" || directive == "DW" || directive == "DD" || directive == "DF" || directive == "DQ" ||
        directive == "DT") {
        const int unit = directive == "DB"   ? 1
                         : directive == "DW" ? 2
                         : directive == "DD" ? 4
                         : directive == "DF" ? 6
                         : directive == "DQ" ? 8
                                             : 10;
        dataDirective(&name, unit, rest);
    } else if (directive == "EQU") {
        equate(name, rest, false);
    } else if (directive == "SEGMENT") {
        segmentDirective(upperCase(name.text), rest);
    } else if (directive == "ENDS") {
        const std::string upper = upperCase(name.text);
        if (structure_.symbol >= 0) {
            Symbol &structure = result_.symbols[structure_.symbol];
            structure.size = structure_.offset;
            structure.type = structure_.offset;
            structure_ = {};
            listOffset(true);
            if (listed_)
                listed_->offset = static_cast<std::uint32_t>(structure.size);
        } else if (segment_ >= 0 && result_.module.segments[segment_].name == upper) {
            listOffset();
            closeSegment();
        } else {
            // TASM warns and still closes the segment that is open.
            warn("Unmatched ENDS: " + upper);
            closeSegment();
        }
    } else if (directive == "PROC") {
        procedure(name, rest);
    } else if (directive == "ENDP") {
        endProcedure(name);
    } else if (directive == "LABEL") {
        labelDirective(name, rest);
    } else if (directive == "STRUC" || directive == "STRUCT") {
        structureStart(name);
    } else if (directive == "RECORD") {
        recordDefinition(name, rest);
    } else if (directive == "GROUP") {
        const int group = groupByName(upperCase(name.text));
        for (const Token &token : rest)
            if (token.kind == TokenKind::Name)
                addToGroup(segmentByName(upperCase(token.text), true), group);
    }
    return true;
}

std::vector<Token> Assembler::expandTextEquates(std::span<const Token> tokens)
{
    std::vector<Token> result;
    for (const Token &token : tokens) {
        if (token.kind == TokenKind::End)
            break;
        const int index = token.kind == TokenKind::Name ? lookup(token.text) : -1;
        if (index >= 0 && result_.symbols[index].kind == SymbolKind::Text) {
            std::vector<Token> inner = tokenize(result_.symbols[index].text);
            for (int depth = 0; depth < 8; ++depth) {
                bool again = false;
                std::vector<Token> expanded;
                for (const Token &piece : inner) {
                    const int nested = piece.kind == TokenKind::Name ? lookup(piece.text) : -1;
                    if (nested >= 0 && result_.symbols[nested].kind == SymbolKind::Text) {
                        std::vector<Token> more = tokenize(result_.symbols[nested].text);
                        expanded.insert(expanded.end(), more.begin(), more.end() - 1);
                        again = true;
                    } else if (piece.kind != TokenKind::End) {
                        expanded.push_back(piece);
                    }
                }
                inner = std::move(expanded);
                if (!again)
                    break;
            }
            for (Token &piece : inner)
                if (piece.kind != TokenKind::End)
                    result.push_back(std::move(piece));
        } else {
            result.push_back(token);
        }
    }
    Token end;
    result.push_back(end);
    return result;
}

void Assembler::instruction(const std::string &mnemonic, std::span<const Token> rest)
{
    requireSegment();
    const std::vector<Token> tokens = expandTextEquates(rest);
    std::span<const Token> operandTokens(tokens);
    EncodeContext context;
    context.segment = segment_;
    context.offset = location();
    context.cpu = cpu_;
    context.jumps = jumps_;
    context.farProcedure = !procedures_.empty() && procedures_.back().far;
    context.reaches = [this](int segmentRegister, int segment) { return reaches(segmentRegister, segment); };
    context.warn = [this](const std::string &text) { warn(text); };
    const bool haveLayout = statementNumber_ < static_cast<int>(layout_.size());
    if (final_ && haveLayout && !options_.multiPass)
        context.forwardStatement = layout_[statementNumber_].forward;

    Encoded encoded;
    bool forward = false;
    // Encodes one instruction of the line (a prefix may be followed by another).
    std::function<void(const std::string &, std::span<const Token>)> encodeOne = [&](const std::string &name,
                                                                                     std::span<const Token> operands) {
        if (isPrefix(name) && operands[0].kind == TokenKind::Name && isMnemonic(upperCase(operands[0].text))) {
            const Encoded prefix = encodeInstruction(name, {}, context);
            encoded.bytes.insert(encoded.bytes.end(), prefix.bytes.begin(), prefix.bytes.end());
            encoded.shown.insert(encoded.shown.end(), prefix.shown.begin(), prefix.shown.end());
            context.offset += static_cast<std::uint32_t>(prefix.bytes.size());
            encodeOne(upperCase(operands[0].text), operands.subspan(1));
            return;
        }
        // PUSH and POP take several registers separated by blanks.
        if ((name == "PUSH" || name == "POP") && operands.size() > 2 && operands[1].kind == TokenKind::Name) {
            bool allRegisters = true;
            for (const Token &token : operands) {
                RegClass regClass;
                int number;
                allRegisters =
                    allRegisters && (token.kind == TokenKind::End || registerByName(token.text, regClass, number));
            }
            if (allRegisters) {
                for (const Token &token : operands) {
                    if (token.kind == TokenKind::End)
                        break;
                    Token single[2] = {token, Token{}};
                    encodeOne(name, std::span<const Token>(single, 2));
                }
                return;
            }
        }
        std::vector<Value> values;
        std::size_t start = 0;
        int depth = 0;
        for (std::size_t i = 0; i < operands.size(); ++i) {
            const Token &token = operands[i];
            if (token.is('[') || token.is('('))
                ++depth;
            else if (token.is(']') || token.is(')'))
                --depth;
            const bool end = token.kind == TokenKind::End;
            if (end || (depth == 0 && token.is(','))) {
                if (i == start) {
                    if (!end || !values.empty())
                        throw AsmError("Need address or register");
                    break;
                }
                std::vector<Token> piece(operands.begin() + static_cast<std::ptrdiff_t>(start),
                                         operands.begin() + static_cast<std::ptrdiff_t>(i));
                piece.emplace_back();
                ExpressionParser parser(*this, piece);
                Value value = parser.parse();
                if (!parser.atEnd())
                    throw AsmError("Extra characters on line");
                if (value.memory && !value.relocatable() && !value.hasIndex() && value.override < 0 && !value.unknown &&
                    !value.explicitType) {
                    warn("[Constant] assumed to mean immediate constant");
                    value.memory = false;
                }
                forward = forward || value.unknown;
                values.push_back(value);
                start = i + 1;
            }
            if (end)
                break;
        }
        const Encoded one = encodeInstruction(name, values, context);
        const int base = static_cast<int>(encoded.bytes.size());
        encoded.bytes.insert(encoded.bytes.end(), one.bytes.begin(), one.bytes.end());
        encoded.shown.insert(encoded.shown.end(), one.shown.begin(), one.shown.end());
        for (EncodedFixup fixup : one.fixups) {
            fixup.position += base;
            encoded.fixups.push_back(fixup);
        }
        context.offset += static_cast<std::uint32_t>(one.bytes.size());
    };
    try {
        encodeOne(mnemonic, operandTokens);
    } catch (const AsmError &failure) {
        if (final_ && haveLayout) {
            // Keep the layout: the statement still takes the room it had. With an undefined
            // name it is encoded as the first pass saw it, the name standing for 0.
            Encoded filler = zeros(layout_[statementNumber_].size);
            if (std::string(failure.what()).starts_with("Undefined symbol")) {
                encoded = {};
                context.offset = location();
                toleratingUndefined_ = true;
                try {
                    encodeOne(mnemonic, operandTokens);
                    if (encoded.bytes.size() == filler.bytes.size())
                        filler = encoded;
                } catch (const AsmError &) {
                }
                toleratingUndefined_ = false;
            }
            if (!filler.bytes.empty())
                emit(filler);
        }
        throw;
    }
    if (final_ && haveLayout) {
        const int reserved = layout_[statementNumber_].size;
        const int actual = static_cast<int>(encoded.bytes.size());
        if (actual < reserved) {
            encoded.bytes.resize(static_cast<std::size_t>(reserved), 0x90);
            encoded.shown.resize(encoded.shown.size() + static_cast<std::size_t>(reserved - actual), "90");
        } else if (actual > reserved) {
            emit(zeros(reserved));
            throw AsmError("Forward reference needs override");
        }
    } else if (!final_) {
        if (statementNumber_ >= static_cast<int>(layout_.size()))
            layout_.resize(static_cast<std::size_t>(statementNumber_) + 1);
        StatementLayout &entry = layout_[statementNumber_];
        const int size = static_cast<int>(encoded.bytes.size());
        if (!firstPass_ && entry.size != size)
            sizesChanged_ = true;
        entry.size = size;
        if (firstPass_)
            entry.forward = forward;
    }
    emit(encoded);
}

std::string Assembler::scopedName(std::string_view name) const
{
    if (locals_ && name.size() > 2 && name[0] == '@' && name[1] == '@')
        return std::string(name) + "@" + std::to_string(scope_);
    return std::string(name);
}

int Assembler::lookup(std::string_view name)
{
    const int index = result_.symbols.find(scopedName(name));
    if (index < 0)
        return -1;
    const Symbol &symbol = result_.symbols[index];
    if (symbol.definedThisPass)
        return index;
    if (!firstPass_ && symbol.definedAt >= 0)
        return index;
    return -1;
}

int Assembler::defineSymbol(std::string_view name, SymbolKind kind)
{
    const int index = result_.symbols.intern(scopedName(name));
    Symbol &symbol = result_.symbols[index];
    if (symbol.definedThisPass && !(symbol.redefinable && kind == SymbolKind::Number))
        throw AsmError("Symbol already defined elsewhere: " + upperCase(name));
    if (final_ && options_.warningLevel > 0) {
        RegClass regClass;
        int number;
        const std::string upper = upperCase(name);
        // TABLE is a directive of TASM's object extensions, a reserved word in every mode.
        if (registerByName(upper, regClass, number) || isMnemonic(upper) || upper == "TABLE")
            warn("Reserved word used as symbol: " + upper);
    }
    symbol.kind = kind;
    symbol.definedThisPass = true;
    symbol.definedAt = statementNumber_;
    return index;
}

void Assembler::defineLabel(std::string_view name, int type, DebugSymbolKind kind)
{
    requireSegment();
    const bool local = name.size() > 2 && name[0] == '@' && name[1] == '@';
    if (!local && locals_)
        ++scope_;
    const int index = defineSymbol(name, SymbolKind::Label);
    Symbol &symbol = result_.symbols[index];
    symbol.segment = segment_;
    symbol.value = location();
    symbol.type = type;
    symbol.size = 0;
    DebugSymbol entry;
    entry.kind = kind;
    entry.far = type == TypeFar;
    recordSymbol(name, entry);
    listOffset();
}

void Assembler::recordSymbol(std::string_view name, DebugSymbol entry)
{
    // Local @@ labels repeat from scope to scope and ?? names are made by LOCAL: neither
    // names anything the programmer can look for.
    if (!final_ || structure_.symbol >= 0 || name.starts_with("@@") || name.starts_with("??"))
        return;
    entry.name = std::string(name);
    entry.segment = segment_;
    entry.offset = static_cast<std::uint16_t>(location());
    result_.module.symbols.push_back(std::move(entry));
}

void Assembler::requireSegment() const
{
    if (segment_ < 0)
        throw AsmError("Code or data emission to undeclared segment");
}

Value Assembler::here() const
{
    Value value;
    value.number = location();
    value.relocation = Relocation::Offset;
    value.target = segment_;
    value.isCode = true;
    value.type = TypeNear;
    return value;
}

int Assembler::groupOf(int segment) const
{
    if (segment < 0 || segment >= static_cast<int>(result_.module.segments.size()))
        return -1;
    return result_.module.segments[segment].group;
}

std::uint32_t Assembler::location() const
{
    if (structure_.symbol >= 0)
        return static_cast<std::uint32_t>(structure_.offset);
    return segment_ < 0 ? 0 : locations_[static_cast<std::size_t>(segment_)];
}

void Assembler::setLocation(std::uint32_t offset)
{
    if (structure_.symbol >= 0) {
        structure_.offset = static_cast<int>(offset);
        return;
    }
    requireSegment();
    locations_[static_cast<std::size_t>(segment_)] = offset;
    Segment &segment = result_.module.segments[segment_];
    segment.size = std::max(segment.size, offset);
}

void Assembler::listOffset(bool inStructure, bool outsideSegments)
{
    if (!listed_ || listed_->hasOffset)
        return;
    if (!inStructure && structure_.symbol < 0 && segment_ < 0 && !outsideSegments)
        return;
    listed_->hasOffset = true;
    listed_->inStructure = inStructure || structure_.symbol >= 0;
    listed_->offset = location();
}

void Assembler::emit(const Encoded &encoded, const std::vector<bool> *initialised)
{
    listOffset();
    const std::uint32_t start = location();
    const std::size_t count = encoded.bytes.size();
    if (listed_) {
        const int base = static_cast<int>(listed_->bytes.size());
        listed_->bytes.insert(listed_->bytes.end(), encoded.bytes.begin(), encoded.bytes.end());
        listed_->shown.insert(listed_->shown.end(), encoded.shown.begin(), encoded.shown.end());
        for (std::size_t i = 0; i < count; ++i)
            listed_->initialised.push_back(!initialised || (*initialised)[i]);
        for (const EncodedFixup &fixup : encoded.fixups)
            listed_->relocations.push_back({base + fixup.position, fixup.length, relocationLetters(fixup)});
    }
    if (structure_.symbol >= 0) {
        structure_.offset += static_cast<int>(count);
        return;
    }
    requireSegment();
    Segment &segment = result_.module.segments[segment_];
    if (final_) {
        if (segment.bytes.size() < start + count) {
            segment.bytes.resize(start + count, 0);
            segment.initialised.resize(start + count, false);
        }
        for (std::size_t i = 0; i < count; ++i) {
            segment.bytes[start + i] = encoded.bytes[i];
            segment.initialised[start + i] = !initialised || (*initialised)[i];
        }
        for (const EncodedFixup &encodedFixup : encoded.fixups) {
            if (encodedFixup.target < 0)
                continue;
            Fixup fixup;
            fixup.offset = static_cast<std::uint16_t>(start + static_cast<std::uint32_t>(encodedFixup.position));
            fixup.kind = encodedFixup.kind;
            switch (encodedFixup.relocation) {
            case Relocation::External:
            case Relocation::ExternalBase:
                fixup.target = {TargetKind::External, encodedFixup.target};
                fixup.frame = fixup.target;
                break;
            case Relocation::SegmentBase:
                fixup.target = {encodedFixup.targetIsGroup ? TargetKind::Group : TargetKind::Segment,
                                encodedFixup.target};
                fixup.frame = fixup.target;
                break;
            default: {
                fixup.target = {TargetKind::Segment, encodedFixup.target};
                const int group = groupOf(encodedFixup.target);
                fixup.frame = group >= 0 ? FixupTarget{TargetKind::Group, group} : fixup.target;
                break;
            }
            }
            segment.fixups.push_back(fixup);
        }
        std::vector<LineNumber> &lines = result_.module.lines;
        if (count > 0 && line_ && line_->file == 0 && (lines.empty() || lines.back().line != line_->line))
            lines.push_back({segment_, static_cast<std::uint16_t>(start), line_->line});
    }
    locations_[static_cast<std::size_t>(segment_)] = start + static_cast<std::uint32_t>(count);
    segment.size = std::max(segment.size, start + static_cast<std::uint32_t>(count));
}

Value Assembler::evaluateTokens(std::span<const Token> tokens)
{
    const std::vector<Token> expanded = expandTextEquates(tokens);
    ExpressionParser parser(*this, expanded);
    Value value = parser.parse();
    if (!parser.atEnd())
        throw AsmError("Extra characters on line");
    return value;
}

std::int64_t Assembler::constantOf(std::span<const Token> tokens)
{
    const Value value = evaluateTokens(tokens);
    if (value.relocatable() || value.isRegister() || value.hasIndex())
        throw AsmError("Constant expected");
    return value.number;
}

std::optional<std::int64_t> Assembler::evaluate(const std::string &expression, const SourceLine &where)
{
    try {
        const std::vector<Token> tokens = tokenize(expression);
        return constantOf(tokens);
    } catch (const AsmError &failure) {
        error(failure.what(), where);
        return std::nullopt;
    }
}

bool Assembler::isDefined(const std::string &name)
{
    const int index = result_.symbols.find(scopedName(name));
    return index >= 0 && result_.symbols[index].definedThisPass;
}

void Assembler::warn(const std::string &text)
{
    if (options_.warningLevel == 0 || !line_)
        return;
    message(MessageKind::Warning, text, *line_);
}

void Assembler::error(const std::string &text, const SourceLine &where)
{
    message(MessageKind::Error, text, where);
}

void Assembler::fatal(const std::string &text, const SourceLine &where)
{
    final_ = true; // a fatal message is reported from whichever pass meets it
    message(MessageKind::Fatal, text, where);
    result_.fatal = true;
}

void Assembler::message(MessageKind kind, const std::string &text, const SourceLine &where)
{
    if (!final_ || stopped_)
        return;
    const bool tooMany = static_cast<int>(result_.messages.size()) >= maxMessages;
    Message entry;
    entry.kind = kind;
    const auto &names = expander_.fileNames();
    entry.file = where.file < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(where.file)] : "";
    entry.line = where.line;
    entry.macroName = upperCase(where.macroName);
    entry.macroLine = where.macroLine;
    entry.text = tooMany ? "Too many errors or warnings" : text;
    entry.sourceText = where.level > 0 ? where.callerText : where.text;
    if (tooMany) {
        entry.kind = MessageKind::Error;
        stopped_ = true;
    }
    if (entry.kind == MessageKind::Fatal)
        result_.fatal = true;
    result_.messages.push_back(entry);
    if (listed_)
        listed_->messages.push_back(static_cast<int>(result_.messages.size()) - 1);
}

} // namespace velmora::assembler
