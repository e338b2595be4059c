#include "assembler/link/MapFile.h"

#include "assembler/DebugSymbolComment.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace velmora::assembler::link
{

namespace
{

std::string format(const char *pattern, ...)
{
    char text[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

std::string publicLine(const PublicSymbol &symbol)
{
    const std::uint16_t offset = static_cast<std::uint16_t>(symbol.linear - symbol.mapFrame * 16u);
    return format(" %04X:%04X  %s  %s\r\n", symbol.mapFrame, offset, symbol.absolute ? "Abs" : "   ",
                  symbol.name.c_str());
}

std::string groupOf(const SegmentLayout &layout, std::size_t output)
{
    for (const OutputGroup &group : layout.groups)
        if (std::find(group.segments.begin(), group.segments.end(), output) != group.segments.end())
            return group.name;
    return "(none)";
}

} // namespace

std::string mapSegmentList(const SegmentLayout &layout)
{
    std::string text = "\r\n Start  Stop   Length Name               Class\r\n\r\n";
    for (const OutputSegment &segment : layout.segments) {
        if (segment.absolute)
            continue;
        const std::uint32_t stop = segment.length ? segment.start + segment.length - 1 : segment.start;
        text += format(" %05XH %05XH %05XH %-18s %s\r\n", segment.start, stop, segment.length, segment.name.c_str(),
                       segment.className.c_str());
    }
    return text + "\r\n";
}

std::string mapDetailedSegments(const SegmentLayout &layout, const std::vector<LinkModule> &modules)
{
    std::string text = "Detailed map of segments\r\n\r\n";
    for (std::size_t k = 0; k < layout.segments.size(); ++k) {
        const OutputSegment &segment = layout.segments[k];
        if (segment.absolute)
            continue;
        const std::string group = groupOf(layout, k);
        for (const SegmentPiece &piece : segment.pieces) {
            const omf::Segdef &segdef = *modules[piece.module].segments[piece.segment];
            const unsigned acbp = static_cast<unsigned>(segdef.align) << 5 |
                                  static_cast<unsigned>(segdef.combine) << 2 | (segdef.length == 0x10000 ? 2 : 0) |
                                  (segdef.use32 ? 1 : 0);
            text += format(" %04X:%04X %04X C=%-8s S=%-12s G=%-8s M=%-12s ACBP=%02X\r\n", segment.frame(),
                           piece.base - segment.frame() * 16u, piece.length & 0xFFFF, segment.className.c_str(),
                           segment.name.c_str(), group.c_str(), modules[piece.module].name.c_str(), acbp);
        }
    }
    return text + "\r\n";
}

std::string mapPublics(const std::vector<PublicSymbol> &publics)
{
    std::vector<const PublicSymbol *> sorted;
    for (const PublicSymbol &symbol : publics)
        sorted.push_back(&symbol);
    std::string text = "  Address         Publics by Name\r\n\r\n";
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const PublicSymbol *a, const PublicSymbol *b) { return a->name < b->name; });
    for (const PublicSymbol *symbol : sorted)
        text += publicLine(*symbol);
    text += "\r\n  Address         Publics by Value\r\n\r\n";
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const PublicSymbol *a, const PublicSymbol *b) { return a->linear < b->linear; });
    for (const PublicSymbol *symbol : sorted)
        text += publicLine(*symbol);
    return text + "\r\n";
}

std::string mapLineNumbers(const SegmentLayout &layout, const std::vector<LinkModule> &modules)
{
    std::string text;
    for (std::size_t m = 0; m < modules.size(); ++m) {
        for (const omf::Record &record : modules[m].object.records) {
            const auto *linnum = std::get_if<omf::Linnum>(&record);
            if (!linnum || linnum->segmentIndex < 1 || linnum->segmentIndex > modules[m].segments.size())
                continue;
            const SegmentPlace &place = layout.place(m, linnum->segmentIndex);
            const OutputSegment &segment = layout.segments[place.output];
            text += format("\r\nLine numbers for %s(%s) segment %s\r\n\r\n", modules[m].fileName.c_str(),
                           modules[m].name.c_str(), segment.name.c_str());
            for (std::size_t k = 0; k < linnum->lines.size(); ++k) {
                const omf::LineEntry &entry = linnum->lines[k];
                text += format("%6u %04X:%04X", entry.line, segment.frame(),
                               (place.base + entry.offset - segment.frame() * 16u) & 0xFFFF);
                text += (k % 4 == 3 || k + 1 == linnum->lines.size()) ? "\r\n" : " ";
            }
        }
    }
    return text.empty() ? text : text + "\r\n";
}

std::string mapDebugSymbols(const SegmentLayout &layout, const std::vector<LinkModule> &modules)
{
    static const char *const kinds[] = {"Label", "Procedure", "Variable", "Segment"};
    std::string text;
    for (std::size_t m = 0; m < modules.size(); ++m) {
        std::string entries;
        for (const omf::Record &record : modules[m].object.records) {
            const auto *comment = std::get_if<omf::Coment>(&record);
            if (!comment || comment->commentClass != DebugSymbolCommentClass)
                continue;
            for (const DebugSymbol &symbol : readDebugSymbolComment(*comment)) {
                if (symbol.segment < 0 || static_cast<std::size_t>(symbol.segment) >= modules[m].segments.size())
                    continue;
                const SegmentPlace &place = layout.place(m, static_cast<std::uint16_t>(symbol.segment + 1));
                const std::uint16_t frame = layout.segments[place.output].frame();
                entries += format(" %04X:%04X  %-9s %2d %5u  %c%c  %s\r\n", frame,
                                  (place.base + symbol.offset - frame * 16u) & 0xFFFF,
                                  kinds[static_cast<int>(symbol.kind)], symbol.unitSize, symbol.count,
                                  symbol.isString ? 'S' : '-', symbol.far ? 'F' : '-', symbol.name.c_str());
            }
        }
        if (!entries.empty())
            text +=
                format("\r\nDebug symbols for %s(%s)\r\n\r\n", modules[m].fileName.c_str(), modules[m].name.c_str()) +
                entries;
    }
    return text.empty() ? text : text + "\r\n";
}

std::string mapEntryPoint(std::uint16_t cs, std::uint16_t ip)
{
    return format("Program entry point at %04X:%04X\r\n", cs, ip);
}

} // namespace velmora::assembler::link
