#include "editor/core/highlight/SourceHighlighter.h"

#include "editor/core/highlight/SourceHighlightEngine.h"

#include <algorithm>

namespace velmora::core
{

TSourceHighlighter::~TSourceHighlighter()
{
    while (!controls_.empty())
        controls_.back()->setHighlighter(nullptr);
    const std::vector<TSourceHighlighter *> watchers = std::move(watchers_);
    for (TSourceHighlighter *w : watchers)
        w->highlighterRemoved(this);
}

void TSourceHighlighter::HighlightKeywords(THighlightScan &, std::int32_t, std::int32_t) {}

bool TSourceHighlighter::FindStartKey(THighlightScan &, std::int32_t)
{
    return false;
}

bool TSourceHighlighter::FindStopKey(THighlightScan &, std::int32_t)
{
    return false;
}

void TSourceHighlighter::HighlighterMessage(std::int32_t, std::int16_t) {}

bool TSourceHighlighter::AdjustScanStart(THighlightScan &, std::int32_t)
{
    return false;
}

void TSourceHighlighter::reapplyToControls()
{
    for (TSourceHighlightEngine *engine : controls_)
        engine->ReApplyKeywords();
}

void TSourceHighlighter::watch(TSourceHighlighter *other)
{
    if (other && std::find(other->watchers_.begin(), other->watchers_.end(), this) == other->watchers_.end())
        other->watchers_.push_back(this);
}

void TSourceHighlighter::unwatch(TSourceHighlighter *other)
{
    if (other)
        std::erase(other->watchers_, this);
}

} // namespace velmora::core
