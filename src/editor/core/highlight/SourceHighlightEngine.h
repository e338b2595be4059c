// TSourceHighlightEngine: the keyword and start-stop highlighting of one editor. It keeps the
// runs of every paragraph (see HighlightRuns.h) in step with the text:
// - the start-stop pass rebuilds the spans of a paragraph from its start run and hands the
//   state at its end on as the next paragraph's start run; a next paragraph that was done and
//   now starts in another state is marked for a full redo, so a change of span state travels
//   forward one paragraph at a time until the state at a boundary is what it was;
// - the keyword pass (after the highlighter's own) adds one run per keyword match over a
//   paragraph whose spans are known.
// Paragraph flag pfStartStopDone means the spans are known, pfKeywordsDone the keywords
// applied; pfLinesValid is cleared wherever runs change. An edit re-scans its paragraphs
// whole. A paragraph's finished runs are shared with every paragraph whose runs are equal
// (TDynInfoArray::share). Single-threaded and not re-entrant.
#pragma once

#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/highlight/KeywordProbeIndex.h"
#include "editor/core/highlight/KeywordWordTable.h"
#include "editor/core/highlight/SpanStates.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"
#include "editor/core/store/ParagraphsList.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::core
{

class TSourceMemoCore;
class TSourceNavigator;
class TSourceHighlighter;
class TSourceHighlightEngine;

// The system colour of window backgrounds, the default of HighlightBackgnd.
constexpr std::int32_t clWindow = static_cast<std::int32_t>(0xFF000005);
constexpr std::int32_t clRed = 255;

// A component that folds spans; the engine tells it when it is linked and unlinked.
class IsmCollapseHandler
{
public:
    virtual ~IsmCollapseHandler() = default;
    virtual void LinkControl(TSourceHighlightEngine &engine, bool linked) = 0;
};

// What OnContext reports for a position.
struct THighlightContext {
    std::int32_t Context = 0;
    std::int32_t StartOffset = 0; // text position where the run begins
    std::int32_t StopOffset = 0;  // text position where the next run begins
};

class TSourceHighlightEngine
{
public:
    explicit TSourceHighlightEngine(TSourceMemoCore &memo);
    ~TSourceHighlightEngine();
    TSourceHighlightEngine(const TSourceHighlightEngine &) = delete;
    TSourceHighlightEngine &operator=(const TSourceHighlightEngine &) = delete;

    TSourceMemoCore &memo() { return memo_; }
    TParagraphsList &paragraphs();

    TKeywordList Keywords;
    TStartStopKeyList StartStopKeys;
    bool ApplyKeyWords = true;
    bool ApplyStartStopKeys = true;
    std::int32_t HighlightColor = clRed;
    std::int32_t HighlightBackgnd = clWindow;

    // The editor's folding and separators, for its text and both lists; a change re-highlights.
    void setUpperCaseType(TsmUpperCase type);
    void setSeparators(const SeparatorSet &separators);

    TSourceHighlighter *Highlighter() const { return highlighter_; }
    // Moves the editor from the old highlighter's list to the new one's.
    void setHighlighter(TSourceHighlighter *highlighter);
    IsmCollapseHandler *CollapseHandler() const { return collapseHandler_; }
    void setCollapseHandler(IsmCollapseHandler *handler);

    // Sender, Context, StartOffset, StopOffset: fired by the control on a qualifying mouse
    // release over contextAt(position).
    std::function<void(TSourceHighlightEngine &, std::int32_t, std::int32_t, std::int32_t)> OnContext;
    // The run in force at a text position when it carries attributes and a context number.
    std::optional<THighlightContext> contextAt(std::int32_t position);

    // Drops every run and marks every paragraph for highlighting again. Call it after changing
    // the lists or the highlighter: existing runs are not rebuilt otherwise.
    void ReApplyKeywords();
    // Start-stop passes over every paragraph up to par that lacks them.
    void bringStartStopUpTo(std::int32_t par);
    // Spans known up to par and keywords applied to par: what layout needs before par.
    void highlightParagraph(std::int32_t par);
    void highlightAll();

    // The three steps of an edit (the view forwards its TMemoView calls here).
    void recordHighlightStates(TSourceNavigator &start, TSourceNavigator &end);
    bool repairHighlightStretch(std::int32_t &start, std::int32_t &end, bool runsCrossed);
    void highlightStretch(std::int32_t start, std::int32_t end);

    // Helpers for highlighters.
    // The folded text of [first, first + len) of paragraph par, from the editor's cache.
    const char *folded(std::int32_t par, std::int32_t first, std::int32_t len);
    // The nearest run before offset of par (or in an earlier paragraph) whose level is below
    // level: the state a span at that level returns to when it ends.
    RunInfo enclosingState(std::int32_t par, std::int32_t offset, int level);
    // Ends the span in force at par's offset, storing the state that follows it there: the
    // continuation of a key sharing the start, else the state the span opened from.
    void endSpanAt(std::int32_t par, std::int32_t offset, const RunInfo &span, const RunInfo *continuation);
    // Marks runs of par as changed: layout invalid, navigators there drop their run index.
    // While par is being highlighted whole, the marking is done once when that ends.
    void runsChanged(std::int32_t par);

private:
    void markRunsChanged(std::int32_t par);
    // Rebuilds the spans of paragraph par from its start run; returns the state at its end.
    RunInfo startStopPass(std::int32_t par);
    // Gives the next paragraph its start state, marking it for a redo when that changed.
    void handOn(std::int32_t par, const RunInfo &endState);
    void keywordPass(std::int32_t par);
    // Opens a span at the leftmost own start key in [pos, limit); the offset after the start
    // text, or -1.
    std::int32_t findOwnStart(std::int32_t par, std::int32_t pos, std::int32_t limit, std::int32_t &matchAt,
                              int &keyIndex);
    // Which raw bytes may begin an own start key: the first byte of a match-case key's start,
    // or a byte whose folded form begins a folded key's start. Rebuilt when the keys or the
    // folding change.
    struct StartBytes {
        std::array<bool, 256> candidate{};
        bool anyFolded = false;
        std::uint32_t revision = 0;
        TsmUpperCase upperCase = smuAscii;
        UserUpperCaseHook hook = nullptr;
        bool built = false;
    };
    const StartBytes &startBytes();
    // The offset after the own stop text of the span key in [pos, limit), or -1.
    std::int32_t findOwnStop(std::int32_t par, const StartStopInfo &key, std::int32_t pos, std::int32_t limit);
    const char *matchText(std::int32_t par, bool matchCase);
    // The first two bytes of every keyword's match text, so that the keyword pass tries only
    // keywords whose start occurs in the paragraph, and the index of the keywords by those
    // bytes. Rebuilt by ReApplyKeywords and when the list's summary values change.
    struct KeywordProbe {
        std::string start;
        bool matchCase = false;
        bool active = false; // a context number and a usable length
    };
    const std::vector<KeywordProbe> &keywordProbes();
    // Whether keyword k can match only a whole word of the text (see KeywordWordTable): whole
    // words, a match text of separators then a word, and no blank in it.
    bool isWordKeyword(int k) const;
    // Where the word begins in a match text, after its leading separators.
    std::size_t wordStart(std::string_view text) const;
    // Whether folding keeps every character a separator or not as it was, so that the raw and
    // the folded text have the same words.
    bool foldingKeepsWords() const;
    // Each byte folded as the editor folds text, byte by byte (byte 0 stays itself).
    std::array<char, 256> foldedBytes() const;
    // raw_ and folded_ for the paragraph; where runs forbid keywords, blanked when blankForbidden
    // is set, else listed in forbidden_.
    void prepareKeywordBuffers(std::int32_t par, std::string_view text, bool allMatchCase, bool blankForbidden);
    // Whether [from, to) shares a character with a stretch in forbidden_.
    bool touchesForbidden(std::int32_t from, std::int32_t to) const;
    // Blanks n bytes at at in raw_, and in folded_ unless all keywords match case.
    void blank(std::size_t at, std::size_t n, bool allMatchCase);
    // Adds to matches_ the words that are word keywords.
    void findWordKeywords(std::string_view text, bool allMatchCase);
    // Searches the copies for each of keywords in turn, in list order, blanking every match.
    void searchKeywords(const std::vector<int> &keywords, std::string_view text, bool allMatchCase);
    // Searches for every keyword that may occur in the paragraph.
    void findAnyKeywords(std::string_view text, bool allMatchCase);
    bool isSeparator(unsigned char c) const { return memo_.Separators()[c]; }

    TSourceMemoCore &memo_;
    TSourceHighlighter *highlighter_ = nullptr;
    IsmCollapseHandler *collapseHandler_ = nullptr;
    RunInfo recordedStart_;
    RunInfo recordedEnd_;
    std::vector<KeywordProbe> probes_;
    KeywordProbeIndex probeIndex_;
    std::vector<int> candidates_;
    // With byWords_, the word keywords are found through wordTable_ and the few others
    // (otherKeywords_) by searching; matches of the two kinds that overlap send the paragraph
    // to the full search, which alone knows which of them wins.
    KeywordWordTable wordTable_;
    std::vector<int> otherKeywords_;
    bool byWords_ = false;
    struct KeywordMatch {
        int keyword;
        std::int32_t at;
        std::int32_t length;
    };
    std::vector<KeywordMatch> matches_;
    std::int32_t probedLongest_ = -1;
    std::uint8_t probedSummary_ = 0;
    // The keyword pass's text of a paragraph, raw and folded, with matched characters blanked,
    // and the forbidden ones unless forbidden_ lists them. Until something is blanked, raw_ is
    // the paragraph's own text and folded_ the editor's folded copy; blanking first copies both
    // into the buffers.
    std::string_view raw_;
    std::string_view folded_;
    std::string rawBuffer_;
    std::string foldedBuffer_;
    struct Stretch {
        std::int32_t from, to;
    };
    std::vector<Stretch> forbidden_; // in text order
    // The paragraph highlightParagraph() is working on, -1 when none, and whether its runs changed.
    std::int32_t highlighting_ = -1;
    bool highlightedRunsChanged_ = false;
    StartBytes startBytes_;
    TSpanStates spanStates_;
};

} // namespace velmora::core
