// What the editor control's text core tells its view during an edit, answered by the layout,
// the highlighting engine and the control.
#pragma once

#include "editor/core/layout/HighlightedLayoutView.h"

namespace velmora::widget
{

class TSourceMemo;

class TsmMemoView : public core::THighlightedLayoutView
{
public:
    TsmMemoView(TSourceMemo &memo, core::TLayoutEngine &layout, core::TSourceHighlightEngine &engine)
        : THighlightedLayoutView(layout, engine), memo_(memo)
    {
    }

    void notifyTextChanged() override;
    void dropCaretX() override;

private:
    TSourceMemo &memo_;
};

} // namespace velmora::widget
