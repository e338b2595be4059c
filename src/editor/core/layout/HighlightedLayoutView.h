// The view of an editor core that lays out through a layout engine and keeps its highlighting
// through a highlighting engine: the layout's part of every edit plus the engine's three
// highlighting steps.
#pragma once

#include "editor/core/layout/LayoutView.h"
#include "editor/core/highlight/SourceHighlightEngine.h"

namespace velmora::core
{

class THighlightedLayoutView : public TLayoutView
{
public:
    THighlightedLayoutView(TLayoutEngine &layout, TSourceHighlightEngine &engine)
        : TLayoutView(layout), engine_(engine)
    {
    }

    void recordHighlightStates(TSourceNavigator &start, TSourceNavigator &end) override
    {
        engine_.recordHighlightStates(start, end);
    }
    bool repairHighlightStretch(std::int32_t &start, std::int32_t &end, bool runsCrossed) override
    {
        return engine_.repairHighlightStretch(start, end, runsCrossed);
    }
    void highlightStretch(std::int32_t start, std::int32_t end) override { engine_.highlightStretch(start, end); }

private:
    TSourceHighlightEngine &engine_;
};

} // namespace velmora::core
