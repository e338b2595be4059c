// The object file read back through the OMF reader: names, segments and groups, publics
// and externals, the fixups of each relocation kind, and the start address.
#include "assembler/ObjectFile.h"
#include "assembler/Assembly.h"
#include "assembler/omf/OmfReader.h"

#include <gtest/gtest.h>

namespace velmora::assembler
{
namespace
{

template <class T> std::vector<T> recordsOf(const omf::ObjectModule &module)
{
    std::vector<T> found;
    for (const omf::Record &record : module.records)
        if (const T *typed = std::get_if<T>(&record))
            found.push_back(*typed);
    return found;
}

omf::ObjectModule assembled(const std::string &source)
{
    const Assembly assembly = assemble("t.asm", source, [](const std::string &) { return std::nullopt; });
    EXPECT_TRUE(assembly.messages.empty()) << assembly.messages.front().text;
    return omf::readObject(objectFileBytes(assembly.module));
}

TEST(ObjectFileTest, SegmentsGroupsPublicsAndExternalsAreDeclared)
{
    const omf::ObjectModule module = assembled(".model small\n.stack 100h\nextrn far1:far, w1:word\n"
                                               "public start, value\n.data\nvalue dw 5\n.code\n"
                                               "start: call far1\nmov ax,w1\nend start\n");
    const auto names = recordsOf<omf::Lnames>(module);
    ASSERT_EQ(names.size(), 1u);
    const std::vector<std::string> &list = names[0].names;
    const auto segments = recordsOf<omf::Segdef>(module);
    ASSERT_EQ(segments.size(), 3u); // _TEXT, _DATA, STACK
    EXPECT_EQ(list[segments[0].nameIndex - 1], "_TEXT");
    EXPECT_EQ(list[segments[0].classIndex - 1], "CODE");
    EXPECT_EQ(segments[2].combine, omf::Combine::Stack);
    EXPECT_EQ(segments[2].length, 0x100u);
    const auto groups = recordsOf<omf::Grpdef>(module);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(list[groups[0].nameIndex - 1], "DGROUP");
    const auto externals = recordsOf<omf::Extdef>(module);
    ASSERT_EQ(externals.size(), 1u);
    ASSERT_EQ(externals[0].names.size(), 2u);
    EXPECT_EQ(externals[0].names[0].name, "FAR1");
    const auto publics = recordsOf<omf::Pubdef>(module);
    ASSERT_EQ(publics.size(), 2u);
    EXPECT_EQ(publics[0].names[0].name, "START");
    EXPECT_EQ(publics[1].names[0].name, "VALUE");
    EXPECT_EQ(publics[1].groupIndex, 1); // DGROUP
    const auto end = recordsOf<omf::Modend>(module);
    ASSERT_EQ(end.size(), 1u);
    EXPECT_TRUE(end[0].main && end[0].hasStart);
    EXPECT_EQ(end[0].start.targetDatum, 1);
}

TEST(ObjectFileTest, FixupsCarryTheirKindFrameAndTarget)
{
    const omf::ObjectModule module = assembled(".model small\nextrn near1:near\n.data\nv dw 1\n.code\n"
                                               "start: mov ax,@data\nmov bx,offset v\ncall near1\ndd v\nend\n");
    std::vector<omf::Fixup> fixups;
    for (const omf::Fixupp &record : recordsOf<omf::Fixupp>(module))
        for (const auto &item : record.items)
            fixups.push_back(std::get<omf::Fixup>(item));
    ASSERT_EQ(fixups.size(), 4u);
    // mov ax,@data: the paragraph of DGROUP.
    EXPECT_EQ(fixups[0].location, omf::Base16);
    EXPECT_EQ(fixups[0].dataOffset, 1);
    EXPECT_EQ(fixups[0].address.targetMethod, omf::TargetGroup);
    // mov bx,offset v: an offset in _DATA taken in DGROUP's frame.
    EXPECT_EQ(fixups[1].location, omf::Offset16);
    EXPECT_EQ(fixups[1].address.frameMethod, omf::FrameGroup);
    EXPECT_EQ(fixups[1].address.targetMethod, omf::TargetSegment);
    EXPECT_EQ(fixups[1].address.targetDatum, 2);
    // call near1: self-relative to the external.
    EXPECT_FALSE(fixups[2].segmentRelative);
    EXPECT_EQ(fixups[2].address.targetMethod, omf::TargetExternal);
    // dd v: a far pointer.
    EXPECT_EQ(fixups[3].location, omf::Pointer32);
}

TEST(ObjectFileTest, UninitialisedDataIsNotWrittenAndLongSegmentsSplit)
{
    const omf::ObjectModule module = assembled(".model small\n.data\nbuf db 3000 dup(1)\nfree dw 100 dup(?)\nend\n");
    const auto data = recordsOf<omf::Ledata>(module);
    std::size_t total = 0;
    for (const omf::Ledata &record : data) {
        EXPECT_LE(record.data.size(), 1024u);
        EXPECT_EQ(record.offset, total);
        total += record.data.size();
    }
    EXPECT_EQ(total, 3000u);
}

} // namespace
} // namespace velmora::assembler
