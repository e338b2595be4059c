#include "editor/core/text/TaggedValueWriter.h"

#include <algorithm>
#include <stdexcept>

namespace velmora::core
{

void TaggedValueWriter::WriteInteger(std::int32_t value)
{
    if (value >= -128 && value <= 127) {
        writeTag(TaggedKind::Int8);
        writeLittleEndian(static_cast<std::uint32_t>(value), 1);
    } else if (value >= -32768 && value <= 32767) {
        writeTag(TaggedKind::Int16);
        writeLittleEndian(static_cast<std::uint32_t>(value), 2);
    } else {
        writeTag(TaggedKind::Int32);
        writeLittleEndian(static_cast<std::uint32_t>(value), 4);
    }
}

void TaggedValueWriter::WriteString(std::string_view text)
{
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<std::uint8_t>(c) < 0x80; });
    const std::string utf8 = ascii ? std::string() : encodeUtf8(decode(text, codePage_));
    const std::string_view data = ascii ? text : std::string_view(utf8);
    if (data.size() > kMaxTaggedStringBytes)
        throw std::length_error("String too long to be stored");
    if (!ascii) {
        writeTag(TaggedKind::Utf8String);
        writeLittleEndian(static_cast<std::uint32_t>(data.size()), 4);
    } else if (data.size() <= 255) {
        writeTag(TaggedKind::ShortString);
        writeLittleEndian(static_cast<std::uint32_t>(data.size()), 1);
    } else {
        writeTag(TaggedKind::LongString);
        writeLittleEndian(static_cast<std::uint32_t>(data.size()), 4);
    }
    bytes_.append(data);
}

void TaggedValueWriter::writeLittleEndian(std::uint32_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace velmora::core
