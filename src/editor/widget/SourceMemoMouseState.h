// What the editor control remembers of the mouse between events, besides the selection it
// shares with the keyboard.
#pragma once

#include <QPoint>

#include <cstdint>

class QEventLoop;

namespace velmora::core
{
class TSourceNavigator;
}

namespace velmora::widget
{

enum class TsmScrollDirection : std::uint8_t { none, up, down, left, right };

struct TsmMouseState {
    // Navigators attached to the control (it frees them).
    core::TSourceNavigator *nav = nullptr;       // the position under the mouse
    core::TSourceNavigator *wordStart = nullptr; // the word first double-clicked
    core::TSourceNavigator *wordEnd = nullptr;
    core::TSourceNavigator *scratch = nullptr; // conversions of points and lines

    QPoint pressPoint; // where the last button went down
    bool movedSincePress = false;
    bool selecting = false;           // the left button went down in the text and is held
    bool wordSelecting = false;       // a double click selects word by word
    std::int32_t lineSelectLine = -1; // display line where line selection started; -1 outside the zone
    bool overSelection = false;       // resting on the selection: a press starts drag and drop
    bool dragging = false;
    bool dragOutside = false;

    TsmScrollDirection scrollDirection = TsmScrollDirection::none;
    std::int32_t scrollLevel = 0;     // distance beyond the edge div 3
    bool autoScrolling = false;       // the auto-scroll loop runs
    QEventLoop *scrollWait = nullptr; // the loop's wait between two steps
    QPoint last;                      // the last point a real mouse move reported

    std::int32_t wheelRemainder = 0;
    std::int32_t lastContext = 0;
};

} // namespace velmora::widget
