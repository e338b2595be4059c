// The platform clipboard as the editor reaches it: plain text in the editor's code page, and
// the block format ("Borland IDE Block Type") that marks the text as a column block.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::core
{

// The block format's one byte of data.
inline constexpr char kBlockFormatValue = 2;

class IClipboard
{
public:
    virtual ~IClipboard() = default;

    // Replaces the clipboard's contents by text (breaks as 13, 10); with block, the block
    // format holding kBlockFormatValue goes beside it.
    virtual void put(std::string_view text, bool block) = 0;
    // The plain text on the clipboard, or nothing when it holds none.
    virtual std::optional<std::string> text() const = 0;
    // The block format's data when the clipboard holds that format (possibly empty).
    virtual std::optional<std::string> blockData() const = 0;
};

} // namespace velmora::core
