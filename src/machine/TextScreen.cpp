#include "machine/TextScreen.h"

#include "machine/BiosDataArea.h"

#include <algorithm>

namespace velmora::machine
{

namespace
{

constexpr int kPages = 8;
constexpr uint16_t kPageStride = 0x1000;
constexpr uint16_t kBlankCell = uint16_t(TextScreen::kNormalAttribute) << 8 | ' ';

} // namespace

void TextScreen::setMode3()
{
    memory_.write8(bda::kVideoMode, kMode);
    memory_.write16(bda::kColumns, kColumns);
    memory_.write16(bda::kPageSize, kPageStride);
    memory_.write16(bda::kPageStart, 0);
    for (int page = 0; page < kPages; ++page)
        memory_.write16(bda::kCursorPositions + 2 * page, 0);
    memory_.write8(bda::kActivePage, 0);
    memory_.write16(bda::kCrtcPort, 0x3D4);
    memory_.write8(bda::kRowsMinusOne, kRows - 1);
    setCursorShape(kDefaultCursorShape);
    for (uint32_t offset = 0; offset < kPages * kPageStride; offset += 2)
        memory_.write16(kBase + offset, kBlankCell);
}

uint32_t TextScreen::cellAddress(int row, int column) const
{
    return kBase + 2 * uint32_t(row * kColumns + column);
}

uint8_t TextScreen::character(int row, int column) const
{
    return memory_.read8(cellAddress(row, column));
}

uint8_t TextScreen::attribute(int row, int column) const
{
    return memory_.read8(cellAddress(row, column) + 1);
}

void TextScreen::setCell(int row, int column, uint8_t character, uint8_t attribute)
{
    memory_.write8(cellAddress(row, column), character);
    memory_.write8(cellAddress(row, column) + 1, attribute);
}

std::string TextScreen::rowText(int row) const
{
    std::string text(kColumns, ' ');
    for (int column = 0; column < kColumns; ++column)
        text[column] = char(character(row, column));
    return text;
}

int TextScreen::cursorRow(int page) const
{
    return memory_.read8(bda::kCursorPositions + 2 * (page & (kPages - 1)) + 1);
}

int TextScreen::cursorColumn(int page) const
{
    return memory_.read8(bda::kCursorPositions + 2 * (page & (kPages - 1)));
}

void TextScreen::setCursor(int row, int column, int page)
{
    const uint32_t field = bda::kCursorPositions + 2 * (page & (kPages - 1));
    memory_.write8(field, uint8_t(std::clamp(column, 0, kColumns - 1)));
    memory_.write8(field + 1, uint8_t(std::clamp(row, 0, kRows - 1)));
}

uint16_t TextScreen::cursorShape() const
{
    return memory_.read16(bda::kCursorShape);
}

void TextScreen::setCursorShape(uint16_t shape)
{
    memory_.write16(bda::kCursorShape, shape);
}

bool TextScreen::cursorVisible() const
{
    return (cursorShape() & 0x2000) == 0;
}

void TextScreen::scrollUp(int lines, uint8_t attribute, int top, int left, int bottom, int right)
{
    scroll(lines, true, attribute, top, left, bottom, right);
}

void TextScreen::scrollDown(int lines, uint8_t attribute, int top, int left, int bottom, int right)
{
    scroll(lines, false, attribute, top, left, bottom, right);
}

void TextScreen::scroll(int lines, bool up, uint8_t attribute, int top, int left, int bottom, int right)
{
    top = std::clamp(top, 0, kRows - 1);
    bottom = std::clamp(bottom, 0, kRows - 1);
    left = std::clamp(left, 0, kColumns - 1);
    right = std::clamp(right, 0, kColumns - 1);
    if (top > bottom || left > right)
        return;
    const int height = bottom - top + 1;
    if (lines <= 0 || lines > height)
        lines = height;
    // Rows are filled in the order that reads every source row before it is overwritten.
    for (int step = 0; step < height; ++step) {
        const int row = up ? top + step : bottom - step;
        const int from = up ? row + lines : row - lines;
        const bool kept = from >= top && from <= bottom;
        for (int column = left; column <= right; ++column) {
            if (kept)
                setCell(row, column, character(from, column), this->attribute(from, column));
            else
                setCell(row, column, ' ', attribute);
        }
    }
}

void TextScreen::lineFeed()
{
    const int row = cursorRow();
    if (row < kRows - 1) {
        setCursor(row + 1, cursorColumn());
        return;
    }
    // The new bottom row takes the attribute of the cell under the cursor, as the BIOS does.
    scrollUp(1, attribute(row, cursorColumn()), 0, 0, kRows - 1, kColumns - 1);
}

void TextScreen::teletype(uint8_t ch)
{
    const int row = cursorRow();
    const int column = cursorColumn();
    switch (ch) {
    case 0x07:
        return;
    case 0x08:
        if (column > 0)
            setCursor(row, column - 1);
        return;
    case 0x0D:
        setCursor(row, 0);
        return;
    case 0x0A:
        lineFeed();
        return;
    default:
        break;
    }
    memory_.write8(cellAddress(row, column), ch);
    if (column < kColumns - 1) {
        setCursor(row, column + 1);
        return;
    }
    setCursor(row, 0);
    lineFeed();
}

} // namespace velmora::machine
