// DOS's line editing for buffered keyboard input (INT 21h/0Ah, and reads of the console
// handle): typed characters are kept up to the capacity less one (the place of the closing
// CR), a key beyond that rings the bell instead; Backspace takes the last character back
// (echoed as BS, blank, BS); Enter ends the line and echoes CR. Keys without a character
// (arrows, function keys) and Esc are ignored.
#pragma once

#include "machine/KeyboardQueue.h"

#include <cstdint>
#include <string>

namespace velmora::machine
{

class LineInput
{
public:
    // capacity counts the CR, as the first byte of a function 0Ah buffer does; 0 and 1 keep
    // no characters.
    void start(uint8_t capacity);
    bool active() const { return active_; }
    // Takes one key and appends what DOS echoes for it to echo. Returns true when the key
    // ended the line; text() then holds it without the CR and the editor is inactive.
    bool feed(Key key, std::string &echo);
    const std::string &text() const { return text_; }

private:
    std::string text_;
    size_t limit_ = 0;
    bool active_ = false;
};

} // namespace velmora::machine
