#include "app/console/PcScreenView.h"

#include "app/console/PcKeys.h"
#include "app/info/AsciiChart.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

namespace velmora::app
{

namespace
{

using machine::TextScreen;

constexpr QRgb kTextColours[16] = {
    0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
    0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF,
};

// The cursor's shape counts scan lines of an eight-line character cell, as the BIOS's
// default shape does; they are scaled to the cell drawn here.
constexpr int kShapeLines = 8;
constexpr int kBlinkMs = 267;

} // namespace

QColor pcTextColour(int index)
{
    return QColor::fromRgb(kTextColours[index & 15]);
}

PcScreenView::PcScreenView(QWidget *parent, int pixelSize) : QWidget(parent)
{
    font_ = QFont(QStringLiteral("DejaVu Sans Mono"));
    font_.setStyleHint(QFont::Monospace);
    font_.setPixelSize(pixelSize);
    const QFontMetrics metrics(font_);
    cellWidth_ = metrics.horizontalAdvance(QLatin1Char('M'));
    cellHeight_ = metrics.height();
    ascent_ = metrics.ascent();
    setFixedSize(sizeHint());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);

    blink_.setInterval(kBlinkMs);
    connect(&blink_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        update();
    });
    blink_.start();
}

QSize PcScreenView::sizeHint() const
{
    return {TextScreen::kColumns * cellWidth_, TextScreen::kRows * cellHeight_};
}

QRect PcScreenView::cellRect(int row, int column) const
{
    return {column * cellWidth_, row * cellHeight_, cellWidth_, cellHeight_};
}

void PcScreenView::setScreen(const TextScreen *screen)
{
    screen_ = screen;
    shown_ = take();
    update();
}

PcScreenView::Snapshot PcScreenView::take() const
{
    Snapshot snapshot;
    if (screen_ == nullptr)
        return snapshot;
    std::size_t at = 0;
    for (int row = 0; row < TextScreen::kRows; ++row)
        for (int column = 0; column < TextScreen::kColumns; ++column) {
            snapshot.cells[at++] = screen_->character(row, column);
            snapshot.cells[at++] = screen_->attribute(row, column);
        }
    snapshot.cursorRow = screen_->cursorRow();
    snapshot.cursorColumn = screen_->cursorColumn();
    snapshot.cursorShape = screen_->cursorShape();
    snapshot.cursorVisible = screen_->cursorVisible();
    return snapshot;
}

void PcScreenView::refresh()
{
    Snapshot now = take();
    if (now == shown_)
        return;
    shown_ = now;
    // A change shows the cursor at once, as typing does on the PC.
    blinkOn_ = true;
    blink_.start();
    update();
}

void PcScreenView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (screen_ == nullptr)
        return;
    painter.setFont(font_);
    std::size_t at = 0;
    for (int row = 0; row < TextScreen::kRows; ++row)
        for (int column = 0; column < TextScreen::kColumns; ++column) {
            const std::uint8_t character = shown_.cells[at++];
            const std::uint8_t attribute = shown_.cells[at++];
            const QRect cell = cellRect(row, column);
            if ((attribute & 0x70) != 0)
                painter.fillRect(cell, pcTextColour(attribute >> 4 & 7));
            const bool hidden = (attribute & 0x80) != 0 && !blinkOn_;
            if (character == 0 || character == ' ' || hidden)
                continue;
            painter.setPen(pcTextColour(attribute & 15));
            painter.drawText(cell.left(), cell.top() + ascent_, QString(QChar(dosDisplayCharacter(character))));
        }
    drawCursor(painter, shown_);
}

void PcScreenView::drawCursor(QPainter &painter, const Snapshot &shown) const
{
    if (!shown.cursorVisible || !blinkOn_)
        return;
    const int first = std::min(shown.cursorShape >> 8 & 0x1F, kShapeLines - 1);
    const int last = std::min(shown.cursorShape & 0x1F, kShapeLines - 1);
    if (first > last)
        return;
    const QRect cell = cellRect(shown.cursorRow, shown.cursorColumn);
    const int top = cell.top() + first * cellHeight_ / kShapeLines;
    const int bottom = cell.top() + (last + 1) * cellHeight_ / kShapeLines;
    const std::uint8_t attribute =
        shown.cells[(std::size_t(shown.cursorRow) * TextScreen::kColumns + shown.cursorColumn) * 2 + 1];
    painter.fillRect(cell.left(), top, cell.width(), bottom - top, pcTextColour(attribute & 15));
}

void PcScreenView::keyPressEvent(QKeyEvent *event)
{
    if (isCtrlBreak(event->key(), event->modifiers(), event->nativeVirtualKey())) {
        if (OnBreak)
            OnBreak();
        return;
    }
    if (const std::optional<machine::Key> key = pcKey(event->key(), event->modifiers(), event->text())) {
        if (OnKey)
            OnKey(*key);
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PcScreenView::focusNextPrevChild(bool)
{
    return false;
}

} // namespace velmora::app
