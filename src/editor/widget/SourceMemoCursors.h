// The editor control's mouse pointers: its two images of its own, made once per process, and
// the standard pointers by the numbers keyword entries store.
#pragma once

#include <QCursor>

#include <cstdint>

namespace velmora::widget
{

// "SMRIGHTARROW": an arrow pointing up and to the right, shown in the line-selection zone.
const QCursor &rightArrowCursor();
// "SMEMODRAGCOPY": the arrow with a plus sign, shown while a drag copies.
const QCursor &dragCopyCursor();
// The standard pointer of a cursor number (crArrow -2 .. crSizeAll -22); crDefault and
// unknown numbers give fallback.
QCursor standardCursor(std::int16_t number, const QCursor &fallback);

} // namespace velmora::widget
