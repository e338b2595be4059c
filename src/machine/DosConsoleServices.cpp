// INT 21h console functions: character and string output, character input with and
// without echo, direct console I/O, buffered line input, and console reads through 3Fh.
#include "machine/PcServices.h"

#include <algorithm>

namespace velmora::machine
{

namespace
{

constexpr uint8_t kTabWidth = 8;
// The longest line a console read through 3Fh takes, as DOS's own buffer.
constexpr uint8_t kConsoleLineCapacity = 128;
// A string for function 09h without '$' stops after one segment's worth.
constexpr uint32_t kMaxPrintString = 0x10000;

} // namespace

void PcServices::showOnScreen(uint8_t character)
{
    if (character != '\t') {
        screen_.teletype(character);
        return;
    }
    do
        screen_.teletype(' ');
    while (screen_.cursorColumn() % kTabWidth != 0);
}

void PcServices::writeStandardOutput(uint8_t character)
{
    output_ += char(character);
    showOnScreen(character);
}

bool PcServices::keyWaiting() const
{
    return pendingScanCode_ >= 0 || !keyboard_.empty();
}

bool PcServices::takeCharacter(Cpu &cpu, uint8_t &character, bool wait)
{
    if (pendingScanCode_ >= 0) {
        character = uint8_t(pendingScanCode_);
        pendingScanCode_ = -1;
        return true;
    }
    if (keyboard_.empty()) {
        if (wait)
            waitForKey(cpu);
        return false;
    }
    const Key key = keyboard_.pop();
    if (key.extended()) {
        pendingScanCode_ = key.scanCode;
        character = 0;
        return true;
    }
    character = key.character;
    return true;
}

void PcServices::characterInput(Cpu &cpu, bool echo)
{
    uint8_t character = 0;
    if (!takeCharacter(cpu, character, true))
        return;
    cpu.regs().setAl(character);
    if (echo && character != 0)
        showOnScreen(character);
}

void PcServices::directConsole(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    if (regs.dl() != 0xFF) {
        writeStandardOutput(regs.dl());
        regs.setAl(regs.dl());
        return;
    }
    uint8_t character = 0;
    const bool got = takeCharacter(cpu, character, false);
    regs.setAl(character);
    regs.setFlag(ZF, !got);
}

void PcServices::printString(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    for (uint32_t i = 0; i < kMaxPrintString; ++i) {
        const uint8_t character = memory_.read8(Memory::linear(regs.ds, uint16_t(regs.dx + i)));
        if (character == '$')
            break;
        writeStandardOutput(character);
    }
    regs.setAl('$');
}

void PcServices::bufferedInput(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    const auto at = [&](unsigned offset) { return Memory::linear(regs.ds, uint16_t(regs.dx + offset)); };
    if (!retry_) {
        const uint8_t capacity = memory_.read8(at(0));
        if (capacity == 0)
            return;
        lineInput_.start(capacity);
    }
    while (!keyboard_.empty()) {
        std::string echo;
        const bool done = lineInput_.feed(keyboard_.pop(), echo);
        for (char c : echo)
            writeStandardOutput(uint8_t(c));
        if (!done)
            continue;
        const std::string &text = lineInput_.text();
        memory_.write8(at(1), uint8_t(text.size()));
        for (size_t i = 0; i < text.size(); ++i)
            memory_.write8(at(2 + unsigned(i)), uint8_t(text[i]));
        memory_.write8(at(2 + unsigned(text.size())), '\r');
        return;
    }
    waitForKey(cpu);
}

void PcServices::flushAndInput(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    if (!retry_) {
        keyboard_.clear();
        pendingScanCode_ = -1;
    }
    switch (regs.al()) {
    case 0x01:
        characterInput(cpu, true);
        return;
    case 0x06:
        directConsole(cpu);
        return;
    case 0x07:
    case 0x08:
        characterInput(cpu, false);
        return;
    case 0x0A:
        bufferedInput(cpu);
        return;
    default:
        regs.setAl(0);
        return;
    }
}

void PcServices::readConsole(Cpu &cpu)
{
    Registers &regs = cpu.regs();
    if (consoleLine_.empty() && regs.cx > 0) {
        if (!retry_)
            lineInput_.start(kConsoleLineCapacity);
        bool done = false;
        while (!done && !keyboard_.empty()) {
            std::string echo;
            done = lineInput_.feed(keyboard_.pop(), echo);
            for (char c : echo)
                showOnScreen(uint8_t(c));
        }
        if (!done) {
            waitForKey(cpu);
            return;
        }
        showOnScreen('\n');
        consoleLine_ = lineInput_.text() + "\r\n";
    }
    const uint16_t count = uint16_t(std::min<size_t>(regs.cx, consoleLine_.size()));
    for (uint16_t i = 0; i < count; ++i)
        memory_.write8(Memory::linear(regs.ds, uint16_t(regs.dx + i)), uint8_t(consoleLine_[i]));
    consoleLine_.erase(0, count);
    regs.ax = count;
    succeed(regs);
}

} // namespace velmora::machine
