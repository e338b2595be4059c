// What one assembly produces, kept as data so that writing an object file, a listing or
// debug information is a separate last step: the segments with their bytes and fixups,
// groups, external and public names, and the line numbers and symbols a debugger is told.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::assembler
{

enum class SegmentAlign { Byte, Word, Paragraph, Page };
enum class SegmentCombine { Private, Public, Stack, Common };

// Where a fixup's value comes from.
enum class TargetKind { Segment, Group, External };

enum class FixupKind {
    Offset16,   // the target's offset (in its frame)
    Segment16,  // the target's paragraph
    Pointer32,  // offset then paragraph: a far pointer
    Relative16, // a near jump or call: target minus the end of the field
};

struct FixupTarget {
    TargetKind kind = TargetKind::Segment;
    int index = 0; // into segments, groups or externals
    bool operator==(const FixupTarget &) const = default;
};

struct Fixup {
    std::uint16_t offset = 0; // of the field in its segment
    FixupKind kind = FixupKind::Offset16;
    FixupTarget target;
    // The frame the offset is taken in: the target's group when it has one.
    FixupTarget frame;
};

struct Segment {
    std::string name;
    std::string className;
    SegmentAlign align = SegmentAlign::Paragraph;
    SegmentCombine combine = SegmentCombine::Private;
    int group = -1;
    std::uint32_t size = 0;          // highest location reached
    std::vector<std::uint8_t> bytes; // contents up to size; uninitialised bytes are zero
    std::vector<bool> initialised;   // per byte: written by data or code (not ? or skipped)
    std::vector<Fixup> fixups;
};

struct Group {
    std::string name;
    std::vector<int> segments;
};

// A symbol's kind as an object file records it for EXTRN.
enum class ExternalType { Near, Far, Byte, Word, Dword, Qword, Tbyte, Abs, Unknown };

struct External {
    std::string name;
    ExternalType type = ExternalType::Unknown;
};

struct Public {
    std::string name;
    int segment = -1; // -1: an absolute value
    std::uint16_t offset = 0;
};

// A line of the main source file that gave bytes (itself or through the macro it
// called), at its first byte; lines of included files have none.
struct LineNumber {
    int segment = 0;
    std::uint16_t offset = 0;
    int line = 0;
};

enum class DebugSymbolKind { Label, Procedure, Variable, Segment };

// A name the debugger can show: a label or procedure, a variable with its type, a segment.
struct DebugSymbol {
    std::string name; // as written
    DebugSymbolKind kind = DebugSymbolKind::Label;
    int segment = 0;
    std::uint16_t offset = 0; // a segment's is 0
    int unitSize = 0;         // a variable's element size (1 DB ... 10 DT); 0 else
    // A variable's elements, all that its definition gives; a segment's length in bytes.
    std::uint32_t count = 0;
    bool isString = false; // a DB defined from a quoted string
    bool far = false;      // a FAR label or procedure
};

struct ObjectModule {
    std::string sourceName;
    std::vector<Segment> segments;
    std::vector<Group> groups;
    std::vector<External> externals;
    std::vector<Public> publics;
    std::vector<LineNumber> lines;
    std::vector<DebugSymbol> symbols; // in the order the source defines them, then the segments
    // The start address given with END, when there is one.
    bool hasStart = false;
    int startSegment = -1;
    std::uint16_t startOffset = 0;
};

} // namespace velmora::assembler
