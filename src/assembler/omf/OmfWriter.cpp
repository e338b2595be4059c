#include "assembler/omf/OmfWriter.h"

#include "assembler/omf/OmfBytes.h"
#include "assembler/omf/OmfFraming.h"

namespace velmora::assembler::omf
{

namespace
{

void writeDatum(ByteWriter &out, std::uint8_t method, std::uint16_t datum)
{
    if (method == FrameNumber)
        out.u16(datum);
    else
        out.index(datum);
}

void writeAddress(ByteWriter &out, const FixupAddress &address)
{
    out.u8(static_cast<std::uint8_t>((address.frameByThread ? 0x80 : 0) | (address.frameMethod & 7) << 4 |
                                     (address.targetByThread ? 0x08 : 0) | (address.hasDisplacement ? 0 : 0x04) |
                                     (address.targetMethod & 3)));
    if (!address.frameByThread && address.frameMethod <= FrameNumber)
        writeDatum(out, address.frameMethod, address.frameDatum);
    if (!address.targetByThread)
        writeDatum(out, address.targetMethod, address.targetDatum);
    if (address.hasDisplacement)
        out.u16(address.displacement);
}

void writeBlock(ByteWriter &out, const IteratedBlock &block)
{
    out.u16(block.repeat);
    out.u16(static_cast<std::uint16_t>(block.inner.size()));
    if (block.inner.empty()) {
        out.u8(static_cast<std::uint8_t>(block.content.size()));
        out.bytes(block.content);
    }
    for (const IteratedBlock &inner : block.inner)
        writeBlock(out, inner);
}

struct BodyWriter {
    ByteWriter &out;

    std::uint8_t operator()(const Theadr &r)
    {
        out.name(r.name);
        return THEADR;
    }
    std::uint8_t operator()(const Coment &r)
    {
        out.u8(r.flags);
        out.u8(r.commentClass);
        out.bytes(r.text);
        return COMENT;
    }
    std::uint8_t operator()(const Lnames &r)
    {
        for (const std::string &name : r.names)
            out.name(name);
        return LNAMES;
    }
    std::uint8_t operator()(const Segdef &r)
    {
        const bool big = r.length == 0x10000;
        out.u8(static_cast<std::uint8_t>(static_cast<int>(r.align) << 5 | static_cast<int>(r.combine) << 2 |
                                         (big ? 2 : 0) | (r.use32 ? 1 : 0)));
        if (r.align == Align::Absolute) {
            out.u16(r.absoluteFrame);
            out.u8(r.absoluteOffset);
        }
        out.u16(big ? 0 : static_cast<std::uint16_t>(r.length));
        out.index(r.nameIndex);
        out.index(r.classIndex);
        out.index(r.overlayIndex);
        return SEGDEF;
    }
    std::uint8_t operator()(const Grpdef &r)
    {
        out.index(r.nameIndex);
        for (std::uint16_t segment : r.segments) {
            out.u8(0xFF);
            out.index(segment);
        }
        return GRPDEF;
    }
    std::uint8_t operator()(const Extdef &r)
    {
        for (const ExternalName &name : r.names) {
            out.name(name.name);
            out.index(name.typeIndex);
        }
        return r.local ? LEXTDEF : EXTDEF;
    }
    std::uint8_t operator()(const Pubdef &r)
    {
        out.index(r.groupIndex);
        out.index(r.segmentIndex);
        if (r.segmentIndex == 0)
            out.u16(r.frame);
        for (const PublicName &name : r.names) {
            out.name(name.name);
            out.u16(name.offset);
            out.index(name.typeIndex);
        }
        return r.local ? LPUBDEF : PUBDEF;
    }
    std::uint8_t operator()(const Linnum &r)
    {
        out.index(r.groupIndex);
        out.index(r.segmentIndex);
        for (const LineEntry &entry : r.lines) {
            out.u16(entry.line);
            out.u16(entry.offset);
        }
        return LINNUM;
    }
    std::uint8_t operator()(const Ledata &r)
    {
        out.index(r.segmentIndex);
        out.u16(r.offset);
        out.bytes(r.data);
        return LEDATA;
    }
    std::uint8_t operator()(const Lidata &r)
    {
        out.index(r.segmentIndex);
        out.u16(r.offset);
        for (const IteratedBlock &block : r.blocks)
            writeBlock(out, block);
        return LIDATA;
    }
    std::uint8_t operator()(const Fixupp &r)
    {
        for (const auto &item : r.items) {
            if (const Fixup *fix = std::get_if<Fixup>(&item)) {
                out.u8(static_cast<std::uint8_t>(0x80 | (fix->segmentRelative ? 0x40 : 0) |
                                                 (fix->location & 0x0F) << 2 | (fix->dataOffset >> 8 & 3)));
                out.u8(static_cast<std::uint8_t>(fix->dataOffset));
                writeAddress(out, fix->address);
            } else {
                const FixupThread &thread = std::get<FixupThread>(item);
                out.u8(static_cast<std::uint8_t>((thread.frame ? 0x40 : 0) | (thread.method & 7) << 2 |
                                                 (thread.number & 3)));
                const std::uint8_t method = thread.frame ? thread.method : thread.method & 3;
                if (!thread.frame || thread.method <= FrameNumber)
                    writeDatum(out, method, thread.datum);
            }
        }
        return FIXUPP;
    }
    std::uint8_t operator()(const Modend &r)
    {
        out.u8(static_cast<std::uint8_t>((r.main ? 0x80 : 0) | (r.hasStart ? 0x40 : 0) | (r.logicalStart ? 1 : 0)));
        if (r.hasStart) {
            if (r.logicalStart) {
                writeAddress(out, r.start);
            } else {
                out.u16(r.start.frameDatum);
                out.u16(r.start.displacement);
            }
        }
        return MODEND;
    }
};

} // namespace

std::vector<std::uint8_t> writeObject(const ObjectModule &module)
{
    std::vector<std::uint8_t> file;
    for (const Record &record : module.records) {
        ByteWriter body;
        const std::uint8_t type = std::visit(BodyWriter{body}, record);
        appendRecord(file, type, body.data());
    }
    return file;
}

} // namespace velmora::assembler::omf
