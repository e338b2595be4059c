// Highlighting a large source completely with the main window's assembler setup, and
// re-highlighting after one typed character in its middle.

#include "bench/AsmSourceGenerator.h"
#include "bench/BenchRegistry.h"
#include "editor/core/highlight/AssemblerSyntax.h"
#include "editor/core/highlight/NumberHighlighter.h"
#include "editor/core/highlight/SourceHighlightEngine.h"
#include "editor/core/editing/SourceMemoCore.h"

#include <cstring>
#include <malloc.h>
#include <string>

namespace velmora::bench
{

namespace
{

using namespace velmora::core;

// Forwards the highlighting steps of an edit to the engine and times the re-highlight.
class TimedView : public TMemoView
{
public:
    explicit TimedView(TSourceHighlightEngine &engine) : engine_(engine) {}
    void recordHighlightStates(TSourceNavigator &start, TSourceNavigator &end) override
    {
        engine_.recordHighlightStates(start, end);
    }
    bool repairHighlightStretch(std::int32_t &start, std::int32_t &end, bool runsCrossed) override
    {
        return engine_.repairHighlightStretch(start, end, runsCrossed);
    }
    void highlightStretch(std::int32_t start, std::int32_t end) override
    {
        lastMs = millisecondsOf([&] { engine_.highlightStretch(start, end); });
    }
    double lastMs = 0;

private:
    TSourceHighlightEngine &engine_;
};

// Fills the store as loading does: one buffer, one borrowed paragraph per line.
void loadSource(TSourceMemoCore &memo, const std::string &text)
{
    TParagraphsList &store = memo.paragraphs();
    store.clear();
    char *buffer = store.addLoadBuffer(text.size() + 1);
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = 0;
    char *line = buffer;
    for (char *p = buffer; p <= buffer + text.size(); ++p) {
        if (p == buffer + text.size() || *p == '\r') {
            *p = 0;
            store.appendLoaded(line, static_cast<std::int32_t>(p - line), 0);
            if (p < buffer + text.size() && p[1] == '\n')
                ++p;
            line = p + 1;
            if (p + 1 >= buffer + text.size())
                break;
        }
    }
    store.finishLoad();
    for (TSourceNavigator *n : memo.navigators())
        n->invalidate();
    memo.setSelStart(0);
}

// Bytes the allocator has handed out and not taken back, in MB.
double heapMegabytes()
{
    return static_cast<double>(mallinfo2().uordblks) / (1 << 20);
}

void highlightBench()
{
    const std::string source = generateAsmSource(20u << 20);
    TSourceMemoCore memo;
    TSourceHighlightEngine engine(memo);
    TimedView view(engine);
    memo.setView(&view);
    engine.setSeparators(makeSeparators(kAsmSeparators));
    fillAssemblerKeywordList(engine.Keywords);
    fillAssemblerStartStopKeys(engine.StartStopKeys);
    TNumberHighlighter numbers;
    numbers.setForeground(0xF0CAA6);
    useAssemblerNumbers(numbers);
    engine.setHighlighter(&numbers);
    loadSource(memo, source);

    malloc_trim(0);
    const double rssBefore = residentMegabytes();
    const double heapBefore = heapMegabytes();
    report("highlight-20MB", millisecondsOf([&] { engine.highlightAll(); }), "ms");
    report("highlight-20MB-memory-rss", residentMegabytes() - rssBefore, "MB");
    report("highlight-20MB-memory-heap", heapMegabytes() - heapBefore, "MB");

    const std::int32_t middle = memo.ParagraphCount() / 2;
    memo.setSelStart(memo.paragraphs().startOf(middle) + memo.paragraphs().lengthOf(middle) / 2);
    memo.SetSelTextBuf("x");
    engine.highlightParagraph(middle + 1);
    report("highlight-type-middle", view.lastMs, "ms");
    memo.setView(nullptr);
}

const Register registration("highlight", highlightBench);

} // namespace

} // namespace velmora::bench
