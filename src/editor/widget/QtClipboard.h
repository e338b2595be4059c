// The editor's clipboard on the desktop's clipboard: text/plain, converted between the
// editor's code page and Unicode, and the block format as a MIME type of its own, so that a
// column block copied in one window pastes as a block in another.
#pragma once

#include "editor/core/editing/Clipboard.h"
#include "editor/core/text/CodePages.h"

namespace velmora::widget
{

// The MIME type of the block format "Borland IDE Block Type"; its data is the one byte 2.
inline constexpr const char *kBlockMimeType = "application/x-borland-ide-block-type";

class QtClipboard : public core::IClipboard
{
public:
    explicit QtClipboard(core::CodePage codePage = core::CodePage::Windows1251) : codePage_(codePage) {}

    core::CodePage codePage() const { return codePage_; }
    void setCodePage(core::CodePage codePage) { codePage_ = codePage; }

    // Breaks go to the desktop as 10 and come back as 13, 10, as the editor keeps them.
    void put(std::string_view text, bool block) override;
    std::optional<std::string> text() const override;
    std::optional<std::string> blockData() const override;

private:
    core::CodePage codePage_;
};

} // namespace velmora::widget
