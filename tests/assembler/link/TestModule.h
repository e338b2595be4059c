// Builds small object modules for linker tests: each call appends the records the
// assembler would write for it and returns the index later records use.
#pragma once

#include "assembler/omf/OmfWriter.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace velmora::assembler::link::testing
{

class TestModule
{
public:
    explicit TestModule(const std::string &sourceName) { object_.records.push_back(omf::Theadr{sourceName}); }

    std::uint16_t name(const std::string &text)
    {
        object_.records.push_back(omf::Lnames{{text}});
        return ++names_;
    }

    std::uint16_t segment(const std::string &segmentName, const std::string &className, omf::Align align,
                          omf::Combine combine, std::uint32_t length)
    {
        omf::Segdef segdef;
        segdef.nameIndex = name(segmentName);
        segdef.classIndex = name(className);
        segdef.align = align;
        segdef.combine = combine;
        segdef.length = length;
        object_.records.push_back(segdef);
        return ++segments_;
    }

    std::uint16_t group(const std::string &groupName, std::vector<std::uint16_t> members)
    {
        object_.records.push_back(omf::Grpdef{name(groupName), std::move(members)});
        return ++groups_;
    }

    std::uint16_t external(const std::string &symbol)
    {
        object_.records.push_back(omf::Extdef{false, {{symbol, 0}}});
        return ++externs_;
    }

    void publicAt(std::uint16_t segment, const std::string &symbol, std::uint16_t offset, std::uint16_t group = 0)
    {
        object_.records.push_back(omf::Pubdef{false, group, segment, 0, {{symbol, offset, 0}}});
    }

    void absolutePublic(const std::string &symbol, std::uint16_t value)
    {
        object_.records.push_back(omf::Pubdef{false, 0, 0, 0, {{symbol, value, 0}}});
    }

    void data(std::uint16_t segment, std::uint16_t offset, std::vector<std::uint8_t> bytes)
    {
        object_.records.push_back(omf::Ledata{segment, offset, std::move(bytes)});
    }

    void record(omf::Record record) { object_.records.push_back(std::move(record)); }

    // A fixup of `location` kind at `dataOffset` in the last data record.
    void fixup(std::uint8_t location, std::uint16_t dataOffset, omf::FixupAddress address, bool segmentRelative = true)
    {
        object_.records.push_back(omf::Fixupp{{omf::Fixup{segmentRelative, location, dataOffset, address}}});
    }

    // MODEND; with a start address at `offset` of `segment` when segment is not 0.
    void end(std::uint16_t segment = 0, std::uint16_t offset = 0)
    {
        omf::Modend modend;
        modend.main = segment != 0;
        modend.hasStart = segment != 0;
        modend.start = {false, omf::FrameSegment, segment, false, omf::TargetSegment, segment, true, offset};
        object_.records.push_back(modend);
    }

    void writeTo(const std::filesystem::path &path) const
    {
        const std::vector<std::uint8_t> bytes = omf::writeObject(object_);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    const omf::ObjectModule &object() const { return object_; }

private:
    omf::ObjectModule object_;
    std::uint16_t names_ = 0, segments_ = 0, groups_ = 0, externs_ = 0;
};

// A frame and target by segment, group or external, with a displacement.
inline omf::FixupAddress address(std::uint8_t frameMethod, std::uint16_t frameDatum, std::uint8_t targetMethod,
                                 std::uint16_t targetDatum, std::uint16_t displacement = 0)
{
    return {false, frameMethod, frameDatum, false, targetMethod, targetDatum, displacement != 0, displacement};
}

} // namespace velmora::assembler::link::testing
