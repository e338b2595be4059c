// Laying out a large source completely with word wrap, and the view refresh after one typed
// character in its middle.

#include "bench/AsmSourceGenerator.h"
#include "bench/BenchRegistry.h"
#include "editor/core/layout/LayoutEngine.h"
#include "editor/core/layout/LayoutView.h"
#include "editor/core/editing/SourceMemoCore.h"

#include <string>

namespace velmora::bench
{

namespace
{

using namespace velmora::core;

// Every character 7 pixels wide: the cost of layout without a font behind it.
class FixedWidthMeasurer : public TTextMeasurer
{
public:
    std::int32_t textWidth(std::string_view text, std::uint8_t) override
    {
        return static_cast<std::int32_t>(text.size()) * 7;
    }
    TFontMetrics metrics() override { return {13, 10, 3, 2, 7}; }
};

class TimedRefresh : public TLayoutView
{
public:
    using TLayoutView::TLayoutView;
    void relayoutChangedRange() override
    {
        lastMs = millisecondsOf([&] { TLayoutView::relayoutChangedRange(); });
    }
    double lastMs = 0;
};

void layoutBench()
{
    const std::string source = generateAsmSource(20u << 20);
    TSourceMemoCore memo;
    memo.SetTextBuf(source.c_str());
    FixedWidthMeasurer measurer;
    TLayoutEngine layout(memo, measurer);
    layout.schedule().setUpdateMode(umImmediate);
    TimedRefresh view(layout);
    memo.setView(&view);

    // 800 pixels between the margins.
    report("layout-20MB-wrap", millisecondsOf([&] { layout.createHandle(816, 600); }), "ms");

    const std::int32_t middle = memo.ParagraphCount() / 2;
    layout.scrollTo(memo.paragraphs().firstLineOf(middle) * layout.lineHeight(), 0, 0);
    memo.setSelStart(memo.paragraphs().startOf(middle) + memo.paragraphs().lengthOf(middle) / 2);
    memo.SetSelTextBuf("x");
    report("layout-type-middle", view.lastMs, "ms");
    memo.setView(nullptr);
}

const Register registration("layout", layoutBench);

} // namespace

} // namespace velmora::bench
