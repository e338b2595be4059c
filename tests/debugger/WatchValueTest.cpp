// Watched variables shown by their types from the program's memory, and the addresses a
// student types for the memory dump.
#include "debugger/WatchValue.h"

#include <gtest/gtest.h>

namespace velmora::debugger::test
{
namespace
{

constexpr std::uint16_t segment = 0x1000;

class WatchValueTest : public ::testing::Test
{
protected:
    void put(std::uint16_t offset, const std::vector<std::uint8_t> &bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            memory.write8(machine::Memory::linear(segment, static_cast<std::uint16_t>(offset + i)), bytes[i]);
    }
    std::string shown(int unit, int count, std::uint16_t offset = 0, bool isString = false)
    {
        DebugSymbol symbol;
        symbol.kind = DebugSymbolKind::Variable;
        symbol.place.offset = offset;
        symbol.unitSize = unit;
        symbol.count = count;
        symbol.isString = isString;
        return watchValue(symbol, segment, memory);
    }

    machine::Memory memory;
};

TEST_F(WatchValueTest, SingleValuesByTheirSize)
{
    put(0, {'A', 0x0D, 0x80, 0x34, 0x12, 0x00, 0xFF, 0x45, 0x23, 0x01, 0x00});
    EXPECT_EQ(shown(1, 1, 0), "41h 'A'");
    EXPECT_EQ(shown(1, 1, 1), "0Dh");            // a control byte has no character
    EXPECT_EQ(shown(1, 1, 2), "80h '\xD0\x90'"); // CP866 80h is the Cyrillic A
    EXPECT_EQ(shown(2, 1, 3), "1234h");
    EXPECT_EQ(shown(2, 1, 5), "0FF00h");
    EXPECT_EQ(shown(4, 1, 7), "00012345h");
    put(0x20, {0x89, 0x67, 0x45, 0x23, 0x01, 0, 0, 0, 0, 0xC0});
    EXPECT_EQ(shown(10, 1, 0x20), "0C0000000000123456789h");
}

TEST_F(WatchValueTest, StringsAsQuotedTextWithControlBytesAsNumbers)
{
    put(0, {'I', 't', '\'', 's', 13, 10, '$'});
    EXPECT_EQ(shown(1, 7, 0, true), "'It''s', 0Dh, 0Ah, '$'");
    put(0x10, {0x8F, 0xE0, 0xA8});
    EXPECT_EQ(shown(1, 3, 0x10, true), "'\xD0\x9F\xD1\x80\xD0\xB8'"); // "При"
    put(0x100, std::vector<std::uint8_t>(70, 'a'));
    EXPECT_EQ(shown(1, 70, 0x100, true), "'" + std::string(64, 'a') + "'...");
    EXPECT_EQ(shown(1, 64, 0x100, true), "'" + std::string(64, 'a') + "'");
}

TEST_F(WatchValueTest, ArraysListTheirElementsUpToSixteen)
{
    put(0, {1, 0, 2, 0, 0xFF, 0xFF});
    EXPECT_EQ(shown(2, 3), "[1, 2, 0FFFFh]");
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 20; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i));
    put(0x40, bytes);
    EXPECT_EQ(shown(1, 20, 0x40), "[0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0Ah, 0Bh, 0Ch, 0Dh, 0Eh, 0Fh, ...]");
    EXPECT_EQ(shown(1, 16, 0x40), "[0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0Ah, 0Bh, 0Ch, 0Dh, 0Eh, 0Fh]");
    EXPECT_EQ(shown(4, 2, 0x40), "[3020100h, 7060504h]");
}

TEST_F(WatchValueTest, AValueAtTheEndOfItsSegmentWrapsWithinIt)
{
    put(0xFFFF, {0x34});
    put(0, {0x12});
    EXPECT_EQ(shown(2, 1, 0xFFFF), "1234h");
}

TEST_F(WatchValueTest, LabelsAndProceduresShowTheirPlace)
{
    DebugSymbol label;
    label.kind = DebugSymbolKind::Procedure;
    label.place = {2, 0x10A};
    EXPECT_EQ(watchValue(label, 0x075C, memory), "075C:010A");
}

class ParseAddressTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registers.ds = 0x2000;
        registers.es = 0x3000;
        registers.di = 0x0010;
        registers.si = 0x0020;
        registers.bx = 0xFFFF;
        DebugSymbol msg;
        msg.name = "msg";
        msg.kind = DebugSymbolKind::Variable;
        msg.place = {2, 4};
        info.symbols.push_back(msg);
    }
    std::optional<std::uint32_t> parse(const std::string &text) { return parseAddress(text, registers, info, 0x1000); }

    machine::Registers registers;
    DebugInfo info;
};

TEST_F(ParseAddressTest, SegmentsOffsetsRegistersAndSymbols)
{
    EXPECT_EQ(parse("DS:0010"), 0x20010u);
    EXPECT_EQ(parse("es:di"), 0x30010u);
    EXPECT_EQ(parse("ES : DI"), 0x30010u);
    EXPECT_EQ(parse("1234:5"), 0x12345u);
    EXPECT_EQ(parse("0B800h:0"), 0xB8000u);
    EXPECT_EQ(parse("b800:0"), 0xB8000u);
    EXPECT_EQ(parse("FFFF:0010"), 0u); // wraps at 1 MB as on the 8086
    EXPECT_EQ(parse("msg"), 0x10024u); // in the symbol's own segment
    EXPECT_EQ(parse("MSG+2"), 0x10026u);
    EXPECT_EQ(parse("msg-2"), 0x10022u);
    EXPECT_EQ(parse("ds:msg"), 0x20004u);
    EXPECT_EQ(parse("si"), 0x20020u);   // a plain offset is taken in DS
    EXPECT_EQ(parse("10"), 0x20010u);   // hexadecimal without the h
    EXPECT_EQ(parse("bx+2"), 0x20001u); // offsets wrap within the segment
    EXPECT_EQ(parse("ds:si+10h"), 0x20030u);
}

TEST_F(ParseAddressTest, TextThatNamesNoAddress)
{
    for (const char *text : {"", "  ", "nosuch", "ds:", ":5", "1:2:3", "12345", "12345:0", "ds:nosuch", "msg+", "-msg",
                             "msg+msg", "ds:[si]", "1g"})
        EXPECT_EQ(parse(text), std::nullopt) << text;
}

} // namespace
} // namespace velmora::debugger::test
