// The records of a 16-bit OMF object module, one struct per record type, kept in file order.
// Every field the format encodes is kept as written, so that writing a module read from a
// file gives the same bytes. Indexes (names, segments, groups, externals) are 1-based as in
// the file; 0 means "none".
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace velmora::assembler::omf
{

// Record type bytes (16-bit forms).
enum RecordType : std::uint8_t {
    THEADR = 0x80,
    COMENT = 0x88,
    MODEND = 0x8A,
    EXTDEF = 0x8C,
    PUBDEF = 0x90,
    LINNUM = 0x94,
    LNAMES = 0x96,
    SEGDEF = 0x98,
    GRPDEF = 0x9A,
    FIXUPP = 0x9C,
    LEDATA = 0xA0,
    LIDATA = 0xA2,
    LEXTDEF = 0xB4,
    LPUBDEF = 0xB6,
};

// COMENT classes that carry meaning for the tools.
enum CommentClass : std::uint8_t {
    TranslatorComment = 0x00,
    DebugInfoComment = 0xA1,
    LinkPassSeparator = 0xA2,
    DependencyFileComment = 0xE9,
};

struct Theadr {
    std::string name;
};

struct Coment {
    std::uint8_t flags = 0;
    std::uint8_t commentClass = 0;
    std::vector<std::uint8_t> text;
};

struct Lnames {
    std::vector<std::string> names;
};

enum class Align : std::uint8_t { Absolute = 0, Byte = 1, Word = 2, Paragraph = 3, Page = 4, DWord = 5 };
enum class Combine : std::uint8_t { Private = 0, Public = 2, Public4 = 4, Stack = 5, Common = 6, Public7 = 7 };

struct Segdef {
    Align align = Align::Paragraph;
    Combine combine = Combine::Public;
    bool use32 = false;              // the P bit of ACBP
    std::uint16_t absoluteFrame = 0; // only for Align::Absolute
    std::uint8_t absoluteOffset = 0;
    std::uint32_t length = 0; // 0x10000 is written as the B bit with a length of 0
    std::uint16_t nameIndex = 0;
    std::uint16_t classIndex = 0;
    std::uint16_t overlayIndex = 0;
};

struct Grpdef {
    std::uint16_t nameIndex = 0;
    std::vector<std::uint16_t> segments; // segment indexes
};

struct ExternalName {
    std::string name;
    std::uint16_t typeIndex = 0;
};

struct Extdef {
    bool local = false; // LEXTDEF
    std::vector<ExternalName> names;
};

struct PublicName {
    std::string name;
    std::uint16_t offset = 0;
    std::uint16_t typeIndex = 0;
};

struct Pubdef {
    bool local = false; // LPUBDEF
    std::uint16_t groupIndex = 0;
    std::uint16_t segmentIndex = 0;
    std::uint16_t frame = 0; // only when segmentIndex is 0 (absolute symbols)
    std::vector<PublicName> names;
};

struct LineEntry {
    std::uint16_t line = 0;
    std::uint16_t offset = 0;
};

struct Linnum {
    std::uint16_t groupIndex = 0;
    std::uint16_t segmentIndex = 0;
    std::vector<LineEntry> lines;
};

// Enumerated data. Writers keep `data` at 1024 bytes or less, so that the 10-bit data
// offsets of the fixups that follow can reach every byte.
struct Ledata {
    std::uint16_t segmentIndex = 0;
    std::uint16_t offset = 0;
    std::vector<std::uint8_t> data;
};

// One block of LIDATA: `repeat` copies of either its inner blocks or, when it has none, of
// its content bytes.
struct IteratedBlock {
    std::uint16_t repeat = 1;
    std::vector<IteratedBlock> inner;
    std::vector<std::uint8_t> content;
};

struct Lidata {
    std::uint16_t segmentIndex = 0;
    std::uint16_t offset = 0;
    std::vector<IteratedBlock> blocks;
};

// Frame methods F0..F5 and target methods T0..T3 of a fixup.
enum FrameMethod : std::uint8_t {
    FrameSegment = 0,
    FrameGroup = 1,
    FrameExternal = 2,
    FrameNumber = 3,
    FrameLocation = 4,
    FrameTarget = 5,
};
enum TargetMethod : std::uint8_t { TargetSegment = 0, TargetGroup = 1, TargetExternal = 2, TargetNumber = 3 };

// Location types of a fixup: the field that is patched.
enum LocationType : std::uint8_t {
    LowByte = 0,
    Offset16 = 1,
    Base16 = 2,
    Pointer32 = 3, // offset then segment
    HighByte = 4,
    LoaderOffset16 = 5, // an offset the loader may resolve; treated as Offset16
};

// The frame and target of a fixup or of a start address. A method "by thread" holds the
// thread number (0..3) instead of a method, and no datum.
struct FixupAddress {
    bool frameByThread = false;
    std::uint8_t frameMethod = FrameTarget;
    std::uint16_t frameDatum = 0; // index, or frame number for FrameNumber
    bool targetByThread = false;
    std::uint8_t targetMethod = TargetSegment;
    std::uint16_t targetDatum = 0;
    bool hasDisplacement = false; // the P bit clear
    std::uint16_t displacement = 0;
};

struct Fixup {
    bool segmentRelative = true; // M bit: false = self-relative
    std::uint8_t location = Offset16;
    std::uint16_t dataOffset = 0; // in the preceding LEDATA or LIDATA record, 0..1023
    FixupAddress address;
};

// A THREAD subrecord: remembers a frame (or target) method and datum under a number.
struct FixupThread {
    bool frame = false; // D bit
    std::uint8_t method = 0;
    std::uint8_t number = 0;
    std::uint16_t datum = 0; // absent for frame methods 4 and 5
};

struct Fixupp {
    std::vector<std::variant<FixupThread, Fixup>> items;
};

struct Modend {
    bool main = false;
    bool hasStart = false;
    bool logicalStart = true; // X bit: the start is a fixup address, else frame:offset
    FixupAddress start;       // for a physical start: frameDatum = frame, displacement = offset
};

using Record =
    std::variant<Theadr, Coment, Lnames, Segdef, Grpdef, Extdef, Pubdef, Linnum, Ledata, Lidata, Fixupp, Modend>;

struct ObjectModule {
    std::vector<Record> records;
};

// The bytes an iterated data block stands for.
void expandIterated(const IteratedBlock &block, std::vector<std::uint8_t> &out);
std::vector<std::uint8_t> expandIterated(const Lidata &record);

} // namespace velmora::assembler::omf
