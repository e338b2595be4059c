// What the editor control's text core tells its view during an edit, answered by the layout,
// the highlighting engine and the control.
#pragma once

#include "editor/core/LayoutView.h"
#include "editor/core/SourceHighlightEngine.h"

namespace velmora::widget
{

class TSourceMemo;

class TsmMemoView : public core::TLayoutView
{
public:
    TsmMemoView(TSourceMemo &memo, core::TLayoutEngine &layout, core::TSourceHighlightEngine &engine)
        : TLayoutView(layout), memo_(memo), engine_(engine)
    {
    }

    void recordHighlightStates(core::TSourceNavigator &start, core::TSourceNavigator &end) override
    {
        engine_.recordHighlightStates(start, end);
    }
    bool repairHighlightStretch(std::int32_t &start, std::int32_t &end, bool runsCrossed) override
    {
        return engine_.repairHighlightStretch(start, end, runsCrossed);
    }
    void highlightStretch(std::int32_t start, std::int32_t end) override { engine_.highlightStretch(start, end); }
    void notifyTextChanged() override;

private:
    TSourceMemo &memo_;
    core::TSourceHighlightEngine &engine_;
};

} // namespace velmora::widget
