// Whole sources assembled in memory: the one-pass layout of forward references against /m
// passes, JUMPS, the messages statements give, symbols and scopes, segments and ASSUME,
// data, structures and records.
#include "assembler/Assembly.h"

#include <gtest/gtest.h>

namespace velmora::assembler
{
namespace
{

struct Result {
    std::vector<std::uint8_t> code; // the first segment's bytes
    std::vector<std::string> messages;
    Assembly assembly;
};

Result run(const std::string &body, bool multiPass = false)
{
    AssemblyOptions options;
    options.multiPass = multiPass;
    options.maxPasses = 4;
    Result result;
    result.assembly = assemble(
        "t.asm", body, [](const std::string &) { return std::nullopt; }, options);
    if (!result.assembly.module.segments.empty())
        result.code = result.assembly.module.segments[0].bytes;
    for (const Message &message : result.assembly.messages)
        result.messages.push_back(std::to_string(message.line) + ": " + message.text);
    return result;
}

// A tiny-model program with the lines given between ORG 100h and END.
Result com(const std::string &lines, bool multiPass = false)
{
    Result result = run(".model tiny\n.code\norg 100h\n" + lines + "\nend\n", multiPass);
    if (result.code.size() >= 0x100)
        result.code.erase(result.code.begin(), result.code.begin() + 0x100);
    return result;
}

using Bytes = std::vector<std::uint8_t>;

TEST(AssemblerTest, AForwardJumpKeepsItsRoomInOnePassAndLosesItWithPasses)
{
    EXPECT_EQ(com("jmp next\nnext: ret").code, (Bytes{0xEB, 0x01, 0x90, 0xC3}));
    EXPECT_EQ(com("jmp next\nnext: ret", true).code, (Bytes{0xEB, 0x00, 0xC3}));
    // A backward jump knows its distance at once.
    EXPECT_EQ(com("back: nop\njmp back").code, (Bytes{0x90, 0xEB, 0xFD}));
    EXPECT_GE(com("jmp next\nnext: ret", true).assembly.passes, 2);
}

TEST(AssemblerTest, AForwardConstantGetsTheRoomOfAMemoryOperand)
{
    EXPECT_EQ(com("cmp al,k\nk equ 7").code, (Bytes{0x3C, 0x07, 0x90, 0x90}));
    EXPECT_EQ(com("cmp al,k\nk equ 7", true).code, (Bytes{0x3C, 0x07}));
    EXPECT_EQ(com("k equ 7\ncmp al,k").code, (Bytes{0x3C, 0x07}));
}

TEST(AssemblerTest, JumpsExpandsConditionalJumpsThatCannotReach)
{
    const Result far = com("jumps\nback: db 200 dup(0)\njz back");
    ASSERT_TRUE(far.messages.empty());
    EXPECT_EQ(Bytes(far.code.begin() + 200, far.code.end()), (Bytes{0x75, 0x03, 0xE9, 0x33, 0xFF}));
    const Result forward = com("jumps\njc next\nnext: ret");
    EXPECT_EQ(forward.code, (Bytes{0x72, 0x03, 0x90, 0x90, 0x90, 0xC3}));
    const Result without = com("back: db 200 dup(0)\njz back");
    EXPECT_EQ(without.messages, (std::vector<std::string>{"5: Relative jump out of range by 004Ah bytes"}));
}

TEST(AssemblerTest, AForwardFarCallInTheSegmentBecomesPushCsAndANearCall)
{
    EXPECT_EQ(com("call far ptr f\nf proc far\nret\nf endp").code, (Bytes{0x0E, 0xE8, 0x01, 0x00, 0x90, 0xCB}));
    const Result needsOverride = com("call f\nf proc far\nret\nf endp");
    EXPECT_EQ(needsOverride.messages, (std::vector<std::string>{"4: Forward reference needs override"}));
}

TEST(AssemblerTest, StatementsReportTasmsMessages)
{
    EXPECT_EQ(com("mov al,bx").messages, (std::vector<std::string>{"4: Operand types do not match"}));
    EXPECT_EQ(com("mov [bx],[si]").messages, (std::vector<std::string>{"4: Need register in expression"}));
    EXPECT_EQ(com("mov cs,ax").messages, (std::vector<std::string>{"4: Invalid operand(s) to instruction"}));
    EXPECT_EQ(com("mov al,300").messages, (std::vector<std::string>{"4: Constant too large"}));
    EXPECT_EQ(com("db 256+1").messages, (std::vector<std::string>{"4: Value out of range"}));
    EXPECT_EQ(com("x: nop\nx: nop").messages, (std::vector<std::string>{"5: Symbol already defined elsewhere: X"}));
    EXPECT_EQ(com("push al").messages,
              (std::vector<std::string>{"4: Argument to operation or instruction has illegal size"}));
    EXPECT_EQ(com("shl ax,bl").messages, (std::vector<std::string>{"4: Rotate count must be constant or CL"}));
    EXPECT_EQ(com("shl ax,3").messages,
              (std::vector<std::string>{"4: Illegal instruction for currently selected processor(s)"}));
    EXPECT_EQ(com("mov [bx],5").messages, (std::vector<std::string>{"4: Argument needs type override"}));
    EXPECT_EQ(com("frob ax").messages, (std::vector<std::string>{"4: Illegal instruction"}));
}

TEST(AssemblerTest, AMissingEndIsFatalAfterTheLastLine)
{
    const Result result = run(".model small\n.code\nnop\n");
    EXPECT_TRUE(result.assembly.fatal);
    EXPECT_EQ(result.messages, (std::vector<std::string>{"5: Unexpected end of file encountered"}));
}

TEST(AssemblerTest, TooManyMessagesStopTheAssembly)
{
    std::string lines;
    for (int i = 0; i < 120; ++i)
        lines += "mov ax,nothing" + std::to_string(i) + "\n";
    const Result result = com(lines);
    ASSERT_EQ(result.messages.size(), 101u);
    EXPECT_EQ(result.messages.back(), "104: Too many errors or warnings");
    EXPECT_FALSE(result.assembly.fatal);
}

TEST(AssemblerTest, LocalLabelsBelongToTheBlockBetweenOrdinaryLabels)
{
    const Result result = com("locals\nfirst: jmp @@x\n@@x: nop\nsecond: jmp short @@x\n@@x: ret");
    ASSERT_TRUE(result.messages.empty()) << result.messages.front();
    EXPECT_EQ(result.code, (Bytes{0xEB, 0x01, 0x90, 0x90, 0xEB, 0x00, 0xC3}));
}

TEST(AssemblerTest, VariablesInOtherSegmentsGetThePrefixTheirAssumeNeeds)
{
    const Result result = run("extra segment\nv db 1\nextra ends\ncode segment\nassume cs:code,es:extra\n"
                              "start: mov al,v\nassume es:nothing\nmov al,v\ncode ends\nend start\n");
    ASSERT_EQ(result.assembly.module.segments.size(), 2u);
    const Bytes &code = result.assembly.module.segments[1].bytes;
    EXPECT_EQ(Bytes(code.begin(), code.begin() + 4), (Bytes{0x26, 0xA0, 0x00, 0x00}));
    EXPECT_EQ(result.messages, (std::vector<std::string>{"8: Can't address with currently ASSUMEd segment registers"}));
}

TEST(AssemblerTest, DataKeepsStringsDupsAndUninitialisedBytes)
{
    const Result result = run(".model small\n.data\na db 'ab',2 dup(1,?)\nb dw 'xy',-2\nc dd 12345678h\n"
                              "d dt 1234\nend\n");
    ASSERT_TRUE(result.messages.empty()) << result.messages.front();
    const Segment &data = result.assembly.module.segments[1];
    EXPECT_EQ(data.bytes, (Bytes{'a',  'b',  1,    0,    1, 0, 'y', 'x', 0xFE, 0xFF, 0x78, 0x56,
                                 0x34, 0x12, 0x34, 0x12, 0, 0, 0,   0,   0,    0,    0,    0}));
    EXPECT_FALSE(data.initialised[3]);
    EXPECT_TRUE(data.initialised[4]);
    const int symbol = result.assembly.symbols.find("a");
    EXPECT_EQ(result.assembly.symbols[symbol].size, 1); // the first item is no DUP
}

TEST(AssemblerTest, StructuresAndRecordsLayTheirFieldsOut)
{
    const Result result = run(".model small\n.data\npt struc\nx dw 1\nname db 'abcd'\npt ends\n"
                              "fl record hi:3=5,lo:5\np1 pt <,'z'>\np2 pt 2 dup(<7>)\nf fl <1>\n.code\n"
                              "mov ax,p1.x\nmov al,p2.name+1\nmov cl,hi\nmov al,mask hi\nend\n");
    ASSERT_TRUE(result.messages.empty()) << result.messages.front();
    const Segment &data = result.assembly.module.segments[1];
    EXPECT_EQ(data.bytes, (Bytes{1, 0, 'z', ' ', ' ', ' ', 7, 0, 'a', 'b', 'c', 'd', 7, 0, 'a', 'b', 'c', 'd', 0x20}));
    const Segment &code = result.assembly.module.segments[0];
    EXPECT_EQ(code.bytes, (Bytes{0xA1, 0x00, 0x00, 0xA0, 0x09, 0x00, 0xB1, 0x05, 0xB0, 0xE0}));
}

TEST(AssemblerTest, EquateTextIsSubstitutedAndNumbersMayNotChange)
{
    const Result text = com("crlf equ 13,10\ndb crlf,'$'");
    EXPECT_EQ(text.code, (Bytes{13, 10, '$'}));
    EXPECT_EQ(com("n equ 1\nn equ 2").messages, (std::vector<std::string>{"5: Symbol already defined elsewhere: N"}));
    EXPECT_TRUE(com("n = 1\nn = 2").messages.empty());
}

TEST(AssemblerTest, PublicsAndExternalsReachTheModule)
{
    const Result result = run(".model small\nextrn f:far, c:abs\npublic start\n.code\nstart: call f\n"
                              "mov ax,c\nend start\n");
    ASSERT_TRUE(result.messages.empty()) << result.messages.front();
    const ObjectModule &module = result.assembly.module;
    ASSERT_EQ(module.externals.size(), 2u);
    EXPECT_EQ(module.externals[0].type, ExternalType::Far);
    EXPECT_EQ(module.externals[1].type, ExternalType::Abs);
    ASSERT_EQ(module.publics.size(), 1u);
    EXPECT_EQ(module.publics[0].name, "START");
    ASSERT_EQ(module.segments[0].fixups.size(), 2u);
    EXPECT_EQ(module.segments[0].fixups[0].kind, FixupKind::Pointer32);
    EXPECT_EQ(module.segments[0].fixups[1].target.kind, TargetKind::External);
    EXPECT_TRUE(module.hasStart);
}

} // namespace
} // namespace velmora::assembler
