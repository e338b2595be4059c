// The expression evaluator with TASM's operators and precedence, from lowest:
// OR XOR; AND; NOT; EQ NE LT LE GT GE; binary + -; * / MOD SHL SHR; OFFSET SEG TYPE PTR
// THIS SHORT; ':' (segment override); unary + -; HIGH LOW; '.' (structure field);
// brackets, parentheses, SIZE, LENGTH, WIDTH, MASK. Registers inside brackets become
// base and index registers; an address written next to a bracket adds to it (warr[bx]).
// Text equates are replaced by their text before an expression is read.
#pragma once

#include "assembler/Lexer.h"
#include "assembler/Symbols.h"
#include "assembler/Value.h"

#include <span>
#include <string>
#include <string_view>

namespace velmora::assembler
{

// What the evaluator asks of the assembler.
class IExpressionContext
{
public:
    virtual ~IExpressionContext() = default;
    // The symbol a name refers to (local @@ names resolved), or -1 when none is defined yet.
    virtual int lookup(std::string_view name) = 0;
    virtual const SymbolTable &symbols() const = 0;
    // The location counter ($) as a value.
    virtual Value here() const = 0;
    // The group a segment belongs to, or -1.
    virtual int groupOf(int segment) const = 0;
    // Whether an undefined name is an error now (the last pass) or only unknown so far.
    virtual bool finalPass() const = 0;
    virtual void warn(const std::string &text) = 0;
};

// The register a name stands for, if any.
bool registerByName(std::string_view name, RegClass &regClass, int &number);

// The size of a type name (BYTE, WORD, DWORD, QWORD, TBYTE, NEAR, FAR), or 0.
int typeKeywordSize(std::string_view upperName);

class ExpressionParser
{
public:
    ExpressionParser(IExpressionContext &context, std::span<const Token> tokens);

    // Parses one expression starting at the current token.
    Value parse();
    std::size_t position() const { return pos_; }
    const Token &current() const { return tokens_[pos_]; }
    bool atEnd() const { return tokens_[pos_].kind == TokenKind::End; }

private:
    Value parseOr();
    Value parseAnd();
    Value parseNot();
    Value parseRelational();
    Value parseAdditive();
    Value parseMultiplicative();
    Value parsePrefixOperators();
    Value parseOverride();
    Value parseUnary();
    Value parseHighLow();
    Value parseField();
    Value parsePostfix();
    Value parsePrimary();
    Value parseBracket();
    Value symbolValue(int index, const std::string &name);
    const Symbol *namedSymbol(); // SIZE, LENGTH, WIDTH, MASK operand
    const Token &next() { return tokens_[pos_++]; }

    IExpressionContext &context_;
    std::span<const Token> tokens_;
    std::size_t pos_ = 0;
    int bracketDepth_ = 0;
};

// Sum and difference with TASM's rules for relocatable values and address parts.
Value addValues(Value left, const Value &right);
Value subtractValues(Value left, const Value &right);

} // namespace velmora::assembler
