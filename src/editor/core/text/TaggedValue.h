// The tagged value encoding that stored properties ("Strings", "Keys") and ".kbn" keyword
// files are written in: one tag byte, then the value's data, integers little-endian.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velmora::core
{

enum class TaggedKind : std::uint8_t {
    ListEnd = 0,
    ListBegin = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    ShortString = 6, // 1 length byte, then the bytes
    False = 8,
    True = 9,
    LongString = 12, // 4 length bytes, then the bytes
    WideString = 18, // 4-byte length in characters, then UTF-16 code units
    Utf8String = 20, // 4 length bytes, then UTF-8 bytes
};

// Malformed or truncated tagged data.
class TaggedValueError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The longest string a writer can store (4-byte length) and a reader accepts.
constexpr std::size_t kMaxTaggedStringBytes = 0x7FFFFFFF;

} // namespace velmora::core
