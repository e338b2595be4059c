// The paint of one caret blink on a 5 MB single line without word wrap, in an 800 x 600
// editor: with the caret at the line's start, and at its end with the view scrolled there.
#include "bench/BenchRegistry.h"

#include "editor/core/layout/NavigatorPixels.h"
#include "editor/widget/SourceMemo.h"

#include <QApplication>

#include <algorithm>
#include <memory>
#include <sstream>
#include <vector>

namespace velmora::bench
{

namespace
{

constexpr int kBlinks = 20;

// Median of repainting the caret's cell, as each blink does.
double blinkMs(widget::TSourceMemo &memo)
{
    memo.scrollCaretCommand();
    QApplication::processEvents();
    const core::TPixelPoint caret = core::toPoint(memo.origin(), memo.layoutEngine());
    const QRect cell(caret.x, caret.y, 1, memo.layoutEngine().lineHeight());
    std::vector<double> times;
    for (int i = 0; i < kBlinks; ++i)
        times.push_back(millisecondsOf([&] {
            memo.viewport()->repaint(cell);
            QApplication::processEvents();
        }));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void longLinePaintBench()
{
    std::string line;
    while (line.size() < (5u << 20))
        line += "mov ax, word ptr [bx+si+12h]\t; one of many statements on one line ";
    auto memo = std::make_unique<widget::TSourceMemo>();
    memo->setWordWrap(false);
    memo->resize(800, 600);
    memo->show();
    std::istringstream in(line);
    memo->LoadFromStream(in);
    while (memo->layoutEngine().schedule().hasWork())
        QApplication::processEvents();

    memo->setSelStart(0);
    report("paint-blink-5MB-line-start", blinkMs(*memo), "ms");
    memo->setSelStart(memo->TextLength());
    report("paint-blink-5MB-line-end", blinkMs(*memo), "ms");
}

const Register reg("long-line-paint", longLinePaintBench);

} // namespace

} // namespace velmora::bench
