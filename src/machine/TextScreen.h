// The 80x25 colour text screen of video mode 3: character and attribute cells at
// B800:0000 (page 0) and the cursor in the BIOS data area. The memory is the truth: a
// program that writes B800h directly changes what this class reads, and the BIOS video
// services and DOS's console output go through the operations here.
#pragma once

#include "machine/Memory.h"

#include <cstdint>
#include <string>

namespace velmora::machine
{

class TextScreen
{
public:
    static constexpr int kColumns = 80;
    static constexpr int kRows = 25;
    static constexpr uint32_t kBase = 0xB8000;
    static constexpr uint8_t kMode = 3;
    static constexpr uint8_t kNormalAttribute = 0x07;
    // Start and end scan lines of the underline cursor; bit 5 of the start hides the cursor.
    static constexpr uint16_t kDefaultCursorShape = 0x0607;

    explicit TextScreen(Memory &memory) : memory_(memory) {}

    // Sets mode 3: the BIOS data area's video fields, every page blank with the normal
    // attribute, every cursor at the top left.
    void setMode3();

    uint8_t character(int row, int column) const;
    uint8_t attribute(int row, int column) const;
    void setCell(int row, int column, uint8_t character, uint8_t attribute);
    // The characters of one row as bytes (trailing blanks kept).
    std::string rowText(int row) const;

    int cursorRow(int page = 0) const;
    int cursorColumn(int page = 0) const;
    // Clamped to the screen.
    void setCursor(int row, int column, int page = 0);
    uint16_t cursorShape() const;
    void setCursorShape(uint16_t shape);
    bool cursorVisible() const;

    // Scrolls the window rows top..bottom, columns left..right (inclusive, clamped) up or
    // down by lines; lines 0 or more than the window's height blanks the whole window. New
    // rows are blank with attribute.
    void scrollUp(int lines, uint8_t attribute, int top, int left, int bottom, int right);
    void scrollDown(int lines, uint8_t attribute, int top, int left, int bottom, int right);

    // The BIOS teletype: BEL sounds nothing, BS moves left within the row, CR to the row's
    // start, LF down; other bytes are written at the cursor keeping the cell's attribute and
    // advance it, wrapping at the row's end. Moving below the last row scrolls the screen.
    void teletype(uint8_t character);

private:
    uint32_t cellAddress(int row, int column) const;
    void scroll(int lines, bool up, uint8_t attribute, int top, int left, int bottom, int right);
    void lineFeed();

    Memory &memory_;
};

} // namespace velmora::machine
