// A gutter beside the fixture's memo, black on white, and helpers that edit the text, press
// hot keys and read the pixels of the gutter's rows.
#pragma once

#include "SourceMemoFixture.h"

#include "editor/widget/BookmarkIcons.h"
#include "editor/widget/SourceGutter.h"

#include <QTest>

#include <memory>

namespace velmora::widget::test
{

class SourceGutterFixture : public SourceMemoFixture
{
protected:
    void SetUp() override
    {
        SourceMemoFixture::SetUp();
        gutter = std::make_unique<TSourceGutter>();
        gutter->setColor(kWhite);
        QPalette palette = gutter->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        gutter->setPalette(palette);
        gutter->resize(30, 200);
        gutter->setSourceMemo(memo.get());
        gutter->show();
    }

    void setText(const char *text)
    {
        memo->SetTextBuf(text);
        memo->setSelStart(0);
    }
    // Replaces the characters from..to by text.
    void edit(std::int32_t from, std::int32_t to, const char *text)
    {
        memo->setSelStart(from);
        memo->setSelLength(to - from);
        memo->SetSelTextBuf(text);
    }
    // A Ctrl chord as the keyboard delivers it: without printable text.
    void hotKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::sendKeyEvent(QTest::Press, memo.get(), key, QString(), modifiers);
        QTest::sendKeyEvent(QTest::Release, memo.get(), key, QString(), modifiers);
    }
    QImage gutterShot() { return gutter->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // A row of the gutter: where the memo's display line stands on screen.
    QRect row(int line)
    {
        const int shift = gutter->mapToGlobal(QPoint()).y() - memo->viewport()->mapToGlobal(QPoint()).y();
        return QRect(0, line * lineHeight() - layout().geometry.vertOffset - shift, gutter->width() - 2, lineHeight());
    }
    // Pixels of a row in the colour of the bookmark icons' body.
    int iconPixels(const QImage &image, int line)
    {
        const QRgb body = TBookmarkIcons::shared()->icon(0).pixel(5, 0);
        return count(image, row(line), [body](QRgb p) { return (p & 0xFFFFFF) == (body & 0xFFFFFF); });
    }
    int inkPixels(const QImage &image, int line)
    {
        return count(image, row(line), [](QRgb p) { return qGray(p) < 128; });
    }

    std::unique_ptr<TSourceGutter> gutter;
};

} // namespace velmora::widget::test
