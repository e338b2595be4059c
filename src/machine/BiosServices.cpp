// The BIOS services: INT 10h in text mode 3, INT 16h keyboard, INT 1Ah timer count.
#include "machine/PcServices.h"

#include "machine/BiosDataArea.h"

#include <algorithm>
#include <cstdio>

namespace velmora::machine
{

void PcServices::video(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    switch (regs.ah()) {
    case 0x00:
        setVideoMode(cpu);
        return;
    case 0x01:
        screen_.setCursorShape(regs.cx);
        return;
    case 0x02:
        screen_.setCursor(regs.dh(), regs.dl(), regs.bh());
        return;
    case 0x03:
        regs.setDh(uint8_t(screen_.cursorRow(regs.bh())));
        regs.setDl(uint8_t(screen_.cursorColumn(regs.bh())));
        regs.cx = screen_.cursorShape();
        return;
    case 0x06:
        screen_.scrollUp(regs.al(), regs.bh(), regs.ch(), regs.cl(), regs.dh(), regs.dl());
        return;
    case 0x07:
        screen_.scrollDown(regs.al(), regs.bh(), regs.ch(), regs.cl(), regs.dh(), regs.dl());
        return;
    case 0x08: {
        const int row = screen_.cursorRow(), column = screen_.cursorColumn();
        regs.setAl(screen_.character(row, column));
        regs.setAh(screen_.attribute(row, column));
        return;
    }
    case 0x09:
        writeCells(cpu, true);
        return;
    case 0x0A:
        writeCells(cpu, false);
        return;
    case 0x0E:
        screen_.teletype(regs.al());
        return;
    case 0x0F:
        regs.setAl(memory_.read8(bda::kVideoMode));
        regs.setAh(uint8_t(memory_.read16(bda::kColumns)));
        regs.setBh(memory_.read8(bda::kActivePage));
        return;
    default:
        unsupportedFunction(cpu, 0x10);
        return;
    }
}

void PcServices::setVideoMode(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    // Modes 2 and 3 are both 80x25 text; bit 7 keeps the screen's contents.
    const uint8_t mode = regs.al() & 0x7F;
    if (mode != 2 && mode != 3) {
        char text[48];
        std::snprintf(text, sizeof text, "Unsupported video mode %02Xh (INT 10h AH=00h)", mode);
        return stopWith(cpu, text);
    }
    if (regs.al() & 0x80) {
        memory_.write8(bda::kVideoMode, TextScreen::kMode);
        screen_.setCursor(0, 0);
        return;
    }
    screen_.setMode3();
}

void PcServices::writeCells(Cpu &cpu, bool withAttribute)
{
    // From the cursor on, CX cells along the rows; the cursor stays.
    Registers &regs = cpu.regs();
    const int start = screen_.cursorRow() * TextScreen::kColumns + screen_.cursorColumn();
    const int end = std::min(start + int(regs.cx), TextScreen::kColumns * TextScreen::kRows);
    for (int cell = start; cell < end; ++cell) {
        const int row = cell / TextScreen::kColumns, column = cell % TextScreen::kColumns;
        screen_.setCell(row, column, regs.al(), withAttribute ? regs.bl() : screen_.attribute(row, column));
    }
}

void PcServices::keyboardService(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    switch (regs.ah()) {
    case 0x00:
    case 0x10:
        if (keyboard_.empty())
            return waitForKey(cpu);
        regs.ax = keyboard_.pop().word();
        return;
    case 0x01:
    case 0x11:
        regs.setFlag(ZF, keyboard_.empty());
        if (!keyboard_.empty())
            regs.ax = keyboard_.front().word();
        return;
    case 0x02:
        regs.setAl(memory_.read8(bda::kKeyboardFlags));
        return;
    default:
        unsupportedFunction(cpu, 0x16);
        return;
    }
}

void PcServices::timer(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    if (regs.ah() != 0x00)
        return unsupportedFunction(cpu, 0x1A);
    const uint32_t ticks = clock_().ticksSinceMidnight();
    regs.cx = uint16_t(ticks >> 16);
    regs.dx = uint16_t(ticks);
    regs.setAl(0); // no midnight passed since the last read
}

} // namespace velmora::machine
