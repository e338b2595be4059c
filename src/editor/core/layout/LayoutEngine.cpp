#include "editor/core/layout/LayoutEngine.h"

#include "editor/core/text/StyleCodes.h"

#include <algorithm>
#include <vector>

namespace velmora::core
{

TLayoutEngine::TLayoutEngine(TSourceMemoCore &memo, TTextMeasurer &measurer)
    : memo_(memo), breaker_(measurer), schedule_(*this)
{
    top_ = new TSourceNavigator(&memo_);
    scratch_ = new TSourceNavigator(&memo_);
}

TLayoutEngine::~TLayoutEngine()
{
    schedule_.stopThread();
    delete top_;
    delete scratch_;
}

void TLayoutEngine::createHandle(std::int32_t clientWidth, std::int32_t clientHeight)
{
    geometry.clientWidth = clientWidth;
    geometry.clientHeight = clientHeight;
    handle_ = true;
    recomputeMetrics();
    schedule_.windowCreated();
    relayoutAll();
    updateVerticalRange();
    updateHorizontalRange();
    updateScrollPositions();
}

// ---- Properties ----------------------------------------------------------------------------

void TLayoutEngine::setWordWrap(bool on)
{
    if (on == memo_.WordWrap())
        return;
    memo_.setWordWrap(on);
    relayoutAll();
}

void TLayoutEngine::setAlignment(TAlignment a)
{
    if (a == memo_.Alignment())
        return;
    memo_.setAlignment(a);
    // Without word wrap, right and centred alignment still wrap at the window width.
    if (!memo_.WordWrap())
        relayoutAll();
    else if (handle_)
        window_->repaintAll();
}

void TLayoutEngine::setTabStops(std::int32_t n)
{
    if (n == memo_.TabStops())
        return;
    memo_.setTabStops(n);
    // Tabs change line widths even where they change no breaks.
    relayoutAll();
}

void TLayoutEngine::setColumnWrap(std::int32_t n)
{
    if (n == columnWrap_)
        return;
    columnWrap_ = n;
    relayoutAll();
}

void TLayoutEngine::setWordWrapChars(const std::string &chars)
{
    if (chars == breaker_.rules.wordWrapChars)
        return;
    breaker_.rules.wordWrapChars = chars;
    relayoutAll();
}

void TLayoutEngine::setLeftMargin(std::int32_t px)
{
    setMargin(leftMargin_, px);
}

void TLayoutEngine::setRightMargin(std::int32_t px)
{
    setMargin(rightMargin_, px);
}

// A margin narrows the wrap width with word wrap on; otherwise it only moves the text.
void TLayoutEngine::setMargin(std::int32_t &margin, std::int32_t px)
{
    if (px == margin)
        return;
    margin = px;
    if (WordWrap()) {
        relayoutAll();
        return;
    }
    if (handle_) {
        updateHorizontalRange();
        window_->repaintAll();
    }
}

void TLayoutEngine::setLineHeight(std::int32_t h)
{
    h = std::min(h, 65535);
    if (h == lineHeightProperty_)
        return;
    lineHeightProperty_ = h;
    if (handle_)
        recomputeMetrics();
}

void TLayoutEngine::setJustified(bool on)
{
    if (on == justified_)
        return;
    justified_ = on;
    if (handle_)
        window_->repaintAll();
}

void TLayoutEngine::setScrollBars(TScrollStyle s)
{
    if (s == scrollBars_)
        return;
    const auto vertical = [](TScrollStyle x) { return x == ssVertical || x == ssBoth; };
    const bool barChange = vertical(s) != vertical(scrollBars_);
    scrollBars_ = s;
    if (barChange && WordWrap())
        relayoutAll();
    else if (handle_)
        window_->repaintAll();
}

void TLayoutEngine::fontChanged(std::uint8_t fontStyle)
{
    breaker_.rules.fontStyle = fontStyle & kMeasuredStyleBits;
    breaker_.fontsChanged();
    if (!handle_) {
        paragraphs().invalidateLayout();
        return;
    }
    recomputeMetrics();
    geometry.vertOffset = 0;
    geometry.horzOffset = 0;
    top_->setPos(0);
    relayoutAll();
    updateScrollPositions();
    window_->placeCaret();
    window_->scrolled(true, false);
}

void TLayoutEngine::altFontChanged()
{
    breaker_.fontsChanged();
    relayoutAll();
}

// ---- Metrics -------------------------------------------------------------------------------

std::int32_t TLayoutEngine::specialUnderlineY(std::int32_t penWidth) const
{
    return std::min(textBottom_, lineHeight_ - specialUnderlineAmplitude(penWidth) - 1);
}

void TLayoutEngine::recomputeMetrics()
{
    const TFontMetrics fm = breaker_.measurer().metrics();
    const std::int32_t oldHeight = lineHeight_;
    std::int32_t h = lineHeightProperty_ > 0 ? lineHeightProperty_ : fm.height + 1;
    // Keep line index x line height inside 32 bits.
    const std::int32_t lines = paragraphs().marks().visibleLineCount();
    if (lines > 65535)
        h = std::min(INT32_MAX / lines, h);
    lineHeight_ = std::max(h, 1);

    baseline_ = lineHeight_ - fm.descent - (lineHeight_ - fm.height + 1) / 2;
    if (baseline_ < fm.height - fm.internalLeading - fm.descent) {
        baseline_ = lineHeight_ - fm.internalLeading;
        if (baseline_ < fm.height - fm.descent - fm.internalLeading)
            baseline_ = lineHeight_;
    }
    textBottom_ = baseline_ + fm.descent;
    breaker_.fontsChanged();
    breaker_.rules.blankWidth = breaker_.measurer().textWidth(" ", breaker_.rules.fontStyle);
    breaker_.rules.chunk = 16384 / std::max(fm.maxCharWidth, 1);
    clientLines_ = geometry.clientHeight / lineHeight_ + 1;

    if (handle_ && lineHeight_ != oldHeight && oldHeight > 0) {
        const std::int32_t v = geometry.vertOffset;
        geometry.vertOffset = v % oldHeight + lineHeight_ * (v / oldHeight);
        updateVerticalRange();
        updateScrollPositions();
        window_->repaintAll();
        window_->placeCaret();
        window_->scrolled(true, false);
    }
}

// ---- Layout --------------------------------------------------------------------------------

std::int32_t TLayoutEngine::wrapWidth(const ParInfo &par) const
{
    if (par.flags & pfNoWrap)
        return INT32_MAX;
    if (!WordWrap() && Alignment() == taLeftJustify)
        return INT32_MAX - std::max(rightMargin_, 0);
    std::int32_t w;
    if (columnWrap_ > 0)
        w = columnWrap_;
    else if (columnWrap_ < 0)
        w = columnWrap_ == INT32_MIN ? INT32_MAX : -columnWrap_;
    else
        w = textAreaWidth() - leftMargin_ - rightMargin_;
    return std::max(w, 1);
}

void TLayoutEngine::updateRules()
{
    breaker_.rules.tabStops = memo_.TabStops();
    breaker_.rules.staticFormat = paragraphs().StaticFormat;
}

std::int32_t TLayoutEngine::breakParagraph(std::int32_t i, std::int32_t fromLine, std::int32_t earlyStopFrom)
{
    ++layoutStamp_;
    bool earlyStop = earlyStopFrom >= 0;
    TParagraphsList &s = paragraphs();
    ParInfo *p = s.par(i);
    bool valid = p->flags & pfLinesValid;
    if (HighlightParagraph && (!(p->flags & pfKeywordsDone) || s.marks().lastStartStopPar() < i)) {
        // The highlighting hands its state on and may mark the next paragraph for redoing.
        const bool nextValid = i + 1 < s.count() && laidOut(i + 1);
        HighlightParagraph(i);
        p = s.par(i);
        valid = valid && (p->flags & pfLinesValid);
        if (nextValid && !laidOut(i + 1))
            requeue(i + 1, i + 1);
    }
    const std::int32_t oldCount = p->lineCount();
    if (!valid || fromLine < 0 || p->hidden()) {
        fromLine = 0;
        earlyStop = false;
    }
    fromLine = std::min(fromLine, oldCount - 1);
    updateRules();
    breaker_.rules.wrapWidth = wrapWidth(*p);
    breaker_.rules.columns = columnMode() && (WordWrap() || Alignment() != taLeftJustify);

    std::vector<LineInfo> &old = oldLines_;
    old.clear();
    if (earlyStop)
        for (std::int32_t l = fromLine; l < oldCount; ++l)
            old.push_back(p->lineInfo(l));
    LineInfo start;
    if (fromLine > 0) {
        start = p->lineInfo(fromLine);
    } else {
        start.startStyle = p->startStyle();
    }

    const std::int32_t len = p->length();
    std::vector<LineInfo> &fresh = freshLines_;
    fresh.clear();
    std::size_t j = 0;
    std::size_t keptFrom = old.size();
    const bool codes = s.StaticFormat;
    const auto keep = [&](const LineInfo &line) {
        fresh.push_back(line);
        if (!earlyStop || line.nextLineStart >= len || line.nextLineStart <= earlyStopFrom)
            return true;
        while (j < old.size() && old[j].nextLineStart < line.nextLineStart)
            ++j;
        if (j + 1 >= old.size() || old[j].nextLineStart != line.nextLineStart)
            return true;
        const LineInfo &next = old[j + 1];
        std::uint8_t after = line.startStyle;
        if (codes)
            after ^=
                styleToggles({p->text + line.lineStart, static_cast<std::size_t>(line.nextLineStart - line.lineStart)});
        std::int32_t runsBefore = 0;
        while (runsBefore < p->runCount() && p->runPosition(runsBefore) < next.lineStart)
            ++runsBefore;
        if (next.lineStart != line.nextLineStart || next.startStyle != after || next.startRunIndex != runsBefore)
            return true;
        keptFrom = j + 1;
        return false;
    };
    // Passed by one reference, which the sink holds without allocating.
    breaker_.breakFrom(*p, start, [&keep](const LineInfo &line) { return keep(line); });
    fresh.insert(fresh.end(), old.begin() + static_cast<std::ptrdiff_t>(keptFrom), old.end());

    for (std::int32_t l = fromLine; l < oldCount; ++l)
        lineWidths_.remove(p->lineInfo(l).width);
    const std::int32_t newCount = fromLine + static_cast<std::int32_t>(fresh.size());
    p->setLineCount(newCount);
    for (std::int32_t l = fromLine; l < newCount; ++l) {
        const LineInfo &line = fresh[static_cast<std::size_t>(l - fromLine)];
        if (l == 0)
            p->setFirstLineInfo(line);
        else
            p->data.extra->furtherLines[static_cast<std::size_t>(l - 1)] = line;
        lineWidths_.add(line.width);
    }
    p->flags |= pfLinesValid;

    const std::int32_t lineChange = newCount - oldCount;
    const std::int32_t visibleChange = p->hidden() ? 0 : lineChange;
    s.marks().addLines(lineChange, visibleChange);
    if (visibleChange != 0)
        s.shiftFirstLines(i + 1, visibleChange);
    return visibleChange;
}

void TLayoutEngine::paragraphsTouched(std::int32_t first, std::int32_t last)
{
    TParagraphsList &s = paragraphs();
    for (std::int32_t i = first; i <= last; ++i)
        lineWidths_.removeLines(*s.par(i));
}

void TLayoutEngine::paragraphsReplaced(std::int32_t first, std::int32_t last)
{
    TParagraphsList &s = paragraphs();
    for (std::int32_t i = first; i <= last; ++i)
        lineWidths_.addLines(*s.par(i));
}

void TLayoutEngine::forgetLineWidths()
{
    TParagraphsList &s = paragraphs();
    for (std::int32_t i = 0; i < s.count(); ++i) {
        ParInfo &p = *s.par(i);
        if (!p.extended()) {
            p.data.compact.width = 0;
            continue;
        }
        p.data.extra->firstLine.width = 0;
        for (LineInfo &line : p.data.extra->furtherLines)
            line.width = 0;
    }
    lineWidths_.clear();
}

void TLayoutEngine::dropNavigatorLines(std::int32_t firstPar, std::int32_t lastPar)
{
    TParagraphsList &s = paragraphs();
    const std::int32_t from = s.startOf(firstPar);
    const std::int32_t to = s.startOf(lastPar) + s.lengthOf(lastPar) + 1;
    for (TSourceNavigator *n : memo_.navigators())
        if (n->Pos() >= from && n->Pos() <= to)
            n->invalidate();
}

void TLayoutEngine::keepTopLine(std::int32_t oldOffset)
{
    if (oldOffset < 0)
        return;
    geometry.vertOffset = top_->DisplayLine() * lineHeight_ + oldOffset % lineHeight_;
}

void TLayoutEngine::afterLayout(std::int32_t first, std::int32_t last)
{
    TParagraphsList &s = paragraphs();
    applyRequeue();
    dropNavigatorLines(first, last);
    if (!handle_)
        return;
    const std::int32_t oldOffset = geometry.vertOffset;
    keepTopLine(oldOffset);
    if (updateVerticalRange() || geometry.vertOffset != oldOffset)
        updateScrollPositions();
    window_->repaintLines(s.firstLineOf(first), s.firstLineOf(last) + s.par(last)->lineCount() - 1);
    if (horizontalScrolling())
        updateHorizontalRange();
    window_->placeCaret();
}

void TLayoutEngine::formatRange(std::int32_t first, std::int32_t last, bool progress, bool onlyMissing)
{
    TParagraphsList &s = paragraphs();
    first = std::max(first, 0);
    last = std::min(last, s.count() - 1);
    if (first > last)
        return;
    const bool report = progress && schedule_.OnProgress;
    const std::int32_t savedMark = s.marks().firstUnformattedPar();
    const bool fromMark = first == savedMark;
    if (report)
        schedule_.startProgress();
    for (std::int32_t i = first; i <= last; ++i) {
        if (!onlyMissing || !laidOut(i)) {
            breakParagraph(i, 0, -1);
            if (report)
                schedule_.stepProgress();
        }
        s.marks().setFirstUnformattedPar(i + 1);
    }
    if (!fromMark)
        s.marks().setFirstUnformattedPar(savedMark);
    afterLayout(first, last);
    if (fromMark && report && !schedule_.hasWork())
        schedule_.finishProgress();
}

void TLayoutEngine::formatPending()
{
    // Highlighting may queue the paragraph after each one it changes.
    while (schedule_.hasWork())
        formatRange(paragraphs().marks().firstUnformattedPar(), paragraphs().marks().lastParToFormat(), true, true);
}

void TLayoutEngine::repaintBetween(std::int32_t from, std::int32_t to)
{
    if (!handle_)
        return;
    scratch_->setPos(from);
    const std::int32_t first = scratch_->DisplayLine();
    scratch_->setPos(to);
    window_->repaintLines(first, scratch_->DisplayLine());
}

void TLayoutEngine::layOutParagraph(std::int32_t par)
{
    if (!handle_ || par < 0 || par >= paragraphs().count() || laidOut(par))
        return;
    breakParagraph(par, 0, -1);
    afterLayout(par, par);
}

void TLayoutEngine::layOutUpToLine(std::int32_t line)
{
    TParagraphsList &s = paragraphs();
    if (!handle_)
        return;
    const std::int32_t first = s.marks().firstUnformattedPar();
    std::int32_t i = first;
    while (i <= std::min(s.marks().lastParToFormat(), s.count() - 1) && s.firstLineOf(i) <= line) {
        if (!laidOut(i))
            breakParagraph(i, 0, -1);
        ++i;
    }
    if (i == first)
        return;
    s.marks().setFirstUnformattedPar(i);
    afterLayout(first, i - 1);
}

void TLayoutEngine::relayoutAll()
{
    ++layoutStamp_;
    TParagraphsList &s = paragraphs();
    forgetLineWidths();
    s.invalidateLayout();
    if (!handle_)
        return;
    switch (schedule_.UpdateMode()) {
    case umImmediate:
        formatRange(0, s.count() - 1, true, false);
        break;
    case umOnNeed:
        break;
    case umBackground:
        schedule_.resume();
        break;
    }
    updateHorizontalRange();
    window_->repaintAll();
}

void TLayoutEngine::textReplaced()
{
    if (memo_.updateCount() >= 1)
        return;
    relayoutAll();
}

void TLayoutEngine::textLoaded(bool layOut)
{
    // The loaded paragraphs are not laid out yet.
    lineWidths_.clear();
    top_->setPos(0);
    scrollTo(0, 0, 0);
    if (layOut)
        textReplaced();
}

void TLayoutEngine::refreshAfterEdit()
{
    TParagraphsList &s = paragraphs();
    if (s.marks().lastChangedPar() < 0 || s.count() == 0)
        return;
    const std::int32_t first = std::clamp(s.marks().firstChangedPar(), 0, s.count() - 1);
    const std::int32_t last = std::min(s.marks().lastChangedPar(), s.count() - 1);
    if (!handle_) {
        s.marks().queueFormatFrom(first);
        s.marks().queueFormatThrough(last);
        return;
    }
    const std::int32_t oldOffset = geometry.vertOffset;
    const std::int32_t oldWidest = widestLine();

    // The first changed paragraph from its first changed line (the line before it too, so that
    // a word can move up), then what the window shows of the rest.
    std::int32_t fromLine = 0;
    if (s.marks().layoutValid() && !s.par(first)->hidden())
        fromLine = std::max(s.marks().firstChangedLine() - s.firstLineOf(first) - 1, 0);
    // The old lines after the end of the inserted text are still right: breaking may stop where
    // they resume. Code clean-up may have edited further on, so not with StaticFormat.
    std::int32_t earlyStopFrom = -1;
    TSourceNavigator &changeEnd = memo_.selectionEnd();
    if (first == last && !(s.StaticFormat && memo_.codeCleanUp) && changeEnd.ParNumber() == first)
        earlyStopFrom = changeEnd.ParOffset();
    std::int32_t lineChange = s.marks().pendingVisibleChange() + breakParagraph(first, fromLine, earlyStopFrom);
    std::int32_t lastBroken = first;
    const std::int32_t bottom = topLine() + clientLines_;
    for (std::int32_t i = first + 1; i < s.count() && s.firstLineOf(i) <= bottom && (i <= last || !laidOut(i)); ++i) {
        lineChange += breakParagraph(i, 0, -1);
        lastBroken = i;
    }
    // The rest of the changed range is the schedule's, and so is a following paragraph whose
    // highlighting the edit changed.
    if (last > lastBroken)
        requeue(lastBroken + 1, last);
    else if (lastBroken + 1 < s.count() && !laidOut(lastBroken + 1))
        requeue(lastBroken + 1, lastBroken + 1);
    applyRequeue();

    // Navigators, the top line, the area below the re-broken lines.
    dropNavigatorLines(first, lastBroken);
    keepTopLine(oldOffset);
    const std::int32_t endLine = s.firstLineOf(lastBroken) + s.par(lastBroken)->lineCount();
    const std::int64_t dy = static_cast<std::int64_t>(lineChange) * lineHeight_ -
                            (geometry.vertOffset - static_cast<std::int64_t>(oldOffset));
    bool rangeChanged = false;
    if (lineChange != 0 || geometry.vertOffset != oldOffset) {
        if (dy != 0) {
            const std::int64_t belowY = static_cast<std::int64_t>(endLine) * lineHeight_ - geometry.vertOffset;
            if (window_->hasBackgroundPicture() || dy < -32768 || dy > 32767)
                window_->repaintLines(endLine, INT32_MAX);
            else
                window_->scrollContents(0, static_cast<std::int32_t>(dy),
                                        static_cast<std::int32_t>(std::clamp<std::int64_t>(belowY, 0, INT32_MAX)));
        }
        rangeChanged = updateVerticalRange();
        updateScrollPositions();
    }

    // The widest line, when the edit changed it.
    if (horizontalScrolling() && widestLine() != oldWidest)
        updateHorizontalRange();

    // The re-broken lines.
    window_->repaintLines(s.firstLineOf(first) + fromLine, endLine - 1);

    // The rest now or in the background.
    if (rangeChanged || schedule_.hasWork()) {
        if (schedule_.UpdateMode() == umImmediate)
            formatPending();
        else if (schedule_.UpdateMode() == umBackground)
            schedule_.resume();
    }
}

void TLayoutEngine::requeue(std::int32_t first, std::int32_t last)
{
    requeueFrom_ = std::min(requeueFrom_, first);
    paragraphs().marks().queueFormatThrough(last);
}

void TLayoutEngine::applyRequeue()
{
    paragraphs().marks().queueFormatFrom(requeueFrom_);
    requeueFrom_ = INT32_MAX;
}

} // namespace velmora::core
