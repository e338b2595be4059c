// What the layout asks of the window that shows it. Every call does nothing here; the editor
// control overrides them, and tests record them.
#pragma once

#include <cstdint>

namespace velmora::core
{

// A scroll bar's range in scroll units: positions run 0 .. max, page is the visible part.
struct TScrollRange {
    std::int32_t unit = 1; // pixels per scroll-bar step, keeping every value below 32760
    std::int32_t max = 0;
    std::int32_t page = 0;
    bool operator==(const TScrollRange &) const = default;
};

class TLayoutWindow
{
public:
    virtual ~TLayoutWindow() = default;

    // Display lines first .. last (inclusive) must be drawn again.
    virtual void repaintLines(std::int32_t /*first*/, std::int32_t /*last*/) {}
    virtual void repaintAll() {}
    // Moves the window contents by dx, dy pixels; a vertical move affects only the rows from
    // pixel fromY down. The uncovered area is painted at once.
    virtual void scrollContents(std::int32_t /*dx*/, std::int32_t /*dy*/, std::int32_t /*fromY*/) {}
    virtual void setScrollRange(bool /*vertical*/, const TScrollRange & /*range*/) {}
    virtual void setScrollPosition(bool /*vertical*/, std::int32_t /*position*/) {}
    virtual void placeCaret() {}
    // BackgroundBmp holds a picture (its tiling forbids moving window contents).
    virtual bool hasBackgroundPicture() const { return false; }
    // The view's offsets already moved by dv, dh pixels: shows that move over time ms, step by
    // step by scrollAnimationStep, without blocking. False when the window cannot; the layout
    // then steps through the move before it returns.
    virtual bool animateScroll(std::int64_t /*dv*/, std::int64_t /*dh*/, std::int32_t /*time*/) { return false; }
    // The view scrolled: OnVScroll / OnHScroll and the attached controls' notification.
    virtual void scrolled(bool /*vertical*/, bool /*horizontal*/) {}
};

} // namespace velmora::core
