// TLayoutKeyView: the layout engine as the key commands see it (TKeyLayout): its pixel rules,
// its page of display lines and its scrolling, animated over ScrollTime.
#pragma once

#include "editor/core/editing/KeyLayout.h"

namespace velmora::core
{

class TLayoutEngine;

class TLayoutKeyView : public TKeyLayout
{
public:
    explicit TLayoutKeyView(TLayoutEngine &layout) : layout_(layout) {}

    void layOutParagraph(std::int32_t par) override;
    void layOutUpToLine(std::int32_t line) override;
    std::int32_t xOf(TSourceNavigator &nav) override;
    void moveToX(TSourceNavigator &nav, std::int32_t x) override;
    std::int32_t blankWidth() override;
    std::int32_t leftMargin() override;
    std::int32_t horzOffset() override;
    std::int32_t topLine() override;
    // The lines of the window less one, at least one.
    std::int32_t pageLines() override;
    void scrollPage(std::int32_t direction, std::int32_t lines) override;
    void scrollCaretIntoView(TSourceNavigator &caret) override;
    void repaintBetween(std::int32_t from, std::int32_t to) override;
    void placeCaret() override;

private:
    TLayoutEngine &layout_;
};

} // namespace velmora::core
