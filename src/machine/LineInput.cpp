#include "machine/LineInput.h"

namespace velmora::machine
{

namespace
{

constexpr uint8_t kBell = 0x07;
constexpr uint8_t kBackspace = 0x08;
constexpr uint8_t kEnter = 0x0D;
constexpr uint8_t kEscape = 0x1B;

} // namespace

void LineInput::start(uint8_t capacity)
{
    text_.clear();
    limit_ = capacity > 0 ? capacity - 1u : 0u;
    active_ = true;
}

bool LineInput::feed(Key key, std::string &echo)
{
    if (key.extended() || key.character == kEscape)
        return false;
    switch (key.character) {
    case kEnter:
        echo += char(kEnter);
        active_ = false;
        return true;
    case kBackspace:
        if (!text_.empty()) {
            text_.pop_back();
            echo += "\b \b";
        }
        return false;
    default:
        if (text_.size() >= limit_) {
            echo += char(kBell);
            return false;
        }
        text_ += char(key.character);
        echo += char(key.character);
        return false;
    }
}

} // namespace velmora::machine
