// A clipboard in memory for the editor tests: what was put last, and what a paste reads.
#pragma once

#include "editor/core/editing/Clipboard.h"

#include <optional>
#include <string>

namespace velmora::core::testing
{

class MemoryClipboard : public IClipboard
{
public:
    void put(std::string_view text, bool block) override
    {
        plain = std::string(text);
        block_ = block ? std::optional<std::string>(std::string(1, kBlockFormatValue)) : std::nullopt;
        ++puts;
    }
    std::optional<std::string> text() const override { return plain; }
    std::optional<std::string> blockData() const override { return block_; }

    // Sets the contents as another program might leave them.
    void set(std::optional<std::string> text, std::optional<std::string> blockFormat)
    {
        plain = std::move(text);
        block_ = std::move(blockFormat);
    }

    std::optional<std::string> plain;
    int puts = 0;

private:
    std::optional<std::string> block_;
};

} // namespace velmora::core::testing
