#include "editor/core/text/TaggedValueReader.h"

namespace velmora::core
{

namespace
{

bool isKnownTag(std::uint8_t tag)
{
    switch (static_cast<TaggedKind>(tag)) {
    case TaggedKind::ListEnd:
    case TaggedKind::ListBegin:
    case TaggedKind::Int8:
    case TaggedKind::Int16:
    case TaggedKind::Int32:
    case TaggedKind::ShortString:
    case TaggedKind::False:
    case TaggedKind::True:
    case TaggedKind::LongString:
    case TaggedKind::WideString:
    case TaggedKind::Utf8String:
        return true;
    }
    return false;
}

// Malformed sequences and characters beyond the Basic Multilingual Plane become U+FFFD,
// which no code page holds, so they end up as '?'.
std::u16string fromUtf8(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        const int extra = lead < 0x80             ? 0
                          : (lead & 0xE0) == 0xC0 ? 1
                          : (lead & 0xF0) == 0xE0 ? 2
                          : (lead & 0xF8) == 0xF0 ? 3
                                                  : -1;
        std::uint32_t c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
        int taken = 1;
        bool valid = extra >= 0;
        while (valid && taken <= extra) {
            if (i + taken >= bytes.size() || (static_cast<std::uint8_t>(bytes[i + taken]) & 0xC0) != 0x80) {
                valid = false;
            } else {
                c = (c << 6) | (static_cast<std::uint8_t>(bytes[i + taken]) & 0x3F);
                ++taken;
            }
        }
        out += valid && c < 0x10000 && (c < 0xD800 || c > 0xDFFF) ? static_cast<char16_t>(c) : u'\uFFFD';
        i += taken;
    }
    return out;
}

} // namespace

TaggedKind TaggedValueReader::NextKind() const
{
    if (AtEnd())
        fail(pos_, "the data ends where a value was expected");
    const auto tag = static_cast<std::uint8_t>(data_[pos_]);
    if (!isKnownTag(tag))
        fail(pos_, "unknown value tag " + std::to_string(tag));
    return static_cast<TaggedKind>(tag);
}

bool TaggedValueReader::NextIsInteger() const
{
    const TaggedKind kind = NextKind();
    return kind == TaggedKind::Int8 || kind == TaggedKind::Int16 || kind == TaggedKind::Int32;
}

bool TaggedValueReader::NextIsString() const
{
    const TaggedKind kind = NextKind();
    return kind == TaggedKind::ShortString || kind == TaggedKind::LongString || kind == TaggedKind::WideString ||
           kind == TaggedKind::Utf8String;
}

std::int32_t TaggedValueReader::ReadInteger()
{
    const std::size_t at = pos_;
    switch (NextKind()) {
    case TaggedKind::Int8:
        ++pos_;
        return static_cast<std::int8_t>(readLittleEndian(1));
    case TaggedKind::Int16:
        ++pos_;
        return static_cast<std::int16_t>(readLittleEndian(2));
    case TaggedKind::Int32:
        ++pos_;
        return static_cast<std::int32_t>(readLittleEndian(4));
    default:
        fail(at, "an integer was expected");
    }
}

bool TaggedValueReader::ReadBoolean()
{
    const TaggedKind kind = NextKind();
    if (kind != TaggedKind::False && kind != TaggedKind::True)
        fail(pos_, "a Boolean was expected");
    ++pos_;
    return kind == TaggedKind::True;
}

std::string TaggedValueReader::ReadString()
{
    const std::size_t at = pos_;
    const TaggedKind kind = NextKind();
    ++pos_;
    switch (kind) {
    case TaggedKind::ShortString:
        return std::string(readBytes(readLittleEndian(1), "string"));
    case TaggedKind::LongString:
        return std::string(readBytes(readLittleEndian(4), "string"));
    case TaggedKind::Utf8String:
        return encode(fromUtf8(readBytes(readLittleEndian(4), "string")), codePage_);
    case TaggedKind::WideString: {
        const std::size_t characters = readLittleEndian(4);
        if (characters > (data_.size() - pos_) / 2)
            fail(at, "the wide string's length of " + std::to_string(characters) + " characters exceeds the data");
        const std::string_view units = readBytes(characters * 2, "wide string");
        std::u16string text(characters, u'\0');
        for (std::size_t i = 0; i < characters; ++i)
            text[i] = static_cast<char16_t>(static_cast<std::uint8_t>(units[2 * i]) |
                                            static_cast<std::uint8_t>(units[2 * i + 1]) << 8);
        return encode(text, codePage_);
    }
    default:
        fail(at, "a string was expected");
    }
}

void TaggedValueReader::fail(std::size_t at, const std::string &what) const
{
    throw TaggedValueError("Invalid stored value at offset " + std::to_string(at) + ": " + what);
}

void TaggedValueReader::expect(TaggedKind kind, const char *what)
{
    if (NextKind() != kind)
        fail(pos_, std::string(what) + " was expected");
    ++pos_;
}

std::uint32_t TaggedValueReader::readLittleEndian(int count)
{
    const std::string_view bytes = readBytes(static_cast<std::size_t>(count), "number");
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[i]);
    return value;
}

std::string_view TaggedValueReader::readBytes(std::size_t count, const char *what)
{
    if (count > data_.size() - pos_)
        fail(pos_, std::string("the ") + what + " needs " + std::to_string(count) + " bytes but only " +
                       std::to_string(data_.size() - pos_) + " remain");
    const std::string_view bytes = data_.substr(pos_, count);
    pos_ += count;
    return bytes;
}

} // namespace velmora::core
