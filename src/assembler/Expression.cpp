#include "assembler/Expression.h"

#include "assembler/AsmError.h"

#include <array>

namespace velmora::assembler
{

namespace
{

struct RegisterName {
    const char *name;
    RegClass regClass;
    int number;
};

constexpr std::array<RegisterName, 20> registerNames{{
    {"AL", RegClass::Byte, 0},    {"CL", RegClass::Byte, 1},    {"DL", RegClass::Byte, 2},
    {"BL", RegClass::Byte, 3},    {"AH", RegClass::Byte, 4},    {"CH", RegClass::Byte, 5},
    {"DH", RegClass::Byte, 6},    {"BH", RegClass::Byte, 7},    {"AX", RegClass::Word, 0},
    {"CX", RegClass::Word, 1},    {"DX", RegClass::Word, 2},    {"BX", RegClass::Word, 3},
    {"SP", RegClass::Word, 4},    {"BP", RegClass::Word, 5},    {"SI", RegClass::Word, 6},
    {"DI", RegClass::Word, 7},    {"ES", RegClass::Segment, 0}, {"CS", RegClass::Segment, 1},
    {"SS", RegClass::Segment, 2}, {"DS", RegClass::Segment, 3},
}};

Value constant(std::int64_t number)
{
    Value value;
    value.number = number;
    return value;
}

void requireAbsolute(const Value &value)
{
    if (value.unknown)
        return;
    if (value.relocatable() || value.hasIndex() || value.isRegister())
        throw AsmError("Illegal use of register");
}

// Keeps a relocatable value's address part when a number is combined into it.
Value mergeAddress(Value left, const Value &right)
{
    left.memory = left.memory || right.memory;
    if (right.base >= 0) {
        if (left.base >= 0)
            throw AsmError("Illegal indexing mode");
        left.base = right.base;
    }
    if (right.index >= 0) {
        if (left.index >= 0)
            throw AsmError("Illegal indexing mode");
        left.index = right.index;
    }
    if (left.override < 0)
        left.override = right.override;
    if (left.type == 0 || (!left.explicitType && right.explicitType)) {
        left.type = right.type;
        left.explicitType = left.explicitType || right.explicitType;
    }
    left.unknown = left.unknown || right.unknown;
    left.isCode = left.isCode || right.isCode;
    return left;
}

} // namespace

bool registerByName(std::string_view name, RegClass &regClass, int &number)
{
    if (name.size() != 2)
        return false;
    const std::string upper = upperCase(name);
    for (const auto &candidate : registerNames) {
        if (upper == candidate.name) {
            regClass = candidate.regClass;
            number = candidate.number;
            return true;
        }
    }
    return false;
}

int typeKeywordSize(std::string_view upperName)
{
    if (upperName == "BYTE")
        return 1;
    if (upperName == "WORD")
        return 2;
    if (upperName == "DWORD")
        return 4;
    if (upperName == "FWORD")
        return 6;
    if (upperName == "QWORD")
        return 8;
    if (upperName == "TBYTE")
        return 10;
    if (upperName == "NEAR")
        return TypeNear;
    if (upperName == "FAR")
        return TypeFar;
    return 0;
}

// An index register added to an address outside brackets (wvar+bx) indexes it.
Value asIndex(const Value &value)
{
    if (value.regClass != RegClass::Word ||
        (value.reg != reg::BX && value.reg != reg::BP && value.reg != reg::SI && value.reg != reg::DI))
        throw AsmError("Illegal use of register");
    Value index;
    index.memory = true;
    (value.reg == reg::BX || value.reg == reg::BP ? index.base : index.index) = value.reg;
    return index;
}

Value addValues(Value left, const Value &right)
{
    if (left.isRegister() && right.isRegister())
        throw AsmError("Illegal use of register");
    if (right.isRegister())
        return addValues(left, asIndex(right));
    if (left.isRegister())
        return addValues(asIndex(left), right);
    const bool memory = left.memory || right.memory;
    Value result;
    if (left.relocatable() && right.relocatable())
        throw AsmError("Can't add relative quantities");
    if (right.relocatable()) {
        result = mergeAddress(right, left);
        result.number = left.number + right.number;
        if (!right.explicitType && left.explicitType)
            result.type = left.type;
    } else {
        result = mergeAddress(left, right);
        result.number = left.number + right.number;
    }
    result.memory = memory;
    return result;
}

Value subtractValues(Value left, const Value &right)
{
    if (left.isRegister() || right.isRegister() || right.hasIndex())
        throw AsmError("Illegal use of register");
    if (right.relocatable()) {
        if (left.relocation == right.relocation && left.target == right.target &&
            left.relocation == Relocation::Offset) {
            Value result = constant(left.number - right.number);
            result.unknown = left.unknown || right.unknown;
            result.base = left.base;
            result.index = left.index;
            result.memory = left.hasIndex();
            return result;
        }
        if (left.unknown || right.unknown) {
            Value result = constant(0);
            result.unknown = true;
            return result;
        }
        throw AsmError("Can't subtract dissimilar relative quantities");
    }
    Value result = left;
    result.number = left.number - right.number;
    result.unknown = left.unknown || right.unknown;
    result.memory = left.memory || right.memory;
    return result;
}

ExpressionParser::ExpressionParser(IExpressionContext &context, std::span<const Token> tokens)
    : context_(context), tokens_(tokens)
{
}

Value ExpressionParser::parse()
{
    if (atEnd())
        throw AsmError("Need expression");
    return parseOr();
}

Value ExpressionParser::parseOr()
{
    Value left = parseAnd();
    for (;;) {
        if (current().isName("OR")) {
            ++pos_;
            const Value right = parseAnd();
            requireAbsolute(left);
            requireAbsolute(right);
            left.number |= right.number;
            left.unknown = left.unknown || right.unknown;
        } else if (current().isName("XOR")) {
            ++pos_;
            const Value right = parseAnd();
            requireAbsolute(left);
            requireAbsolute(right);
            left.number ^= right.number;
            left.unknown = left.unknown || right.unknown;
        } else {
            return left;
        }
    }
}

Value ExpressionParser::parseAnd()
{
    Value left = parseNot();
    while (current().isName("AND")) {
        ++pos_;
        const Value right = parseNot();
        requireAbsolute(left);
        requireAbsolute(right);
        left.number &= right.number;
        left.unknown = left.unknown || right.unknown;
    }
    return left;
}

Value ExpressionParser::parseNot()
{
    if (current().isName("NOT")) {
        ++pos_;
        Value operand = parseNot();
        requireAbsolute(operand);
        operand.number = ~operand.number;
        return operand;
    }
    return parseRelational();
}

Value ExpressionParser::parseRelational()
{
    Value left = parseAdditive();
    for (;;) {
        const Token &op = current();
        int kind = -1;
        static constexpr std::array<const char *, 6> names{"EQ", "NE", "LT", "LE", "GT", "GE"};
        for (std::size_t i = 0; i < names.size(); ++i)
            if (op.isName(names[i]))
                kind = static_cast<int>(i);
        if (kind < 0)
            return left;
        ++pos_;
        const Value right = parseAdditive();
        const std::int64_t a = left.number, b = right.number;
        const bool results[] = {a == b, a != b, a<b, a <= b, a> b, a >= b};
        Value result = constant(results[kind] ? -1 : 0);
        result.unknown = left.unknown || right.unknown;
        left = result;
    }
}

Value ExpressionParser::parseAdditive()
{
    Value left = parseMultiplicative();
    for (;;) {
        if (current().is('+')) {
            ++pos_;
            left = addValues(left, parseMultiplicative());
        } else if (current().is('-')) {
            ++pos_;
            left = subtractValues(left, parseMultiplicative());
        } else {
            return left;
        }
    }
}

Value ExpressionParser::parseMultiplicative()
{
    Value left = parsePrefixOperators();
    for (;;) {
        const Token &op = current();
        const bool multiply = op.is('*'), divide = op.is('/'), mod = op.isName("MOD"), shl = op.isName("SHL"),
                   shr = op.isName("SHR");
        if (!multiply && !divide && !mod && !shl && !shr)
            return left;
        ++pos_;
        const Value right = parsePrefixOperators();
        requireAbsolute(left);
        requireAbsolute(right);
        const bool unknown = left.unknown || right.unknown;
        std::int64_t a = left.number, b = right.number;
        if ((divide || mod) && b == 0) {
            if (!unknown)
                throw AsmError("Divide by 0");
            b = 1;
        }
        std::int64_t result = 0;
        if (multiply)
            result = a * b;
        else if (divide)
            result = a / b;
        else if (mod)
            result = a % b;
        else if (shl)
            result = b >= 32 ? 0 : (a << b) & 0xFFFFFFFFLL;
        else
            result = b >= 32 ? 0 : static_cast<std::int64_t>((static_cast<std::uint64_t>(a) & 0xFFFFFFFFULL) >> b);
        left = constant(result);
        left.unknown = unknown;
    }
}

Value ExpressionParser::parsePrefixOperators()
{
    const Token &token = current();
    if (token.kind == TokenKind::Name) {
        const std::string upper = upperCase(token.text);
        if (upper == "OFFSET") {
            ++pos_;
            Value operand = parsePrefixOperators();
            if (operand.isRegister())
                return operand;
            operand.memory = false;
            operand.isCode = false;
            operand.type = 0;
            operand.explicitType = false;
            operand.isExternAbs = false;
            return operand;
        }
        if (upper == "SEG") {
            ++pos_;
            Value operand = parsePrefixOperators();
            Value result;
            result.unknown = operand.unknown;
            if (operand.relocation == Relocation::Offset) {
                const int group = context_.groupOf(operand.target);
                result.relocation = Relocation::SegmentBase;
                result.target = group >= 0 ? group : operand.target;
                result.targetIsGroup = group >= 0;
            } else if (operand.relocation == Relocation::External) {
                result.relocation = Relocation::ExternalBase;
                result.target = operand.target;
            } else if (operand.relocation == Relocation::SegmentBase) {
                result = operand;
            } else if (!operand.unknown) {
                throw AsmError("Operand types do not match");
            }
            if (operand.unknown)
                result.relocation = Relocation::SegmentBase;
            return result;
        }
        if (upper == "TYPE") {
            ++pos_;
            const Value operand = parsePrefixOperators();
            int type = operand.type;
            if (operand.isRegister())
                type = operand.regClass == RegClass::Byte ? 1 : 2;
            Value result = constant(type);
            result.unknown = operand.unknown;
            return result;
        }
        if (upper == "SHORT") {
            ++pos_;
            Value operand = parsePrefixOperators();
            operand.distance = Distance::Short;
            return operand;
        }
        if (upper == "THIS") {
            ++pos_;
            const Token &typeToken = next();
            int size = typeKeywordSize(upperCase(typeToken.text));
            if (size == 0) {
                const int symbol = context_.lookup(typeToken.text);
                if (symbol >= 0 && context_.symbols()[symbol].kind == SymbolKind::Struct)
                    size = context_.symbols()[symbol].size;
                else
                    throw AsmError("Illegal use of THIS");
            }
            Value result = context_.here();
            result.type = size;
            result.isCode = size == TypeNear || size == TypeFar;
            result.memory = !result.isCode;
            return result;
        }
        // A type followed by PTR: BYTE PTR x, FAR PTR x, a structure's name PTR x.
        if (tokens_[pos_ + 1].isName("PTR")) {
            int size = typeKeywordSize(upper);
            if (size == 0) {
                const int symbol = context_.lookup(token.text);
                if (symbol >= 0 && context_.symbols()[symbol].kind == SymbolKind::Struct)
                    size = context_.symbols()[symbol].size;
                else
                    throw AsmError("Undefined symbol: " + upper);
            }
            pos_ += 2;
            Value operand = parsePrefixOperators();
            if (size == TypeNear || size == TypeFar) {
                operand.distance = size == TypeNear ? Distance::Near : Distance::Far;
                operand.isCode = operand.isCode || !operand.hasIndex();
                if (operand.hasIndex() || operand.explicitType || (operand.memory && !operand.isCode)) {
                    operand.type = size == TypeNear ? 2 : 4;
                    operand.explicitType = true;
                    operand.isCode = false;
                    operand.memory = true;
                    operand.distance = Distance::Default;
                } else {
                    operand.type = size;
                }
                return operand;
            }
            operand.type = size;
            operand.explicitType = true;
            if (!operand.isRegister())
                operand.memory = true;
            operand.isCode = false;
            return operand;
        }
    }
    return parseOverride();
}

Value ExpressionParser::parseOverride()
{
    Value left = parseUnary();
    if (!current().is(':'))
        return left;
    ++pos_;
    if (left.regClass != RegClass::Segment)
        throw AsmError("Illegal segment address");
    Value right = parsePrefixOperators();
    right.override = left.reg;
    if (!right.isRegister())
        right.memory = true;
    return right;
}

Value ExpressionParser::parseUnary()
{
    if (current().is('-')) {
        ++pos_;
        Value operand = parseUnary();
        requireAbsolute(operand);
        operand.number = -operand.number;
        return operand;
    }
    if (current().is('+')) {
        ++pos_;
        return parseUnary();
    }
    return parseHighLow();
}

Value ExpressionParser::parseHighLow()
{
    const bool high = current().isName("HIGH"), low = current().isName("LOW");
    if (!high && !low)
        return parseField();
    ++pos_;
    Value operand = parseHighLow();
    requireAbsolute(operand);
    operand.number = high ? (operand.number >> 8) & 0xFF : operand.number & 0xFF;
    return operand;
}

Value ExpressionParser::parseField()
{
    Value left = parsePostfix();
    while (current().is('.')) {
        ++pos_;
        const Value field = parsePostfix();
        left = addValues(left, field);
        left.type = field.type;
        left.memory = true;
    }
    return left;
}

Value ExpressionParser::parsePostfix()
{
    Value left = parsePrimary();
    while (current().is('[') || current().is('(')) {
        const bool bracket = current().is('[');
        Value inner = bracket ? parseBracket() : parsePrimary();
        left = addValues(left, inner);
        if (bracket)
            left.memory = true;
    }
    return left;
}

Value ExpressionParser::parseBracket()
{
    ++pos_; // '['
    ++bracketDepth_;
    Value inner = parseOr();
    --bracketDepth_;
    if (!current().is(']'))
        throw AsmError("Need right square bracket");
    ++pos_;
    return inner;
}

const Symbol *ExpressionParser::namedSymbol()
{
    const Token &token = next();
    if (token.kind != TokenKind::Name)
        throw AsmError("Need expression");
    const int index = context_.lookup(token.text);
    if (index < 0) {
        if (context_.finalPass())
            throw AsmError("Undefined symbol: " + upperCase(token.text));
        return nullptr;
    }
    return &context_.symbols()[index];
}

Value ExpressionParser::parsePrimary()
{
    const Token &token = current();
    switch (token.kind) {
    case TokenKind::Number:
        ++pos_;
        if (token.bad)
            throw AsmError("Illegal number");
        return constant(token.value);
    case TokenKind::String: {
        ++pos_;
        if (token.text.size() > 2)
            throw AsmError("Value out of range");
        std::int64_t number = 0;
        for (unsigned char c : token.text)
            number = (number << 8) | c;
        Value value = constant(number);
        return value;
    }
    case TokenKind::End:
        throw AsmError("Need expression");
    case TokenKind::Punct:
        if (token.is('(')) {
            ++pos_;
            Value inner = parseOr();
            if (!current().is(')'))
                throw AsmError("Need right parenthesis");
            ++pos_;
            return inner;
        }
        if (token.is('[')) {
            Value inner = parseBracket();
            if (!inner.isRegister())
                inner.memory = true;
            return inner;
        }
        throw AsmError("Illegal use of " + token.text);
    case TokenKind::Name:
        break;
    }
    const std::string upper = upperCase(token.text);
    RegClass regClass;
    int number;
    if (registerByName(upper, regClass, number)) {
        ++pos_;
        Value value;
        if (bracketDepth_ > 0 && regClass == RegClass::Word &&
            (number == reg::BX || number == reg::BP || number == reg::SI || number == reg::DI)) {
            value.memory = true;
            (number == reg::BX || number == reg::BP ? value.base : value.index) = number;
            return value;
        }
        if (bracketDepth_ > 0 && regClass != RegClass::Segment)
            throw AsmError("Illegal indexing mode");
        value.regClass = regClass;
        value.reg = number;
        return value;
    }
    if (upper == "$") {
        ++pos_;
        return context_.here();
    }
    if (upper == "SIZE" || upper == "LENGTH" || upper == "WIDTH" || upper == "MASK") {
        ++pos_;
        const Symbol *symbol = namedSymbol();
        Value value;
        if (!symbol) {
            value.unknown = true;
            return value;
        }
        if (upper == "SIZE")
            value.number = symbol->size;
        else if (upper == "LENGTH")
            value.number = symbol->length;
        else if (upper == "WIDTH")
            value.number = symbol->width;
        else
            value.number = symbol->mask;
        return value;
    }
    if (const int size = typeKeywordSize(upper)) {
        ++pos_;
        return constant(size);
    }
    ++pos_;
    const int index = context_.lookup(token.text);
    if (index < 0) {
        if (context_.finalPass())
            throw AsmError("Undefined symbol: " + upper);
        Value value;
        value.unknown = true;
        value.memory = true;
        value.relocation = Relocation::Offset;
        return value;
    }
    return symbolValue(index, upper);
}

Value ExpressionParser::symbolValue(int index, const std::string &name)
{
    const Symbol &symbol = context_.symbols()[index];
    Value value;
    switch (symbol.kind) {
    case SymbolKind::Number:
    case SymbolKind::StructField:
    case SymbolKind::RecordField:
        value.number = symbol.value;
        value.type = symbol.kind == SymbolKind::StructField ? symbol.type : 0;
        return value;
    case SymbolKind::Record:
    case SymbolKind::Struct:
        value.number = symbol.size;
        value.type = symbol.size;
        return value;
    case SymbolKind::Label:
    case SymbolKind::Variable:
        value.number = symbol.value;
        value.relocation = Relocation::Offset;
        value.target = symbol.segment;
        value.type = symbol.type;
        value.isCode = symbol.kind == SymbolKind::Label;
        value.memory = !value.isCode;
        return value;
    case SymbolKind::SegmentName:
    case SymbolKind::GroupName:
        value.relocation = Relocation::SegmentBase;
        value.target = static_cast<int>(symbol.value);
        value.targetIsGroup = symbol.kind == SymbolKind::GroupName;
        return value;
    case SymbolKind::External:
        value.relocation = Relocation::External;
        value.target = symbol.external;
        value.type = symbol.type;
        value.isExternAbs = symbol.type == 0;
        value.isCode = symbol.type == TypeNear || symbol.type == TypeFar;
        value.memory = !value.isCode && !value.isExternAbs;
        return value;
    case SymbolKind::Text: // replaced by its text before an expression is read
        break;
    }
    throw AsmError("Undefined symbol: " + name);
}

} // namespace velmora::assembler
