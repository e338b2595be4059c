// The editor control exactly as the main window sets it up (word wrap off, the number
// highlighter, the window's font and scrolling), 800 x 600, on generated sources of 1, 20 and
// 100 MB: loading plus the first paint, the process memory it adds after loading and once the
// background highlighting is done, the CPU and the longest event-loop stall of that
// highlighting, typing in the middle and in the widest line, Enter in the middle, and undoing
// 100 typed characters, each with its repaint.
#include "bench/AsmSourceGenerator.h"
#include "bench/BenchRegistry.h"

#include "app/SourceEditorSetup.h"
#include "editor/core/layout/LayoutEngine.h"
#include "editor/core/highlight/NumberHighlighter.h"
#include "editor/core/editing/SourceMemoStrings.h"
#include "editor/widget/SourceMemo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <vector>

namespace velmora::bench
{

namespace
{

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void paintNow(widget::TSourceMemo &memo)
{
    memo.viewport()->repaint();
    QApplication::processEvents();
}

void pressKey(widget::TSourceMemo &memo, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&memo, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&memo, &release);
}

void placeCaret(widget::TSourceMemo &memo, std::int32_t par)
{
    const core::TParagraphsList &pars = memo.paragraphs();
    memo.setSelStart(pars.startOf(par) + pars.lengthOf(par) / 2);
    memo.scrollCaretCommand();
    paintNow(memo);
}

// Median and worst of count presses of key, each followed by the repaint.
void timeKeys(widget::TSourceMemo &memo, const std::string &name, int count, int key, const QString &text)
{
    std::vector<double> times;
    for (int i = 0; i < count; ++i)
        times.push_back(millisecondsOf([&] {
            pressKey(memo, key, text);
            paintNow(memo);
        }));
    std::sort(times.begin(), times.end());
    report(name + "-median", times[times.size() / 2], "ms");
    report(name + "-worst", times.back(), "ms");
}

// Runs the event loop until the background layout and highlighting are done; reports their
// CPU time and the longest time the loop could not serve a zero-interval timer.
void drainBackground(widget::TSourceMemo &memo, const std::string &prefix)
{
    const core::TFormatSchedule &schedule = memo.layoutEngine().schedule();
    QElapsedTimer clock;
    clock.start();
    qint64 lastProbe = clock.nsecsElapsed();
    qint64 longestStall = 0;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestStall = std::max(longestStall, now - lastProbe);
        lastProbe = now;
    });
    probe.start();
    const double cpuBefore = processCpuSeconds();
    while (schedule.hasWork())
        QApplication::processEvents(QEventLoop::AllEvents);
    report(prefix + "-highlight-all-cpu", processCpuSeconds() - cpuBefore, "s");
    report(prefix + "-highlight-longest-stall", static_cast<double>(longestStall) / 1e6, "ms");
}

std::int32_t longestParagraph(const core::TParagraphsList &pars)
{
    std::int32_t best = 0;
    for (std::int32_t i = 1; i < pars.count(); ++i)
        if (pars.lengthOf(i) > pars.lengthOf(best))
            best = i;
    return best;
}

void editorBench(std::size_t megabytes)
{
    const std::string prefix = "editor-" + std::to_string(megabytes) + "MB";
    const auto path = std::filesystem::temp_directory_path() / "velmora-editor-bench.asm";
    {
        const std::string source = generateAsmSource(megabytes << 20);
        std::ofstream(path, std::ios::binary).write(source.data(), static_cast<std::streamsize>(source.size()));
    }

    core::TNumberHighlighter numbers;
    std::unique_ptr<widget::TSourceMemo> memo(app::createSourceEditor(nullptr, numbers));
    memo->resize(800, 600);
    memo->show();
    paintNow(*memo);
    malloc_trim(0);
    const double rssBefore = residentMegabytes();
    report(prefix + "-load-first-paint", millisecondsOf([&] {
               memo->Lines().LoadFromFile(path.string());
               paintNow(*memo);
           }),
           "ms");
    std::filesystem::remove(path);
    report(prefix + "-memory-after-load", residentMegabytes() - rssBefore, "MB");
    drainBackground(*memo, prefix);
    report(prefix + "-memory-highlighted", residentMegabytes() - rssBefore, "MB");

    const core::TParagraphsList &pars = memo->paragraphs();
    const std::int32_t middle = pars.count() / 2;
    placeCaret(*memo, middle);
    timeKeys(*memo, prefix + "-type-middle", 100, Qt::Key_X, QStringLiteral("x"));
    placeCaret(*memo, longestParagraph(pars));
    timeKeys(*memo, prefix + "-type-widest", 100, Qt::Key_X, QStringLiteral("x"));
    placeCaret(*memo, middle);
    timeKeys(*memo, prefix + "-enter-middle", 50, Qt::Key_Return, QStringLiteral("\r"));

    placeCaret(*memo, middle / 2);
    memo->ClearUndo();
    for (int i = 0; i < 100; ++i)
        pressKey(*memo, Qt::Key_Y, QStringLiteral("y"));
    paintNow(*memo);
    report(prefix + "-undo-100-chars", millisecondsOf([&] {
               while (memo->CanUndo())
                   memo->Undo();
               paintNow(*memo);
           }),
           "ms");
}

const Register small("editor-1MB", [] { editorBench(1); });
const Register large("editor-20MB", [] { editorBench(20); });
const Register huge("editor-100MB", [] { editorBench(100); });

} // namespace

} // namespace velmora::bench
