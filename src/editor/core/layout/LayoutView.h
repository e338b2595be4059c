// TLayoutView: the layout's answers to what the text core asks of its view during an edit.
// The editor control derives from it and adds the highlighting calls.
#pragma once

#include "editor/core/layout/LayoutEngine.h"
#include "editor/core/editing/MemoView.h"

namespace velmora::core
{

class TLayoutView : public TMemoView
{
public:
    explicit TLayoutView(TLayoutEngine &layout) : layout_(layout) {}

    void paragraphsTouched(std::int32_t first, std::int32_t last) override { layout_.paragraphsTouched(first, last); }
    void paragraphsReplaced(std::int32_t first, std::int32_t last) override { layout_.paragraphsReplaced(first, last); }
    void relayoutChangedRange() override { layout_.refreshAfterEdit(); }
    void placeCaret() override { layout_.window().placeCaret(); }
    void repaintBetween(std::int32_t from, std::int32_t to) override { layout_.repaintBetween(from, to); }
    void scrollToTop() override { layout_.scrollTo(0, 0, 0); }
    void scrollCaretIntoView(TSourceNavigator &caret) override { layout_.scrollCaretIntoView(caret); }
    void textLoaded(bool layOut) override { layout_.textLoaded(layOut); }
    void layOutUpToLine(std::int32_t line) override { layout_.layOutUpToLine(line); }
    void layOutParagraph(std::int32_t par) override { layout_.layOutParagraph(par); }

protected:
    TLayoutEngine &layout_;
};

} // namespace velmora::core
