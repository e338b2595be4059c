// Writes tagged values into a byte buffer, each in its most compact form.
#pragma once

#include "editor/core/text/CodePages.h"
#include "editor/core/text/TaggedValue.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::core
{

class TaggedValueWriter
{
public:
    // Single-byte text is in `codePage`; it matters only for strings beyond 7-bit ASCII,
    // which are written as UTF-8.
    explicit TaggedValueWriter(CodePage codePage = CodePage::Windows1251) : codePage_(codePage) {}

    void WriteListBegin() { writeTag(TaggedKind::ListBegin); }
    void WriteListEnd() { writeTag(TaggedKind::ListEnd); }
    void WriteInteger(std::int32_t value);
    void WriteBoolean(bool value) { writeTag(value ? TaggedKind::True : TaggedKind::False); }
    // Throws std::length_error beyond kMaxTaggedStringBytes.
    void WriteString(std::string_view text);

    const std::string &Bytes() const { return bytes_; }

private:
    void writeTag(TaggedKind kind) { bytes_ += static_cast<char>(kind); }
    void writeLittleEndian(std::uint32_t value, int byteCount);

    CodePage codePage_;
    std::string bytes_;
};

} // namespace velmora::core
