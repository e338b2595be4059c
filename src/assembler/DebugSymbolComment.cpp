#include "assembler/DebugSymbolComment.h"

#include "assembler/omf/OmfBytes.h"

namespace velmora::assembler
{

namespace
{

// What an entry's text may add to a record that holds 1024 bytes with its frame.
constexpr std::size_t maxCommentText = 1000;

constexpr std::uint8_t farFlag = 1;
constexpr std::uint8_t stringFlag = 2;

void writeEntry(omf::ByteWriter &out, const DebugSymbol &symbol)
{
    out.u8(static_cast<std::uint8_t>(symbol.kind));
    out.u8(static_cast<std::uint8_t>((symbol.far ? farFlag : 0) | (symbol.isString ? stringFlag : 0)));
    out.index(static_cast<std::uint16_t>(symbol.segment + 1));
    out.u16(symbol.offset);
    out.u8(static_cast<std::uint8_t>(symbol.unitSize));
    out.u16(static_cast<std::uint16_t>(symbol.count));
    out.u16(static_cast<std::uint16_t>(symbol.count >> 16));
    out.name(symbol.name);
}

} // namespace

std::vector<omf::Coment> debugSymbolComments(const std::vector<DebugSymbol> &symbols)
{
    std::vector<omf::Coment> comments;
    omf::ByteWriter text;
    for (const DebugSymbol &symbol : symbols) {
        omf::ByteWriter entry;
        writeEntry(entry, symbol);
        if (text.data().size() + entry.data().size() > maxCommentText) {
            comments.push_back({0, DebugSymbolCommentClass, std::move(text.data())});
            text = omf::ByteWriter();
        }
        text.bytes(entry.data());
    }
    if (!text.data().empty())
        comments.push_back({0, DebugSymbolCommentClass, std::move(text.data())});
    return comments;
}

std::vector<DebugSymbol> readDebugSymbolComment(const omf::Coment &comment)
{
    std::vector<DebugSymbol> symbols;
    omf::ByteReader in(comment.text, 0);
    while (!in.atEnd()) {
        DebugSymbol symbol;
        const std::uint8_t kind = in.u8();
        if (kind > static_cast<std::uint8_t>(DebugSymbolKind::Segment))
            in.fail("unknown debug symbol kind " + std::to_string(kind));
        symbol.kind = static_cast<DebugSymbolKind>(kind);
        const std::uint8_t flags = in.u8();
        symbol.far = (flags & farFlag) != 0;
        symbol.isString = (flags & stringFlag) != 0;
        symbol.segment = in.index() - 1;
        symbol.offset = in.u16();
        symbol.unitSize = in.u8();
        symbol.count = in.u16();
        symbol.count |= static_cast<std::uint32_t>(in.u16()) << 16;
        symbol.name = in.name();
        symbols.push_back(std::move(symbol));
    }
    return symbols;
}

} // namespace velmora::assembler
