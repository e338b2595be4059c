#include "assembler/omf/OmfBytes.h"

#include <stdexcept>

namespace velmora::assembler::omf
{

void ByteReader::fail(const std::string &what) const
{
    throw OmfError(what, recordOffset_);
}

void ByteReader::need(std::size_t count) const
{
    if (remaining() < count)
        fail("Record ends inside a field");
}

std::uint8_t ByteReader::u8()
{
    need(1);
    return body_[pos_++];
}

std::uint16_t ByteReader::u16()
{
    need(2);
    const std::uint16_t value = static_cast<std::uint16_t>(body_[pos_] | body_[pos_ + 1] << 8);
    pos_ += 2;
    return value;
}

std::uint16_t ByteReader::index()
{
    const std::uint8_t first = u8();
    if ((first & 0x80) == 0)
        return first;
    return static_cast<std::uint16_t>((first & 0x7F) << 8 | u8());
}

std::string ByteReader::name()
{
    const std::uint8_t length = u8();
    need(length);
    std::string text(reinterpret_cast<const char *>(body_.data() + pos_), length);
    pos_ += length;
    return text;
}

std::vector<std::uint8_t> ByteReader::bytes(std::size_t count)
{
    need(count);
    std::vector<std::uint8_t> data(body_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                   body_.begin() + static_cast<std::ptrdiff_t>(pos_ + count));
    pos_ += count;
    return data;
}

void ByteWriter::u16(std::uint16_t value)
{
    out_.push_back(static_cast<std::uint8_t>(value));
    out_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::index(std::uint16_t value)
{
    if (value >= 0x8000)
        throw std::invalid_argument("OMF index out of range: " + std::to_string(value));
    if (value < 0x80) {
        out_.push_back(static_cast<std::uint8_t>(value));
        return;
    }
    out_.push_back(static_cast<std::uint8_t>(0x80 | value >> 8));
    out_.push_back(static_cast<std::uint8_t>(value));
}

void ByteWriter::name(const std::string &text)
{
    if (text.size() > 255)
        throw std::invalid_argument("OMF name longer than 255 characters: " + text.substr(0, 32) + "...");
    out_.push_back(static_cast<std::uint8_t>(text.size()));
    out_.insert(out_.end(), text.begin(), text.end());
}

} // namespace velmora::assembler::omf
