// TCustomExtHighlighter: a highlighter with keyword and start-stop lists of its own. Its
// entries carry a scope and a priority that decide where they apply: a key applies where its
// priority is 32767, where its scope is 0 and its priority is above that of the innermost span
// of this highlighter (32767 inside a keyword), or where its scope equals the context number
// in force. Keys may depend on their position in the paragraph (KeyOptions bits 2-4), spans
// may end at the first separator (KeyFlags bit 1) and count as collapsible (bit 2); its spans
// nest up to the run stack's depth. Whatever it does not match is handed on to a chained
// highlighter, whose entries are numbered after its own.
#pragma once

#include "editor/core/keyfiles/ExtKeyLists.h"
#include "editor/core/highlight/HighlightRuns.h"
#include "editor/core/highlight/SourceHighlighter.h"
#include "editor/core/store/SourceMemoOptions.h"

#include <functional>

namespace velmora::core
{

constexpr std::int32_t kTopPriority = 32767;

class TCustomExtHighlighter : public TSourceHighlighter
{
public:
    TCustomExtHighlighter();
    ~TCustomExtHighlighter() override;

    TExtKeywordList &Keywords() { return keywords_; }
    TExtStartStopList &StartStopKeys() { return startStopKeys_; }

    const SeparatorSet &separatorSet() const { return separators_; }
    void setSeparatorSet(const SeparatorSet &separators);

    std::int32_t Background() const { return background_; }
    void setBackground(std::int32_t colour) { background_ = colour; }
    std::int32_t Foreground() const { return foreground_; }
    void setForeground(std::int32_t colour) { foreground_ = colour; }
    // While disabled the hooks only pass on to the chained highlighter.
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }

    TSourceHighlighter *ChainedHighlighter() const { return chained_; }
    // Throws EditorError for a chain that would lead back to this highlighter.
    void setChainedHighlighter(TSourceHighlighter *highlighter);

    // Consulted before a keyword match is applied: Sender, paragraph, match start, match end,
    // keyword index, accept.
    std::function<void(TCustomExtHighlighter &, std::int32_t, std::int32_t, std::int32_t, int, bool &)> OnKeywordMatch;
    // Consulted before a start key opens a span: Sender, paragraph, offset, accept, key index.
    std::function<void(TCustomExtHighlighter &, std::int32_t, std::int32_t, bool &, int)> OnStartKeyMatch;

    void HighlightKeywords(THighlightScan &scan, std::int32_t keywordBase, std::int32_t startStopBase) override;
    bool FindStartKey(THighlightScan &scan, std::int32_t startStopBase) override;
    bool FindStopKey(THighlightScan &scan, std::int32_t startStopBase) override;
    void HighlighterMessage(std::int32_t code, std::int16_t value) override;
    bool AdjustScanStart(THighlightScan &scan, std::int32_t startStopBase) override;

protected:
    void highlighterRemoved(TSourceHighlighter *other) override;
    bool isSeparator(unsigned char c) const { return separators_[c]; }
    // Hands the keyword pass on to the chained highlighter.
    void chainKeywords(THighlightScan &scan, std::int32_t keywordBase, std::int32_t startStopBase);

private:
    // The priority of the innermost span of this highlighter in state (see the class comment);
    // base is where its start-stop entries begin.
    std::int32_t innermostPriority(const RunInfo &state, std::int32_t base) const;
    bool admits(std::int32_t scope, std::int32_t priority, const RunInfo &state, std::int32_t base) const;
    // Whether the positional option of options holds at offset of text.
    bool positionHolds(std::uint8_t options, std::string_view text, std::int32_t offset) const;
    // Opens a span at the leftmost own start key in [from, to) of the scan's paragraph.
    bool openOwnSpan(THighlightScan &scan, std::int32_t from, std::int32_t to, std::int32_t base);
    // Whether the keyword match [at, at + length) may be applied over the runs in par.
    bool keywordFits(const ParInfo &par, std::int32_t at, const TKeyInfoLen &key, std::int32_t base);
    // Start of the own stop of key in [from, to), its end in stopEnd; -1 when none.
    std::int32_t findStop(THighlightScan &scan, const StartStopInfo &key, std::int32_t from, std::int32_t to,
                          std::int32_t &stopEnd);

    TExtKeywordList keywords_;
    TExtStartStopList startStopKeys_;
    SeparatorSet separators_ = makeSeparators("\t ,.;");
    std::int32_t background_ = clNone;
    std::int32_t foreground_ = clNone;
    bool enabled_ = true;
    TSourceHighlighter *chained_ = nullptr;
};

} // namespace velmora::core
