// The field encodings shared by every OMF record: little-endian words, indexes of one or
// two bytes (high bit set = two bytes, big-endian 15 bits) and names with a length byte.
// `ByteReader` reads a record's body and throws `OmfError` when a field runs past its end;
// `ByteWriter` appends the same encodings.
#pragma once

#include "assembler/omf/OmfError.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velmora::assembler::omf
{

class ByteReader
{
public:
    // `recordOffset` is the file offset of the record, for messages.
    ByteReader(std::span<const std::uint8_t> body, std::size_t recordOffset) : body_(body), recordOffset_(recordOffset)
    {
    }

    bool atEnd() const { return pos_ == body_.size(); }
    std::size_t remaining() const { return body_.size() - pos_; }

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint16_t index();
    std::string name();
    std::vector<std::uint8_t> bytes(std::size_t count);
    std::vector<std::uint8_t> rest() { return bytes(remaining()); }

    [[noreturn]] void fail(const std::string &what) const;

private:
    void need(std::size_t count) const;

    std::span<const std::uint8_t> body_;
    std::size_t recordOffset_;
    std::size_t pos_ = 0;
};

class ByteWriter
{
public:
    void u8(std::uint8_t value) { out_.push_back(value); }
    void u16(std::uint16_t value);
    void index(std::uint16_t value);
    void name(const std::string &text);
    void bytes(const std::vector<std::uint8_t> &data) { out_.insert(out_.end(), data.begin(), data.end()); }

    std::vector<std::uint8_t> &data() { return out_; }

private:
    std::vector<std::uint8_t> out_;
};

} // namespace velmora::assembler::omf
