#include "editor/core/highlight/SourceHighlightEngine.h"

#include "editor/core/highlight/HighlightRuns.h"
#include "editor/core/highlight/SourceHighlighter.h"
#include "editor/core/editing/SourceMemoCore.h"

#include <algorithm>
#include <utility>

namespace velmora::core
{

namespace
{

// The paragraph that holds text position pos (a break belongs to the paragraph before it).
std::int32_t paragraphAt(const TParagraphsList &store, std::int32_t pos)
{
    std::int32_t lo = 0, hi = store.count() - 1;
    while (lo < hi) {
        const std::int32_t mid = (lo + hi + 1) / 2;
        if (store.startOf(mid) <= pos)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

} // namespace

TSourceHighlightEngine::TSourceHighlightEngine(TSourceMemoCore &memo) : memo_(memo) {}

TSourceHighlightEngine::~TSourceHighlightEngine()
{
    setHighlighter(nullptr);
    setCollapseHandler(nullptr);
}

TParagraphsList &TSourceHighlightEngine::paragraphs()
{
    return memo_.paragraphs();
}

void TSourceHighlightEngine::setHighlighter(TSourceHighlighter *highlighter)
{
    if (highlighter == highlighter_)
        return;
    if (highlighter_)
        std::erase(highlighter_->controls_, this);
    highlighter_ = highlighter;
    if (highlighter_)
        highlighter_->controls_.push_back(this);
}

void TSourceHighlightEngine::setUpperCaseType(TsmUpperCase type)
{
    if (type == memo_.UpperCaseType())
        return;
    memo_.setUpperCaseType(type);
    Keywords.SetUpperCaseType(type);
    StartStopKeys.SetUpperCaseType(type);
    ReApplyKeywords();
}

void TSourceHighlightEngine::setSeparators(const SeparatorSet &separators)
{
    if (separators == memo_.Separators())
        return;
    memo_.setSeparators(separators);
    ReApplyKeywords();
}

void TSourceHighlightEngine::setCollapseHandler(IsmCollapseHandler *handler)
{
    if (handler == collapseHandler_)
        return;
    if (collapseHandler_)
        collapseHandler_->LinkControl(*this, false);
    collapseHandler_ = handler;
    if (collapseHandler_)
        collapseHandler_->LinkControl(*this, true);
}

std::optional<THighlightContext> TSourceHighlightEngine::contextAt(std::int32_t position)
{
    TParagraphsList &store = paragraphs();
    if (store.count() == 0 || position < 0 || position >= store.marks().textLength())
        return std::nullopt;
    const std::int32_t p = paragraphAt(store, position);
    const ParInfo &par = *store.par(p);
    const std::int32_t offset = position - store.startOf(p);
    if (offset >= par.length())
        return std::nullopt;
    const std::int32_t next = runAfter(par, offset);
    const RunInfo &run = next > 0 ? par.run(next - 1) : *par.startRun();
    if (!forbidsKeywords(run))
        return std::nullopt;
    THighlightContext context;
    context.Context = run.contextNum;
    context.StartOffset = store.startOf(p) + (next > 0 ? run.position : 0);
    context.StopOffset = store.startOf(p) + (next < par.runCount() ? par.runPosition(next) : par.length());
    return context;
}

void TSourceHighlightEngine::ReApplyKeywords()
{
    TParagraphsList &store = paragraphs();
    for (std::int32_t i = 0; i < store.count(); ++i) {
        ParInfo &par = *store.par(i);
        par.flags &= static_cast<std::uint8_t>(~(pfLinesValid | pfStartStopDone | pfKeywordsDone));
        par.runs().reset();
        par.setStartRun(nullptr, false);
    }
    for (TSourceNavigator *n : memo_.navigators())
        n->invalidate();
    StartStopKeys.PrepareDelimiters(memo_.Separators());
    probes_.clear();
    store.marks().startStopStaleFrom(0);
    store.invalidateLayout();
}

void TSourceHighlightEngine::bringStartStopUpTo(std::int32_t par)
{
    TParagraphsList &store = paragraphs();
    par = std::min(par, store.count() - 1);
    if (par < 0)
        return;
    if (!(store.par(par)->flags & pfStartStopDone))
        store.marks().startStopStaleFrom(par);
    for (std::int32_t i = store.marks().lastStartStopPar() + 1; i <= par; ++i)
        if (!(store.par(i)->flags & pfStartStopDone))
            handOn(i, startStopPass(i));
    store.marks().startStopDoneThrough(par);
}

void TSourceHighlightEngine::highlightParagraph(std::int32_t par)
{
    if (par < 0 || par >= paragraphs().count()) {
        bringStartStopUpTo(par);
        return;
    }
    // Its passes may each change its runs: they are marked changed once, at the end. A call
    // from within (through a highlighter) keeps the outer call's marking for it.
    struct Marking {
        TSourceHighlightEngine &engine;
        std::int32_t par;
        std::int32_t outer = std::exchange(engine.highlighting_, par);
        bool outerChanged = std::exchange(engine.highlightedRunsChanged_, false);
        ~Marking()
        {
            const bool changed = std::exchange(engine.highlightedRunsChanged_, outerChanged);
            engine.highlighting_ = outer;
            if (changed)
                engine.markRunsChanged(par);
        }
    } marking{*this, par};
    bringStartStopUpTo(par);
    ParInfo &p = *paragraphs().par(par);
    if (!(p.flags & pfKeywordsDone) && (ApplyKeyWords || highlighter_)) {
        keywordPass(par);
        p.flags |= pfKeywordsDone;
    }
    p.runs().share();
}

void TSourceHighlightEngine::highlightAll()
{
    for (std::int32_t i = 0; i < paragraphs().count(); ++i)
        highlightParagraph(i);
}

void TSourceHighlightEngine::handOn(std::int32_t par, const RunInfo &endState)
{
    TParagraphsList &store = paragraphs();
    if (par + 1 >= store.count())
        return;
    ParInfo &next = *store.par(par + 1);
    if (sameRunState(*next.startRun(), endState))
        return;
    RunInfo state = endState;
    next.setStartRun(&state, true);
    if (next.flags & (pfStartStopDone | pfKeywordsDone | pfLinesValid)) {
        next.flags &= 0xE3;
        store.marks().queueFormatThrough(par + 1);
        store.marks().startStopStaleFrom(par + 1);
    }
}

void TSourceHighlightEngine::recordHighlightStates(TSourceNavigator &start, TSourceNavigator &end)
{
    recordedStart_ = runInForce(*start.paragraph(), start.ParOffset());
    recordedEnd_ = runInForce(*end.paragraph(), end.ParOffset());
}

bool TSourceHighlightEngine::repairHighlightStretch(std::int32_t &start, std::int32_t &end, bool runsCrossed)
{
    // Spans need no widening: an edit re-scans its paragraphs whole. Only runs with attributes
    // but no span (which no pass rebuilds) are repaired around the new text.
    TParagraphsList &store = paragraphs();
    const auto isAttributeRun = [](const RunInfo &r) { return hasAttributes(r) && !isSpan(r); };
    if (isAttributeRun(recordedStart_)) {
        if (!runsCrossed)
            return false;
        const std::int32_t p = paragraphAt(store, start);
        RunInfo plain = *sharedDefaultRun();
        plain.position = start - store.startOf(p);
        storeRun(*store.par(p), plain);
        runsChanged(p);
    }
    if (isAttributeRun(recordedEnd_) && runsCrossed) {
        const std::int32_t p = paragraphAt(store, end);
        RunInfo back = recordedEnd_;
        back.position = end - store.startOf(p);
        if (back.position < store.lengthOf(p)) {
            storeRun(*store.par(p), back);
            runsChanged(p);
        }
    }
    return true;
}

void TSourceHighlightEngine::highlightStretch(std::int32_t start, std::int32_t end)
{
    TParagraphsList &store = paragraphs();
    if (store.count() == 0)
        return;
    const std::int32_t a = paragraphAt(store, start);
    const std::int32_t b = std::max(a, paragraphAt(store, end));
    if (!(store.par(a)->flags & pfStartStopDone))
        return;
    const bool keywords = store.par(a)->flags & pfKeywordsDone;
    for (std::int32_t i = a; i <= b; ++i)
        handOn(i, startStopPass(i));
    for (std::int32_t i = a; i <= b; ++i) {
        if (keywords) {
            keywordPass(i);
            store.par(i)->flags |= pfKeywordsDone;
        }
        store.par(i)->runs().share();
    }
}

const char *TSourceHighlightEngine::folded(std::int32_t par, std::int32_t first, std::int32_t len)
{
    return memo_.upperCased(par, first, len);
}

const char *TSourceHighlightEngine::matchText(std::int32_t par, bool matchCase)
{
    if (matchCase)
        return paragraphs().textOf(par).data();
    return folded(par, 0, paragraphs().lengthOf(par));
}

RunInfo TSourceHighlightEngine::enclosingState(std::int32_t par, std::int32_t offset, int level)
{
    TParagraphsList &store = paragraphs();
    for (std::int32_t i = par; i >= 0; --i) {
        const ParInfo &p = *store.par(i);
        std::int32_t r = i == par ? runAfter(p, offset - 1) : p.runCount();
        while (--r >= 0)
            if (runLevel(p.runState(r)) < level)
                return p.run(r);
        if (runLevel(*p.startRun()) < level)
            return *p.startRun();
    }
    return *sharedDefaultRun();
}

void TSourceHighlightEngine::endSpanAt(std::int32_t par, std::int32_t offset, const RunInfo &span,
                                       const RunInfo *continuation)
{
    RunInfo after = continuation ? *continuation : enclosingState(par, offset, runLevel(span));
    after.position = offset;
    storeRun(*paragraphs().par(par), after);
}

void TSourceHighlightEngine::runsChanged(std::int32_t par)
{
    if (par == highlighting_)
        highlightedRunsChanged_ = true;
    else
        markRunsChanged(par);
}

void TSourceHighlightEngine::markRunsChanged(std::int32_t par)
{
    TParagraphsList &store = paragraphs();
    store.par(par)->flags &= static_cast<std::uint8_t>(~pfLinesValid);
    const std::int32_t from = store.startOf(par);
    const std::int32_t to = from + store.lengthOf(par) + 1;
    for (TSourceNavigator *n : memo_.navigators())
        if (n->Pos() >= from && n->Pos() <= to)
            n->invalidate();
}

} // namespace velmora::core
