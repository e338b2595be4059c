// Reads tagged values from a byte buffer. Every read checks the tag and the bounds first:
// malformed or truncated data throws TaggedValueError naming the offset, and nothing is
// read past the end of the buffer.
#pragma once

#include "editor/core/text/CodePages.h"
#include "editor/core/text/TaggedValue.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::core
{

class TaggedValueReader
{
public:
    // Wide and UTF-8 strings are converted to single-byte text in `codePage`.
    explicit TaggedValueReader(std::string_view bytes, CodePage codePage = CodePage::Windows1251)
        : data_(bytes), codePage_(codePage)
    {
    }
    // The reader keeps a view of the bytes: they must outlive it.
    TaggedValueReader(std::string &&, CodePage = CodePage::Windows1251) = delete;

    bool AtEnd() const { return pos_ >= data_.size(); }
    std::size_t Position() const { return pos_; }

    // The kind of the next value, without reading it.
    TaggedKind NextKind() const;
    bool NextIsInteger() const;
    bool NextIsString() const;
    bool NextIsListEnd() const { return NextKind() == TaggedKind::ListEnd; }

    void ReadListBegin() { expect(TaggedKind::ListBegin, "a list"); }
    void ReadListEnd() { expect(TaggedKind::ListEnd, "the end of a list"); }
    // An 8-, 16- or 32-bit integer value.
    std::int32_t ReadInteger();
    bool ReadBoolean();
    // Any of the string kinds, as single-byte text.
    std::string ReadString();

private:
    [[noreturn]] void fail(std::size_t at, const std::string &what) const;
    void expect(TaggedKind kind, const char *what);
    // Reads `count` bytes as an unsigned little-endian number.
    std::uint32_t readLittleEndian(int count);
    std::string_view readBytes(std::size_t count, const char *what);

    std::string_view data_;
    CodePage codePage_;
    std::size_t pos_ = 0;
};

} // namespace velmora::core
