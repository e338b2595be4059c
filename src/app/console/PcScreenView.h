// The built-in PC's 80x25 text screen as a widget: every cell's character drawn with the DOS
// glyph of code page 866 in its attribute's colours (foreground the low four bits,
// background the next three, the top bit blinking the character), and the BIOS cursor
// blinking in its scan lines. Keys pressed here go to the program; Ctrl+Break asks for a stop.
#pragma once

#include "machine/KeyboardQueue.h"
#include "machine/TextScreen.h"

#include <QColor>
#include <QFont>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

namespace velmora::app
{

// The 16 colours of the text attributes, as the PC's display shows them.
QColor pcTextColour(int index);

class PcScreenView : public QWidget
{
public:
    // pixelSize: the height of the screen font, which sets the cell size.
    explicit PcScreenView(QWidget *parent = nullptr, int pixelSize = 16);

    // The screen shown; nullptr shows a blank screen. It must outlive the view or be unset.
    void setScreen(const machine::TextScreen *screen);
    // Repaints when the screen's cells or cursor changed since the last look.
    void refresh();

    // Where a cell is drawn.
    QRect cellRect(int row, int column) const;

    std::function<void(machine::Key)> OnKey;
    std::function<void()> OnBreak;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // Tab belongs to the program, not to focus moves.
    bool focusNextPrevChild(bool next) override;

private:
    // The cells and the cursor as last drawn.
    struct Snapshot {
        std::array<std::uint8_t, machine::TextScreen::kColumns * machine::TextScreen::kRows * 2> cells{};
        int cursorRow = 0;
        int cursorColumn = 0;
        std::uint16_t cursorShape = 0;
        bool cursorVisible = false;
        bool operator==(const Snapshot &) const = default;
    };
    Snapshot take() const;
    void drawCursor(QPainter &painter, const Snapshot &shown) const;

    const machine::TextScreen *screen_ = nullptr;
    Snapshot shown_;
    QFont font_;
    int cellWidth_ = 0;
    int cellHeight_ = 0;
    int ascent_ = 0;
    QTimer blink_;
    bool blinkOn_ = true;
};

} // namespace velmora::app
