// What the key commands ask of the layout that shows the text: display lines laid out on
// demand, the pixel x of positions, the page a page key moves by and the view's scrolling.
// The layout engine implements it (TLayoutKeyView); the commands know no layout class.
#pragma once

#include <cstdint>

namespace velmora::core
{

class TSourceNavigator;

class TKeyLayout
{
public:
    virtual ~TKeyLayout() = default;

    virtual void layOutParagraph(std::int32_t par) = 0;
    // Lays out every paragraph up to the one holding display line `line`.
    virtual void layOutUpToLine(std::int32_t line) = 0;
    // x of the position in the window, scroll offset applied.
    virtual std::int32_t xOf(TSourceNavigator &nav) = 0;
    // Moves inside the navigator's display line to the boundary nearest to window x.
    virtual void moveToX(TSourceNavigator &nav, std::int32_t x) = 0;
    virtual std::int32_t blankWidth() = 0;
    virtual std::int32_t leftMargin() = 0;
    virtual std::int32_t horzOffset() = 0;
    // The first display line in the window, and the lines a page key moves by.
    virtual std::int32_t topLine() = 0;
    virtual std::int32_t pageLines() = 0;
    // Scrolls the view by `lines` display lines up (direction -1) or down (1), no further than
    // the text's end.
    virtual void scrollPage(std::int32_t direction, std::int32_t lines) = 0;
    virtual void scrollCaretIntoView(TSourceNavigator &caret) = 0;
    virtual void repaintBetween(std::int32_t from, std::int32_t to) = 0;
    // The caret is drawn where the origin now stands.
    virtual void placeCaret() = 0;
};

} // namespace velmora::core
