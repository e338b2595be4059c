// The gutter beside the main editor: its placement, rows that line up with the editor's lines
// in the window, and a one-line scroll that moves its pixels instead of repainting them.
#include "AppFixture.h"
#include "editor/core/layout/LayoutEngine.h"
#include "editor/widget/SourceGutter.h"
#include "editor/widget/SourceMemo.h"

#include <QCoreApplication>
#include <QPaintEvent>

namespace velmora::testing
{
namespace
{

// Records the rectangles a widget is asked to paint.
class PaintLog : public QObject
{
public:
    std::vector<QRect> rects;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            rects.push_back(static_cast<QPaintEvent *>(event)->rect());
        return false;
    }
};

constexpr int kMarkedLine = 3;

// The window y of the top of the black mark the gutter draws for kMarkedLine; -1 if none.
int markTop(widget::TSourceGutter &gutter, QWidget &window)
{
    const QImage image = gutter.grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        if ((image.pixel(1, y) & 0xFFFFFF) == 0)
            return gutter.mapTo(&window, QPoint(0, y)).y();
    return -1;
}

TEST_F(AppFixture, GutterRowsLineUpWithTheEditorAndScrollByMovingPixels)
{
    start();
    widget::TSourceGutter &gutter = *window->Gutter;
    widget::TSourceMemo &editor = *window->editor;
    EXPECT_EQ(component<widget::TSourceGutter>("Gutter"), &gutter);
    EXPECT_EQ(gutter.parentWidget()->objectName(), QStringLiteral("EditSheet"));
    EXPECT_EQ(gutter.SourceMemo(), &editor);
    // Wide enough for the breakpoint and execution marks beside the numbers and bookmarks.
    EXPECT_EQ(gutter.width(), 36);
    EXPECT_FALSE(gutter.IgnoreLastLineIfEmpty());
    EXPECT_LE(gutter.geometry().right(), editor.geometry().left()) << "aligned left of the editor";

    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "mov ax, " + std::to_string(i) + "\r\n";
    editor.SetTextBuf(text.c_str());
    QImage mark(6, 2, QImage::Format_RGB32);
    mark.fill(Qt::black);
    gutter.OnDrawItem = [&mark](widget::TSourceGutter &, std::int32_t line, QString &, QImage &graphic) {
        graphic = line == kMarkedLine ? mark : QImage();
    };
    const core::TLayoutEngine &layout = editor.layoutEngine();
    const int lineHeight = layout.lineHeight();
    const auto editorLineTop = [&](int line) {
        return editor.viewport()->mapTo(window.get(), QPoint(0, line * lineHeight - layout.geometry.vertOffset)).y();
    };
    EXPECT_EQ(markTop(gutter, *window), editorLineTop(kMarkedLine));

    PaintLog log;
    gutter.installEventFilter(&log);
    gutter.update();
    QCoreApplication::processEvents();
    ASSERT_FALSE(log.rects.empty());
    EXPECT_EQ(log.rects.back(), gutter.rect());
    log.rects.clear();

    editor.layoutEngine().scrollTo(lineHeight, 0, 0);
    ASSERT_EQ(layout.geometry.vertOffset, lineHeight);
    QCoreApplication::processEvents();
    ASSERT_FALSE(log.rects.empty());
    for (const QRect &painted : log.rects)
        EXPECT_LE(painted.height(), lineHeight) << "only the row scrolled in is painted";
    gutter.removeEventFilter(&log);
    EXPECT_EQ(markTop(gutter, *window), editorLineTop(kMarkedLine));
}

} // namespace
} // namespace velmora::testing
