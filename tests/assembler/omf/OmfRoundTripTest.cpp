// Every object file the real assembler wrote reads into records and writes back to the
// same bytes; the records read carry what the files hold.
#include "assembler/TasmTestData.h"
#include "assembler/omf/OmfReader.h"
#include "assembler/omf/OmfWriter.h"

#include <gtest/gtest.h>

namespace velmora::assembler::omf
{
namespace
{

using namespace velmora::assembler::testing;

TEST(OmfRoundTripTest, EveryReferenceObjectWritesBackIdentically)
{
    if (!std::filesystem::exists(tasmDataDir()))
        GTEST_SKIP() << missingDataMessage();
    const auto files = filesWithExtension(tasmDataDir(), ".obj");
    ASSERT_GT(files.size(), 90u);
    for (const auto &path : files) {
        SCOPED_TRACE(path.string());
        const std::vector<std::uint8_t> bytes = readBytes(path);
        ObjectModule module;
        ASSERT_NO_THROW(module = readObject(bytes));
        EXPECT_EQ(writeObject(module), bytes);
    }
}

TEST(OmfRoundTripTest, SmallModelObjectHasItsSegmentsGroupAndStart)
{
    if (!std::filesystem::exists(tasmDataDir()))
        GTEST_SKIP() << missingDataMessage();
    const ObjectModule module = readObject(readBytes(tasmDataDir() / "link/001_exe_ok/src.obj"));

    ASSERT_TRUE(std::holds_alternative<Theadr>(module.records.front()));
    EXPECT_EQ(std::get<Theadr>(module.records.front()).name, "src.asm");

    std::vector<Segdef> segments;
    std::vector<Grpdef> groups;
    std::vector<std::string> names;
    for (const Record &record : module.records) {
        if (auto *seg = std::get_if<Segdef>(&record))
            segments.push_back(*seg);
        if (auto *group = std::get_if<Grpdef>(&record))
            groups.push_back(*group);
        if (auto *lnames = std::get_if<Lnames>(&record))
            names.insert(names.end(), lnames->names.begin(), lnames->names.end());
    }
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(names[segments[0].nameIndex - 1], "_TEXT");
    EXPECT_EQ(names[segments[0].classIndex - 1], "CODE");
    EXPECT_EQ(segments[0].length, 0x11u);
    EXPECT_EQ(segments[1].align, Align::Word);
    EXPECT_EQ(segments[2].align, Align::Paragraph);
    EXPECT_EQ(segments[2].combine, Combine::Stack);
    EXPECT_EQ(segments[2].length, 0x100u);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(names[groups[0].nameIndex - 1], "DGROUP");
    // The assembler lists the stack segment before _DATA.
    EXPECT_EQ(groups[0].segments, (std::vector<std::uint16_t>{3, 2}));

    const auto &end = std::get<Modend>(module.records.back());
    EXPECT_TRUE(end.main);
    ASSERT_TRUE(end.hasStart);
    EXPECT_EQ(end.start.frameMethod, FrameSegment);
    EXPECT_EQ(end.start.targetDatum, 1);
    EXPECT_EQ(end.start.displacement, 0);
}

TEST(OmfRoundTripTest, IteratedDataExpandsToItsDupBytes)
{
    if (!std::filesystem::exists(tasmDataDir()))
        GTEST_SKIP() << missingDataMessage();
    // data_a.asm's first LIDATA is a DUP of 12h zero bytes at offset 5Bh.
    const ObjectModule module = readObject(readBytes(tasmDataDir() / "encodings/data_a.obj"));
    const Lidata *first = nullptr;
    for (const Record &record : module.records)
        if ((first = std::get_if<Lidata>(&record)))
            break;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->offset, 0x5B);
    EXPECT_EQ(expandIterated(*first), std::vector<std::uint8_t>(0x12, 0));
}

} // namespace
} // namespace velmora::assembler::omf
