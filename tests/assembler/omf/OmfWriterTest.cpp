// Modules built in code write and read back field for field, including the encodings the
// reference objects do not use (threads, two-byte indexes, 64K segments, a physical start).
#include "assembler/omf/OmfWriter.h"
#include "assembler/omf/OmfFraming.h"
#include "assembler/omf/OmfReader.h"

#include <gtest/gtest.h>

namespace velmora::assembler::omf
{
namespace
{

ObjectModule unusualModule()
{
    ObjectModule module;
    module.records.push_back(Theadr{"unusual.asm"});
    Lnames names;
    for (int k = 0; k < 200; ++k)
        names.names.push_back("N" + std::to_string(k));
    module.records.push_back(names);
    Segdef big;
    big.length = 0x10000;
    big.nameIndex = 150; // a two-byte index
    big.classIndex = 1;
    module.records.push_back(big);
    Segdef absolute;
    absolute.align = Align::Absolute;
    absolute.combine = Combine::Private;
    absolute.absoluteFrame = 0xB800;
    absolute.nameIndex = 2;
    module.records.push_back(absolute);
    module.records.push_back(Pubdef{false, 0, 0, 0x40, {{"ABSVAL", 0x12C, 0}}});

    IteratedBlock inner{2, {}, {0xAA, 0xBB}};
    IteratedBlock outer{3, {inner, IteratedBlock{1, {}, {0xCC}}}, {}};
    module.records.push_back(Lidata{1, 0x10, {outer}});

    Fixupp fixups;
    fixups.items.emplace_back(FixupThread{true, FrameGroup, 2, 1});
    fixups.items.emplace_back(FixupThread{false, TargetExternal, 1, 300});
    fixups.items.emplace_back(FixupThread{true, FrameTarget, 3, 0});
    Fixup byThreads;
    byThreads.location = Pointer32;
    byThreads.dataOffset = 0x3FF;
    byThreads.address = FixupAddress{true, 2, 0, true, 1, 0, true, 0x1234};
    fixups.items.emplace_back(byThreads);
    Fixup selfRelative;
    selfRelative.segmentRelative = false;
    selfRelative.location = Offset16;
    selfRelative.address = FixupAddress{false, FrameNumber, 0xF000, false, TargetNumber, 0xF000, false, 0};
    fixups.items.emplace_back(selfRelative);
    module.records.push_back(fixups);

    Modend end;
    end.main = true;
    end.hasStart = true;
    end.logicalStart = false;
    end.start.frameMethod = FrameNumber;
    end.start.frameDatum = 0x1234;
    end.start.hasDisplacement = true;
    end.start.displacement = 0x100;
    module.records.push_back(end);
    return module;
}

TEST(OmfWriterTest, UnusualEncodingsReadBackUnchanged)
{
    const ObjectModule module = unusualModule();
    const std::vector<std::uint8_t> bytes = writeObject(module);
    const ObjectModule back = readObject(bytes);
    ASSERT_EQ(back.records.size(), module.records.size());

    const auto &big = std::get<Segdef>(back.records[2]);
    EXPECT_EQ(big.length, 0x10000u);
    EXPECT_EQ(big.nameIndex, 150);
    const auto &absolute = std::get<Segdef>(back.records[3]);
    EXPECT_EQ(absolute.align, Align::Absolute);
    EXPECT_EQ(absolute.absoluteFrame, 0xB800);
    const auto &pub = std::get<Pubdef>(back.records[4]);
    EXPECT_EQ(pub.frame, 0x40);
    EXPECT_EQ(pub.names.at(0).offset, 0x12C);

    const auto &lidata = std::get<Lidata>(back.records[5]);
    EXPECT_EQ(expandIterated(lidata), (std::vector<std::uint8_t>{0xAA, 0xBB, 0xAA, 0xBB, 0xCC, 0xAA, 0xBB, 0xAA, 0xBB,
                                                                 0xCC, 0xAA, 0xBB, 0xAA, 0xBB, 0xCC}));

    const auto &fixups = std::get<Fixupp>(back.records[6]).items;
    ASSERT_EQ(fixups.size(), 5u);
    EXPECT_EQ(std::get<FixupThread>(fixups[1]).datum, 300);
    EXPECT_EQ(std::get<FixupThread>(fixups[2]).method, FrameTarget);
    const auto &byThreads = std::get<Fixup>(fixups[3]);
    EXPECT_EQ(byThreads.dataOffset, 0x3FF);
    EXPECT_EQ(byThreads.location, Pointer32);
    EXPECT_TRUE(byThreads.address.frameByThread);
    EXPECT_EQ(byThreads.address.frameMethod, 2);
    EXPECT_EQ(byThreads.address.targetMethod, 1);
    EXPECT_EQ(byThreads.address.displacement, 0x1234);
    const auto &selfRelative = std::get<Fixup>(fixups[4]);
    EXPECT_FALSE(selfRelative.segmentRelative);
    EXPECT_EQ(selfRelative.address.frameDatum, 0xF000);
    EXPECT_FALSE(selfRelative.address.hasDisplacement);

    const auto &end = std::get<Modend>(back.records[7]);
    EXPECT_FALSE(end.logicalStart);
    EXPECT_EQ(end.start.frameDatum, 0x1234);
    EXPECT_EQ(end.start.displacement, 0x100);

    EXPECT_EQ(writeObject(back), bytes);
}

TEST(OmfWriterTest, RecordsCarryLengthAndChecksum)
{
    std::vector<std::uint8_t> out;
    const std::vector<std::uint8_t> body{0x03, 'a', 'b', 'c'};
    appendRecord(out, THEADR, body);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[1] | out[2] << 8, 5);
    std::uint8_t sum = 0;
    for (std::uint8_t byte : out)
        sum = static_cast<std::uint8_t>(sum + byte);
    EXPECT_EQ(sum, 0);
}

TEST(OmfWriterTest, FieldsTheFormatCannotHoldAreRefused)
{
    ObjectModule longName;
    longName.records.push_back(Theadr{std::string(256, 'x')});
    EXPECT_THROW(writeObject(longName), std::invalid_argument);

    ObjectModule bigIndex;
    Segdef seg;
    seg.nameIndex = 0x8000;
    bigIndex.records.push_back(seg);
    EXPECT_THROW(writeObject(bigIndex), std::invalid_argument);

    ObjectModule longRecord;
    longRecord.records.push_back(Ledata{1, 0, std::vector<std::uint8_t>(0x10000)});
    EXPECT_THROW(writeObject(longRecord), std::invalid_argument);
}

} // namespace
} // namespace velmora::assembler::omf
