#include "editor/core/layout/LayoutKeyView.h"

#include "editor/core/layout/LayoutEngine.h"
#include "editor/core/layout/NavigatorPixels.h"

#include <algorithm>

namespace velmora::core
{

void TLayoutKeyView::layOutParagraph(std::int32_t par)
{
    layout_.layOutParagraph(par);
}

void TLayoutKeyView::layOutUpToLine(std::int32_t line)
{
    layout_.layOutUpToLine(line);
}

std::int32_t TLayoutKeyView::xOf(TSourceNavigator &nav)
{
    return navigatorX(nav, layout_);
}

void TLayoutKeyView::moveToX(TSourceNavigator &nav, std::int32_t x)
{
    setX(nav, layout_, x);
}

std::int32_t TLayoutKeyView::blankWidth()
{
    return layout_.blankWidth();
}

std::int32_t TLayoutKeyView::leftMargin()
{
    return layout_.LeftMargin();
}

std::int32_t TLayoutKeyView::horzOffset()
{
    return layout_.geometry.horzOffset;
}

std::int32_t TLayoutKeyView::topLine()
{
    return layout_.topLine();
}

std::int32_t TLayoutKeyView::pageLines()
{
    return std::max(layout_.visibleLineCount() - 1, 1);
}

// Down, the view stops where the text's last line shows above the window's bottom edge (three
// pixels to spare) and never moves up.
void TLayoutKeyView::scrollPage(std::int32_t direction, std::int32_t lines)
{
    const TViewGeometry &g = layout_.geometry;
    const std::int32_t lh = layout_.lineHeight();
    const std::int32_t bottom = std::max(0, layout_.paragraphs().marks().visibleLineCount() * lh - g.clientHeight + 3);
    const std::int32_t v = direction < 0 ? std::max(g.vertOffset - lines * lh, 0)
                                         : std::max(std::min(g.vertOffset + lines * lh, bottom), g.vertOffset);
    layout_.scrollTo(v, g.horzOffset, layout_.ScrollTime);
}

void TLayoutKeyView::scrollCaretIntoView(TSourceNavigator &caret)
{
    layout_.scrollCaretIntoView(caret);
}

void TLayoutKeyView::repaintBetween(std::int32_t from, std::int32_t to)
{
    layout_.repaintBetween(from, to);
}

void TLayoutKeyView::placeCaret()
{
    layout_.window().placeCaret();
}

} // namespace velmora::core
