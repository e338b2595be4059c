// TSourceHighlighter: the base of the components that add highlight runs of their own to the
// editors that reference them (their Highlighter). The engine calls the hooks from its passes,
// one paragraph at a time. The base numbers tell where the highlighter's entries begin in the
// run stack: its keyword i is entry keywordBase + i, its start-stop key i is entry
// startStopBase + i - 32768.
#pragma once

#include "editor/core/text/Component.h"

#include <cstdint>
#include <vector>

namespace velmora::core
{

class TSourceHighlightEngine;

// Where a hook works: paragraph par, from pos up to end (an offset, exclusive). A hook that
// changes runs moves pos to where the scan goes on.
struct THighlightScan {
    TSourceHighlightEngine &engine;
    std::int32_t par;
    std::int32_t pos;
    std::int32_t end;
};

class TSourceHighlighter : public TComponent
{
public:
    TSourceHighlighter() = default;
    // Leaves every editor that uses it without a highlighter and unlinks every chain to it.
    ~TSourceHighlighter() override;

    // Adds runs for keyword-like matches in [scan.pos, scan.end) of scan.par.
    virtual void HighlightKeywords(THighlightScan &scan, std::int32_t keywordBase, std::int32_t startStopBase);
    // Opens a span at the leftmost start key in [scan.pos, scan.end); true when runs changed.
    virtual bool FindStartKey(THighlightScan &scan, std::int32_t startStopBase);
    // Ends (or nests into) the span in force at scan.pos when its innermost entry is this
    // highlighter's; true when runs changed.
    virtual bool FindStopKey(THighlightScan &scan, std::int32_t startStopBase);
    // A message the editor does not send; chained highlighters hand it on.
    virtual void HighlighterMessage(std::int32_t code, std::int16_t value);
    // May move scan.pos (the start of the re-scanned stretch) back or forward so that
    // position-dependent keys are examined; true when it moved.
    virtual bool AdjustScanStart(THighlightScan &scan, std::int32_t startStopBase);

    // The editors that reference this highlighter (kept by TSourceHighlightEngine).
    const std::vector<TSourceHighlightEngine *> &Controls() const { return controls_; }
    // Every attached editor drops its runs and highlights its text again.
    void reapplyToControls();

protected:
    // Removal notice: other is being destroyed; drop every reference to it.
    virtual void highlighterRemoved(TSourceHighlighter * /*other*/) {}
    // Registers this highlighter to hear of other's destruction (or stops it).
    void watch(TSourceHighlighter *other);
    void unwatch(TSourceHighlighter *other);

private:
    friend class TSourceHighlightEngine;
    std::vector<TSourceHighlightEngine *> controls_;
    std::vector<TSourceHighlighter *> watchers_;
};

} // namespace velmora::core
