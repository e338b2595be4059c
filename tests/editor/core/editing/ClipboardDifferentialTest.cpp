// Searches, copy, cut and paste, column blocks and style-code commands mixed with random
// edits, undo and redo, checked after every step against a plain string model of the text
// and against the store's consistency check.
#include "editor/core/editing/ClipboardTestSupport.h"
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/editing/ClipboardCommands.h"
#include "editor/core/editing/ColumnBlocks.h"
#include "editor/core/editing/StoreConsistency.h"
#include "editor/core/text/StyleCodes.h"
#include "editor/core/editing/StyleCommands.h"
#include "editor/core/editing/TextSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

constexpr std::int32_t kTabSize = 4;

// The model's paragraphs with their start positions.
struct ModelParagraphs {
    std::vector<std::string> text;
    std::vector<std::int32_t> start;
};

ModelParagraphs paragraphsOf(const std::string &model)
{
    ModelParagraphs p;
    std::size_t from = 0;
    for (;;) {
        const std::size_t br = model.find("\r\n", from);
        p.start.push_back(static_cast<std::int32_t>(from));
        p.text.push_back(model.substr(from, br == std::string::npos ? std::string::npos : br - from));
        if (br == std::string::npos)
            return p;
        from = br + 2;
    }
}

// Display columns counted from scratch: a tab to the next multiple of the tab size, a style
// code (when codes are interpreted) to nothing, anything else by one.
struct ColumnPlace {
    std::int32_t offset;
    std::int32_t shortfall;
};

ColumnPlace placeAtColumn(const std::string &text, std::int32_t column, bool codes)
{
    std::int32_t at = 0;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::int32_t next = c == '\t' ? kTabSize * (at / kTabSize + 1) : (codes && isStyleCode(c)) ? at : at + 1;
        if (next > column)
            break;
        at = next;
    }
    return {static_cast<std::int32_t>(i), column - at};
}

class ClipboardRun
{
public:
    ClipboardRun(unsigned seed, bool staticFormat, bool noOverwrite, bool persistent = false)
        : rng_(seed), staticFormat_(staticFormat)
    {
        memo_.setWordWrap(false);
        memo_.setTabStops(kTabSize);
        memo_.paragraphs().StaticFormat = staticFormat;
        // Clean-up would remove code pairs behind the model's back.
        memo_.codeCleanUp = false;
        TSourceMemoOptions options = memo_.Options();
        options.set(smoBlockSelection).set(smoNoOverwriteBlocks, noOverwrite).set(smoPersistentBlocks, persistent);
        memo_.setOptions(options);
        model_ = "mov ax, bx\r\n\tint 21h\r\nAX eax axis\r\n";
        setText(memo_, model_);
        steps_.push_back({0, model_});
    }

    void run(int count)
    {
        for (int step = 0; step < count && !::testing::Test::HasFailure(); ++step) {
            const int op = pick(0, 99);
            trace_ = "step " + std::to_string(step) + " op " + std::to_string(op);
            if (op < 20)
                replace();
            else if (op < 32)
                search();
            else if (op < 42)
                copyOrCut();
            else if (op < 52)
                pastePlain();
            else if (op < 64)
                blockCopyAndPaste();
            else if (op < 76)
                styleCommand();
            else if (op < 90)
                undo();
            else
                redo();
            settle();
        }
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    std::int32_t size() const { return static_cast<std::int32_t>(model_.size()); }

    std::int32_t snap(std::int32_t p) const { return p > 0 && p < size() && model_[p - 1] == '\r' ? p + 1 : p; }

    std::string randomText(int pieces)
    {
        static const char *const parts[] = {"a", "X", "ax", " ", ",", "\t", "mov", "\r\n", "aa", "\2", "\1"};
        std::string t;
        for (int i = 0; i < pieces; ++i)
            t += parts[pick(0, staticFormat_ ? 10 : 8)];
        return t;
    }

    void select(std::int32_t a, std::int32_t b, bool backward)
    {
        memo_.setSelStart(backward ? b : a);
        memo_.setSelLength(backward ? a - b : b - a);
    }

    void randomSelection(std::int32_t maxLength)
    {
        const std::int32_t a = snap(pick(0, size()));
        const std::int32_t b = snap(std::min(size(), a + pick(0, maxLength)));
        select(a, b, pick(0, 1) == 1);
    }

    // The store's replace as the model sees it: with StaticFormat, unless keepCodes, codes are
    // added after the new text so that the text after the range keeps its style.
    void modelReplace(std::int32_t a, std::int32_t b, const std::string &text, bool keepCodes = false)
    {
        const std::string t = normalized(text);
        std::string codes;
        if (staticFormat_ && !keepCodes && b < size())
            codes = styleCodesFor(styleToggles(model_.substr(a, b - a)) ^ styleToggles(t));
        model_ = model_.substr(0, a) + t + codes + model_.substr(b);
        expectedCaret_ = a + static_cast<std::int32_t>(t.size() + codes.size());
    }

    std::pair<std::int32_t, std::int32_t> selectionRange()
    {
        return {memo_.selectionStart().Pos(), memo_.selectionEnd().Pos()};
    }

    void replace()
    {
        if (size() > 2000)
            select(0, snap(pick(0, size())), false);
        else
            randomSelection(12);
        const auto [a, b] = selectionRange();
        const std::string text = randomText(pick(0, 4));
        memo_.setSelText(text.c_str());
        modelReplace(a, b, text);
        EXPECT_EQ(memo_.SelStart(), expectedCaret_) << trace_;
    }

    void search()
    {
        const ModelParagraphs pars = paragraphsOf(model_);
        std::string pattern;
        const std::string &source = pars.text[static_cast<std::size_t>(pick(0, int(pars.text.size()) - 1))];
        if (!source.empty() && pick(0, 3) > 0) {
            const int from = pick(0, int(source.size()) - 1);
            pattern = source.substr(from, pick(1, 3));
        } else {
            pattern = randomText(1);
        }
        const bool down = pick(0, 1) == 1, matchCase = pick(0, 1) == 1, wholeWord = pick(0, 2) == 0,
                   fromEnds = pick(0, 4) == 0;
        if (pick(0, 3) == 0)
            randomSelection(5);
        const std::int32_t oldStart = memo_.SelStart(), oldLength = memo_.SelLength();
        const auto expected = modelSearch(pars, pattern, down, matchCase, wholeWord, fromEnds);
        const bool found = SearchText(memo_, pattern, down, matchCase, wholeWord, fromEnds);
        ASSERT_EQ(found, expected.has_value()) << trace_ << " pattern " << pattern;
        const std::int32_t len = static_cast<std::int32_t>(pattern.size());
        if (!found) {
            EXPECT_EQ(memo_.SelStart(), oldStart) << trace_;
            EXPECT_EQ(memo_.SelLength(), oldLength) << trace_;
        } else if (down) {
            EXPECT_EQ(memo_.SelStart(), *expected + len) << trace_;
            EXPECT_EQ(memo_.SelLength(), -len) << trace_;
        } else {
            EXPECT_EQ(memo_.SelStart(), *expected) << trace_;
            EXPECT_EQ(memo_.SelLength(), len) << trace_;
        }
    }

    // Every occurrence start in a paragraph, naively, with the whole-word rule.
    static std::vector<std::int32_t> occurrences(std::string text, std::string pattern, bool matchCase, bool wholeWord,
                                                 const SeparatorSet &separators)
    {
        if (!matchCase)
            for (std::string *s : {&text, &pattern})
                for (char &c : *s)
                    c = static_cast<char>(asciiUpper(static_cast<std::uint8_t>(c)));
        std::vector<std::int32_t> found;
        for (std::size_t q = 0; q + pattern.size() <= text.size(); ++q) {
            if (text.compare(q, pattern.size(), pattern) != 0)
                continue;
            const std::size_t after = q + pattern.size();
            if (wholeWord && !((q == 0 || separators[static_cast<unsigned char>(text[q - 1])]) &&
                               (after == text.size() || separators[static_cast<unsigned char>(text[after])])))
                continue;
            found.push_back(static_cast<std::int32_t>(q));
        }
        return found;
    }

    std::optional<std::int32_t> modelSearch(const ModelParagraphs &pars, const std::string &pattern, bool down,
                                            bool matchCase, bool wholeWord, bool fromEnds)
    {
        if (pattern.empty())
            return std::nullopt;
        const std::int32_t count = static_cast<std::int32_t>(pars.text.size());
        std::int32_t n = count - 1;
        while (n > 0 && pars.start[static_cast<std::size_t>(n)] > memo_.SelStart())
            --n;
        std::int32_t caret = memo_.SelStart() - pars.start[static_cast<std::size_t>(n)];
        if (fromEnds) {
            n = down ? 0 : count - 1;
            caret = down ? 0 : INT32_MAX;
        }
        for (; n >= 0 && n < count; n += down ? 1 : -1, caret = down ? 0 : INT32_MAX) {
            const auto found =
                occurrences(pars.text[static_cast<std::size_t>(n)], pattern, matchCase, wholeWord, memo_.Separators());
            const std::int32_t start = pars.start[static_cast<std::size_t>(n)];
            if (down) {
                for (const std::int32_t q : found)
                    if (q >= caret)
                        return start + q;
            } else {
                for (auto it = found.rbegin(); it != found.rend(); ++it)
                    if (*it < caret)
                        return start + *it;
            }
        }
        return std::nullopt;
    }

    void copyOrCut()
    {
        randomSelection(20);
        const auto [a, b] = selectionRange();
        const bool cut = pick(0, 1) == 1;
        if (cut)
            CutToClipboard(memo_, clipboard_);
        else
            CopyToClipboard(memo_, clipboard_);
        if (a == b)
            return;
        EXPECT_EQ(clipboard_.plain, model_.substr(a, b - a)) << trace_;
        EXPECT_EQ(clipboard_.blockData(), std::nullopt) << trace_;
        if (cut)
            modelReplace(a, b, "");
    }

    // Pastes at the caret under smoNoOverwriteBlocks, else in place of the selection.
    void pastePlain()
    {
        if (pick(0, 2) == 0)
            clipboard_.set(randomText(pick(0, 5)), std::nullopt);
        if (!clipboard_.plain || clipboard_.blockData())
            clipboard_.set(randomText(pick(1, 5)), std::nullopt);
        randomSelection(8);
        auto [a, b] = selectionRange();
        const std::int32_t selected = b - a;
        if (memo_.Options()[smoNoOverwriteBlocks])
            a = b = memo_.SelStart();
        PasteFromClipboard(memo_, clipboard_, 0);
        modelReplace(a, b, *clipboard_.plain);
        EXPECT_EQ(memo_.SelStart(), expectedCaret_) << trace_;
        // A selection kept aside comes back around the same text.
        const bool kept = memo_.Options()[smoPersistentBlocks] && memo_.Options()[smoNoOverwriteBlocks];
        EXPECT_EQ(std::abs(memo_.SelLength()), kept ? selected : 0) << trace_;
    }

    void randomBlock(std::int32_t &column1, std::int32_t &line1, std::int32_t &line2, std::int32_t &column2)
    {
        const std::int32_t last = memo_.ParagraphCount() - 1;
        line1 = pick(0, last);
        line2 = std::clamp(line1 + pick(-3, 3), 0, last);
        column1 = pick(0, 12);
        column2 = pick(0, 12);
    }

    // The rows a block between two columns gives, each with its break.
    std::string modelBlockText(std::int32_t column1, std::int32_t line1, std::int32_t line2, std::int32_t column2)
    {
        const ModelParagraphs pars = paragraphsOf(model_);
        const auto corner = [&](std::int32_t line, std::int32_t column) {
            return pars.start[line] + placeAtColumn(pars.text[line], column, staticFormat_).offset;
        };
        if (corner(line1, column1) == corner(line2, column2))
            return {};
        std::string rows;
        for (std::int32_t i = std::min(line1, line2); i <= std::max(line1, line2); ++i) {
            const std::int32_t a = placeAtColumn(pars.text[i], std::min(column1, column2), staticFormat_).offset;
            const std::int32_t b = placeAtColumn(pars.text[i], std::max(column1, column2), staticFormat_).offset;
            rows += pars.text[i].substr(a, b - a) + "\r\n";
        }
        return rows;
    }

    void blockCopyAndPaste()
    {
        std::int32_t column1, line1, line2, column2;
        randomBlock(column1, line1, line2, column2);
        setBlockSelection(memo_, column1, line1, line2, column2);
        const std::string rows = modelBlockText(column1, line1, line2, column2);
        EXPECT_EQ(memo_.SelText(), rows) << trace_;
        const int what = pick(0, 2);
        if (what == 0) {
            CutToClipboard(memo_, clipboard_);
            if (!rows.empty())
                modelCutBlock(std::min(column1, column2), std::max(column1, column2), std::min(line1, line2),
                              std::max(line1, line2));
        } else {
            CopyToClipboard(memo_, clipboard_);
        }
        if (!rows.empty()) {
            EXPECT_EQ(clipboard_.plain, rows) << trace_;
            EXPECT_EQ(clipboard_.blockData(), std::string(1, kBlockFormatValue)) << trace_;
        }
        if (what == 1 || !clipboard_.plain)
            return;
        settle(); // the cut is an undo step of its own
        // Paste the clipboard as a block somewhere else.
        memo_.setSelStart(snap(pick(0, size())));
        const std::int32_t caret = memo_.SelStart();
        const std::int32_t origin = memo_.SelPar();
        const std::int32_t column = pick(0, 14);
        const std::string text = *clipboard_.plain;
        PasteFromClipboard(memo_, clipboard_, column);
        if (clipboard_.blockData())
            modelInsertBlock(text, column, origin);
        else
            modelReplace(caret, caret, text);
    }

    void modelCutBlock(std::int32_t left, std::int32_t right, std::int32_t first, std::int32_t last)
    {
        for (std::int32_t i = first; i <= last; ++i) {
            const ModelParagraphs pars = paragraphsOf(model_);
            const std::int32_t a = placeAtColumn(pars.text[i], left, staticFormat_).offset;
            const std::int32_t b = placeAtColumn(pars.text[i], right, staticFormat_).offset;
            modelReplace(pars.start[i] + a, pars.start[i] + b, "");
        }
    }

    void modelInsertBlock(const std::string &text, std::int32_t column, std::int32_t n)
    {
        std::vector<std::string> lines;
        for (std::size_t from = 0; from < text.size();) {
            const std::size_t br = text.find("\r\n", from);
            lines.push_back(text.substr(from, br - from));
            from = br == std::string::npos ? text.size() : br + 2;
        }
        ModelParagraphs pars = paragraphsOf(model_);
        for (std::size_t i = 0; i < lines.size(); ++i, ++n) {
            if (n >= static_cast<std::int32_t>(pars.text.size()))
                modelReplace(size(), size(), "\r\n");
            pars = paragraphsOf(model_);
            const ColumnPlace place = placeAtColumn(pars.text[n], column, staticFormat_);
            const std::string blanks(lines[i].empty() ? 0 : static_cast<std::size_t>(place.shortfall), ' ');
            modelReplace(pars.start[n] + place.offset, pars.start[n] + place.offset, blanks + lines[i]);
        }
    }

    void styleCommand()
    {
        if (pick(0, 3) == 0) {
            std::int32_t column1, line1, line2, column2;
            randomBlock(column1, line1, line2, column2);
            setBlockSelection(memo_, column1, line1, line2, column2);
        } else {
            randomSelection(10);
        }
        const char code = "\1\2\3\4\x15"[pick(0, 4)];
        const bool block = memo_.blockSelection() && memo_.SelLength() != 0;
        const auto [a, b] = selectionRange();
        const std::int32_t length = memo_.SelLength();
        std::pair<std::int32_t, std::int32_t> columns = memo_.blockColumns();
        const std::int32_t first = memo_.selectionStart().ParNumber(), last = memo_.selectionEnd().ParNumber();
        applyStyleCommand(memo_, static_cast<TStyleCommand>(code));
        if (!staticFormat_)
            return;
        if (block) {
            for (std::int32_t i = first; i <= last; ++i) {
                const ModelParagraphs pars = paragraphsOf(model_);
                const std::int32_t left = std::min(columns.first, columns.second);
                const std::int32_t right = std::max(columns.first, columns.second);
                const std::int32_t x = placeAtColumn(pars.text[i], left, true).offset;
                const std::int32_t y = placeAtColumn(pars.text[i], right, true).offset;
                if (x != y)
                    modelReplace(pars.start[i] + x, pars.start[i] + y, code + pars.text[i].substr(x, y - x) + code,
                                 true);
            }
            EXPECT_TRUE(memo_.blockSelection()) << trace_;
            return;
        }
        const std::string wrapped = code + model_.substr(a, b - a) + code;
        modelReplace(a, b, wrapped, true);
        const std::int32_t w = static_cast<std::int32_t>(normalized(wrapped).size());
        if (length == 0) {
            EXPECT_EQ(memo_.SelStart(), a + 1) << trace_;
        } else {
            EXPECT_EQ(memo_.selectionStart().Pos(), a) << trace_;
            EXPECT_EQ(memo_.SelLength(), length < 0 ? -w : w) << trace_;
        }
    }

    void undo()
    {
        if (steps_.size() < 2) {
            EXPECT_FALSE(memo_.CanUndo()) << trace_;
            return;
        }
        memo_.Undo();
        redoSteps_.push_back(steps_.back());
        steps_.pop_back();
        model_ = steps_.back().text;
        EXPECT_EQ(memo_.undoList().position(), steps_.back().position) << trace_;
    }

    void redo()
    {
        if (redoSteps_.empty()) {
            EXPECT_FALSE(memo_.CanRedo()) << trace_;
            return;
        }
        memo_.Redo();
        steps_.push_back(redoSteps_.back());
        redoSteps_.pop_back();
        model_ = steps_.back().text;
        EXPECT_EQ(memo_.undoList().position(), steps_.back().position) << trace_;
    }

    // Checks the text and records a new undo step when the operation made one.
    void settle()
    {
        ASSERT_NO_THROW(checkStoreConsistency(memo_.paragraphs())) << trace_;
        ASSERT_EQ(wholeText(memo_), model_) << trace_;
        ASSERT_EQ(memo_.updateCount(), 0) << trace_;
        const std::int32_t position = memo_.undoList().position();
        if (position != steps_.back().position) {
            steps_.push_back({position, model_});
            redoSteps_.clear();
        }
    }

    struct Step {
        std::int32_t position;
        std::string text;
    };

    std::mt19937 rng_;
    bool staticFormat_;
    TSourceMemoCore memo_;
    MemoryClipboard clipboard_;
    std::string model_;
    std::int32_t expectedCaret_ = 0;
    std::vector<Step> steps_;
    std::vector<Step> redoSteps_;
    std::string trace_;
};

TEST(ClipboardDifferential, PlainTextEditor)
{
    for (unsigned seed = 1; seed <= 4; ++seed)
        ClipboardRun(seed, false, false).run(1000);
}

TEST(ClipboardDifferential, StaticFormatWithStyleCodes)
{
    for (unsigned seed = 11; seed <= 14; ++seed)
        ClipboardRun(seed, true, false).run(1000);
}

TEST(ClipboardDifferential, PastesBesideTheSelection)
{
    for (unsigned seed = 21; seed <= 23; ++seed)
        ClipboardRun(seed, seed % 2 == 0, true).run(1000);
    for (unsigned seed = 31; seed <= 33; ++seed)
        ClipboardRun(seed, seed % 2 == 0, true, true).run(1000);
}

} // namespace
