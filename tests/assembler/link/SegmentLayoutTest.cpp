// How segments of several modules combine and where they go: joined, private, common,
// class order, and the alignment a group's first segment takes.
#include "assembler/link/SegmentLayout.h"
#include "assembler/link/TestModule.h"

#include <gtest/gtest.h>

namespace velmora::assembler::link
{
namespace
{

using namespace velmora::assembler::link::testing;
using omf::Align;
using omf::Combine;

std::vector<LinkModule> index(const std::vector<TestModule> &modules)
{
    std::vector<LinkModule> indexed;
    for (const TestModule &module : modules)
        indexed.push_back(indexModule("m.obj", module.object()));
    return indexed;
}

TEST(SegmentLayoutTest, PublicSegmentsJoinEachPartAtItsAlignment)
{
    std::vector<TestModule> modules{TestModule("a.asm"), TestModule("b.asm")};
    modules[0].segment("_TEXT", "CODE", Align::Word, Combine::Public, 3);
    modules[1].segment("_text", "code", Align::Word, Combine::Public, 4);
    const auto linkModules = index(modules);
    const SegmentLayout layout = layOutSegments(linkModules, false);
    ASSERT_EQ(layout.segments.size(), 1u);
    EXPECT_EQ(layout.segments[0].length, 8u);
    EXPECT_EQ(layout.place(1, 1).base, 4u);
    EXPECT_EQ(layout.end, 8u);

    // With case significant, the lower-case names make a segment of their own.
    EXPECT_EQ(layOutSegments(linkModules, true).segments.size(), 2u);
}

TEST(SegmentLayoutTest, PrivateSegmentsStayApartAndCommonOnesOverlay)
{
    std::vector<TestModule> modules{TestModule("a.asm"), TestModule("b.asm")};
    modules[0].segment("OWN", "CODE", Align::Byte, Combine::Private, 3);
    modules[0].segment("SHARED", "DATA", Align::Paragraph, Combine::Common, 6);
    modules[1].segment("OWN", "CODE", Align::Byte, Combine::Private, 5);
    modules[1].segment("SHARED", "DATA", Align::Paragraph, Combine::Common, 10);
    const SegmentLayout layout = layOutSegments(index(modules), false);
    ASSERT_EQ(layout.segments.size(), 3u);
    EXPECT_EQ(layout.segments[0].start, 0u);
    EXPECT_EQ(layout.segments[1].name, "OWN");
    EXPECT_EQ(layout.segments[1].start, 3u);
    const OutputSegment &shared = layout.segments[2];
    EXPECT_EQ(shared.start, 0x10u);
    EXPECT_EQ(shared.length, 10u);
    EXPECT_EQ(shared.pieces[0].base, shared.pieces[1].base);
}

TEST(SegmentLayoutTest, ClassesKeepTheOrderOfTheirFirstAppearance)
{
    std::vector<TestModule> modules{TestModule("a.asm"), TestModule("b.asm")};
    modules[0].segment("CODE1", "CODE", Align::Byte, Combine::Public, 1);
    modules[0].segment("DATA1", "DATA", Align::Byte, Combine::Public, 1);
    modules[1].segment("CODE2", "CODE", Align::Byte, Combine::Public, 1);
    const SegmentLayout layout = layOutSegments(index(modules), false);
    ASSERT_EQ(layout.segments.size(), 3u);
    EXPECT_EQ(layout.segments[0].name, "CODE1");
    EXPECT_EQ(layout.segments[1].name, "CODE2");
    EXPECT_EQ(layout.segments[2].name, "DATA1");
}

TEST(SegmentLayoutTest, AGroupStartsAtItsMembersStrictestAlignment)
{
    TestModule withStack("a.asm");
    withStack.segment("_TEXT", "CODE", Align::Word, Combine::Public, 3);
    const std::uint16_t data = withStack.segment("_DATA", "DATA", Align::Word, Combine::Public, 2);
    const std::uint16_t stack = withStack.segment("STACK", "STACK", Align::Paragraph, Combine::Stack, 0x100);
    withStack.group("DGROUP", {stack, data});
    SegmentLayout layout = layOutSegments(index({withStack}), false);
    EXPECT_EQ(layout.segments[1].start, 0x10u);
    EXPECT_EQ(layout.groups.at(0).frame, 1);

    TestModule dataOnly("b.asm");
    dataOnly.segment("_TEXT", "CODE", Align::Word, Combine::Public, 3);
    const std::uint16_t data2 = dataOnly.segment("_DATA", "DATA", Align::Word, Combine::Public, 2);
    dataOnly.group("DGROUP", {data2});
    layout = layOutSegments(index({dataOnly}), false);
    EXPECT_EQ(layout.segments[1].start, 4u);
    EXPECT_EQ(layout.groups.at(0).frame, 0);
}

TEST(SegmentLayoutTest, AbsoluteSegmentsTakeNoRoom)
{
    TestModule module("a.asm");
    omf::Segdef video;
    video.align = Align::Absolute;
    video.combine = Combine::Private;
    video.absoluteFrame = 0xB800;
    video.nameIndex = module.name("VIDEO");
    video.classIndex = module.name("");
    module.record(video);
    module.segment("_TEXT", "CODE", Align::Byte, Combine::Public, 5);
    const SegmentLayout layout = layOutSegments(index({module}), false);
    EXPECT_EQ(layout.end, 5u);
    EXPECT_EQ(layout.place(0, 1).base, 0xB8000u);
    EXPECT_EQ(layout.place(0, 2).base, 0u);
}

} // namespace
} // namespace velmora::assembler::link
