#include "assembler/omf/OmfReader.h"

#include "assembler/omf/OmfBytes.h"
#include "assembler/omf/OmfFraming.h"

#include <cstdio>

namespace velmora::assembler::omf
{

namespace
{

// LIDATA expands to at most one segment's worth of bytes.
constexpr std::uint64_t MaxIteratedSize = 0x10000;

std::uint16_t readDatum(ByteReader &in, std::uint8_t method)
{
    return method == FrameNumber ? in.u16() : in.index();
}

void readAddress(ByteReader &in, FixupAddress &address)
{
    const std::uint8_t fixdat = in.u8();
    address.frameByThread = (fixdat & 0x80) != 0;
    address.frameMethod = (fixdat >> 4) & 7;
    address.targetByThread = (fixdat & 0x08) != 0;
    address.hasDisplacement = (fixdat & 0x04) == 0;
    address.targetMethod = fixdat & 3;
    if (!address.frameByThread) {
        if (address.frameMethod > FrameTarget)
            in.fail("Invalid fixup frame method " + std::to_string(address.frameMethod));
        if (address.frameMethod <= FrameNumber)
            address.frameDatum = readDatum(in, address.frameMethod);
    }
    if (!address.targetByThread)
        address.targetDatum = readDatum(in, address.targetMethod);
    if (address.hasDisplacement)
        address.displacement = in.u16();
}

Segdef readSegdef(ByteReader &in)
{
    Segdef seg;
    const std::uint8_t acbp = in.u8();
    seg.align = static_cast<Align>(acbp >> 5);
    seg.combine = static_cast<Combine>((acbp >> 2) & 7);
    seg.use32 = (acbp & 1) != 0;
    if (seg.align == Align::Absolute) {
        seg.absoluteFrame = in.u16();
        seg.absoluteOffset = in.u8();
    }
    seg.length = in.u16();
    if (acbp & 2) {
        if (seg.length != 0)
            in.fail("Segment of 64K with a non-zero length field");
        seg.length = 0x10000;
    }
    seg.nameIndex = in.index();
    seg.classIndex = in.index();
    seg.overlayIndex = in.index();
    return seg;
}

Grpdef readGrpdef(ByteReader &in)
{
    Grpdef group;
    group.nameIndex = in.index();
    while (!in.atEnd()) {
        if (in.u8() != 0xFF)
            in.fail("Group component other than a segment index");
        group.segments.push_back(in.index());
    }
    return group;
}

Extdef readExtdef(ByteReader &in, bool local)
{
    Extdef ext{local, {}};
    while (!in.atEnd()) {
        ExternalName name;
        name.name = in.name();
        name.typeIndex = in.index();
        ext.names.push_back(std::move(name));
    }
    return ext;
}

Pubdef readPubdef(ByteReader &in, bool local)
{
    Pubdef pub;
    pub.local = local;
    pub.groupIndex = in.index();
    pub.segmentIndex = in.index();
    if (pub.segmentIndex == 0)
        pub.frame = in.u16();
    while (!in.atEnd()) {
        PublicName name;
        name.name = in.name();
        name.offset = in.u16();
        name.typeIndex = in.index();
        pub.names.push_back(std::move(name));
    }
    return pub;
}

Linnum readLinnum(ByteReader &in)
{
    Linnum lines;
    lines.groupIndex = in.index();
    lines.segmentIndex = in.index();
    while (!in.atEnd()) {
        LineEntry entry;
        entry.line = in.u16();
        entry.offset = in.u16();
        lines.lines.push_back(entry);
    }
    return lines;
}

IteratedBlock readBlock(ByteReader &in, std::uint64_t &size, int depth)
{
    if (depth > 16)
        in.fail("Iterated data nested too deeply");
    IteratedBlock block;
    block.repeat = in.u16();
    const std::uint16_t count = in.u16();
    std::uint64_t once = 0;
    if (count == 0) {
        block.content = in.bytes(in.u8());
        once = block.content.size();
    } else {
        for (std::uint16_t k = 0; k < count; ++k)
            block.inner.push_back(readBlock(in, once, depth + 1));
    }
    size += once * block.repeat;
    if (size > MaxIteratedSize)
        in.fail("Iterated data larger than a segment");
    return block;
}

Lidata readLidata(ByteReader &in)
{
    Lidata data;
    data.segmentIndex = in.index();
    data.offset = in.u16();
    std::uint64_t size = 0;
    while (!in.atEnd())
        data.blocks.push_back(readBlock(in, size, 0));
    return data;
}

Fixupp readFixupp(ByteReader &in)
{
    Fixupp fixups;
    while (!in.atEnd()) {
        const std::uint8_t first = in.u8();
        if (first & 0x80) {
            Fixup fix;
            fix.segmentRelative = (first & 0x40) != 0;
            fix.location = (first >> 2) & 0x0F;
            fix.dataOffset = static_cast<std::uint16_t>((first & 3) << 8 | in.u8());
            readAddress(in, fix.address);
            fixups.items.emplace_back(fix);
        } else {
            FixupThread thread;
            thread.frame = (first & 0x40) != 0;
            thread.method = (first >> 2) & 7;
            thread.number = first & 3;
            if (thread.frame && thread.method > FrameTarget)
                in.fail("Invalid frame thread method " + std::to_string(thread.method));
            const std::uint8_t method = thread.frame ? thread.method : thread.method & 3;
            if (!thread.frame || thread.method <= FrameNumber)
                thread.datum = readDatum(in, method);
            fixups.items.emplace_back(thread);
        }
    }
    return fixups;
}

Modend readModend(ByteReader &in)
{
    Modend end;
    const std::uint8_t type = in.u8();
    end.main = (type & 0x80) != 0;
    end.hasStart = (type & 0x40) != 0;
    end.logicalStart = (type & 1) != 0;
    if (end.hasStart) {
        if (end.logicalStart) {
            readAddress(in, end.start);
        } else {
            end.start.frameMethod = FrameNumber;
            end.start.frameDatum = in.u16();
            end.start.hasDisplacement = true;
            end.start.displacement = in.u16();
        }
    }
    return end;
}

Record readRecord(const RawRecord &raw)
{
    ByteReader in(raw.body, raw.offset);
    Record record;
    switch (raw.type) {
    case THEADR:
        record = Theadr{in.name()};
        break;
    case COMENT: {
        Coment comment;
        comment.flags = in.u8();
        comment.commentClass = in.u8();
        comment.text = in.rest();
        record = std::move(comment);
        break;
    }
    case LNAMES: {
        Lnames names;
        while (!in.atEnd())
            names.names.push_back(in.name());
        record = std::move(names);
        break;
    }
    case SEGDEF:
        record = readSegdef(in);
        break;
    case GRPDEF:
        record = readGrpdef(in);
        break;
    case EXTDEF:
    case LEXTDEF:
        record = readExtdef(in, raw.type == LEXTDEF);
        break;
    case PUBDEF:
    case LPUBDEF:
        record = readPubdef(in, raw.type == LPUBDEF);
        break;
    case LINNUM:
        record = readLinnum(in);
        break;
    case LEDATA: {
        Ledata data;
        data.segmentIndex = in.index();
        data.offset = in.u16();
        data.data = in.rest();
        record = std::move(data);
        break;
    }
    case LIDATA:
        record = readLidata(in);
        break;
    case FIXUPP:
        record = readFixupp(in);
        break;
    case MODEND:
        record = readModend(in);
        break;
    default: {
        char text[48];
        std::snprintf(text, sizeof text, "Unknown record type %02Xh", raw.type);
        in.fail(text);
    }
    }
    if (!in.atEnd())
        in.fail("Record has bytes after its last field");
    return record;
}

} // namespace

ObjectModule readObject(std::span<const std::uint8_t> file)
{
    ObjectModule module;
    for (const RawRecord &raw : splitRecords(file))
        module.records.push_back(readRecord(raw));
    return module;
}

} // namespace velmora::assembler::omf
