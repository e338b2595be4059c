// The expression evaluator against a small symbol table: TASM's precedence, the operators
// on numbers, relocatable values and addresses with base and index registers.
#include "assembler/Expression.h"
#include "assembler/AsmError.h"

#include <gtest/gtest.h>

namespace velmora::assembler
{
namespace
{

class FakeContext : public IExpressionContext
{
public:
    FakeContext()
    {
        const int buffer = table.intern("buf");
        table[buffer].kind = SymbolKind::Variable;
        table[buffer].segment = 1;
        table[buffer].value = 0x10;
        table[buffer].type = 2;
        table[buffer].length = 8;
        table[buffer].size = 16;
        const int limit = table.intern("limit");
        table[limit].kind = SymbolKind::Number;
        table[limit].value = 494;
        const int label = table.intern("again");
        table[label].kind = SymbolKind::Label;
        table[label].segment = 0;
        table[label].value = 0x20;
        table[label].type = TypeNear;
    }

    int lookup(std::string_view name) override { return table.find(name); }
    const SymbolTable &symbols() const override { return table; }
    Value here() const override
    {
        Value value;
        value.number = 0x30;
        value.relocation = Relocation::Offset;
        value.target = 1;
        value.isCode = true;
        return value;
    }
    int groupOf(int segment) const override { return segment == 1 ? 0 : -1; }
    bool finalPass() const override { return final; }
    void warn(const std::string &) override {}

    SymbolTable table;
    bool final = true;
};

Value evaluate(FakeContext &context, const std::string &text)
{
    const std::vector<Token> tokens = tokenize(text);
    ExpressionParser parser(context, tokens);
    Value value = parser.parse();
    EXPECT_TRUE(parser.atEnd()) << text;
    return value;
}

std::int64_t number(const std::string &text)
{
    FakeContext context;
    return evaluate(context, text).number;
}

TEST(ExpressionTest, PrecedenceFollowsTasm)
{
    EXPECT_EQ(number("2+3*4"), 14);
    EXPECT_EQ(number("(2+3)*4"), 20);
    EXPECT_EQ(number("1 shl 2 + 1"), 5); // SHL binds tighter than +
    EXPECT_EQ(number("6 and 3 or 8"), 10);
    EXPECT_EQ(number("not 1 and 3"), 2); // NOT binds tighter than AND
    EXPECT_EQ(number("1 + 2 eq 3"), -1); // EQ compares the sums
    EXPECT_EQ(number("high 1339 + 1"), 6);
    EXPECT_EQ(number("-limit"), -494);
}

TEST(ExpressionTest, OperatorsOnNumbers)
{
    EXPECT_EQ(number("1339 mod 7"), 2);
    EXPECT_EQ(number("1339/3"), 446);
    EXPECT_EQ(number("0FF00h shr 4"), 0xFF0);
    EXPECT_EQ(number("low 1339"), 0x3B);
    EXPECT_EQ(number("44 xor 55h"), 0x79);
    EXPECT_EQ(number("15 lt 46"), -1);
    EXPECT_EQ(number("15 ge 46"), 0);
    EXPECT_EQ(number("'AB'"), 0x4142);
    EXPECT_THROW(number("4/0"), AsmError);
}

TEST(ExpressionTest, SizeLengthTypeAndOffsetOfAVariable)
{
    EXPECT_EQ(number("size buf"), 16);
    EXPECT_EQ(number("length buf"), 8);
    EXPECT_EQ(number("type buf"), 2);
    FakeContext context;
    const Value offset = evaluate(context, "offset buf+2");
    EXPECT_FALSE(offset.memory);
    EXPECT_EQ(offset.relocation, Relocation::Offset);
    EXPECT_EQ(offset.number, 0x12);
}

TEST(ExpressionTest, DifferenceOfTwoPlacesInOneSegmentIsANumber)
{
    FakeContext context;
    const Value difference = evaluate(context, "$-buf");
    EXPECT_EQ(difference.relocation, Relocation::None);
    EXPECT_EQ(difference.number, 0x20);
    EXPECT_THROW(evaluate(context, "buf-again"), AsmError);
    EXPECT_THROW(evaluate(context, "buf+again"), AsmError);
}

TEST(ExpressionTest, SegOfAVariableInAGroupIsTheGroup)
{
    FakeContext context;
    const Value segment = evaluate(context, "seg buf");
    EXPECT_EQ(segment.relocation, Relocation::SegmentBase);
    EXPECT_TRUE(segment.targetIsGroup);
    EXPECT_EQ(segment.target, 0);
}

TEST(ExpressionTest, AddressesCollectBaseIndexAndDisplacement)
{
    FakeContext context;
    const Value spelled = evaluate(context, "buf[bx][si]+2");
    EXPECT_TRUE(spelled.memory);
    EXPECT_EQ(spelled.base, reg::BX);
    EXPECT_EQ(spelled.index, reg::SI);
    EXPECT_EQ(spelled.number, 0x12);
    EXPECT_EQ(spelled.type, 2);
    const Value typed = evaluate(context, "byte ptr es:[bp+di-2]");
    EXPECT_EQ(typed.type, 1);
    EXPECT_EQ(typed.override, reg::ES);
    EXPECT_EQ(typed.base, reg::BP);
    EXPECT_EQ(typed.number, -2);
    EXPECT_THROW(evaluate(context, "[bx+bp]"), AsmError);
    EXPECT_THROW(evaluate(context, "[si+di]"), AsmError);
}

TEST(ExpressionTest, RegistersOutsideBracketsAreRegisterOperands)
{
    FakeContext context;
    const Value value = evaluate(context, "dh");
    EXPECT_EQ(value.regClass, RegClass::Byte);
    EXPECT_EQ(value.reg, 6);
    EXPECT_THROW(evaluate(context, "ax+1"), AsmError);
}

TEST(ExpressionTest, AnUndefinedNameIsUnknownUntilTheLastPass)
{
    FakeContext context;
    context.final = false;
    const Value value = evaluate(context, "later+2");
    EXPECT_TRUE(value.unknown);
    context.final = true;
    try {
        evaluate(context, "later");
        FAIL() << "no error";
    } catch (const AsmError &error) {
        EXPECT_STREQ(error.what(), "Undefined symbol: LATER");
    }
}

} // namespace
} // namespace velmora::assembler
