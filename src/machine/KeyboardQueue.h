// The keys typed for the program, oldest first: what the window (or a test script) fills
// and what the BIOS and DOS keyboard services take from.
#pragma once

#include <cstdint>
#include <deque>

namespace velmora::machine
{

// One key as the BIOS reports it: the scan code and the character (0 for keys without
// one, such as the arrows and function keys).
struct Key {
    uint8_t scanCode = 0;
    uint8_t character = 0;

    // AH = scan code, AL = character, as INT 16h returns it.
    uint16_t word() const { return uint16_t(scanCode) << 8 | character; }
    // A key that DOS's character input returns as 0 followed by its scan code.
    bool extended() const { return character == 0 || character == 0xE0; }
};

class KeyboardQueue
{
public:
    void push(Key key) { keys_.push_back(key); }
    bool empty() const { return keys_.empty(); }
    const Key &front() const { return keys_.front(); }
    Key pop()
    {
        const Key key = keys_.front();
        keys_.pop_front();
        return key;
    }
    void clear() { keys_.clear(); }

private:
    std::deque<Key> keys_;
};

} // namespace velmora::machine
