// The commands that wrap the selection in an inline style code (with StaticFormat on).
#pragma once

namespace velmora::core
{

class TSourceMemoCore;

// Each command's value is the style code it inserts.
enum class TStyleCommand : unsigned char {
    Italic = 1,
    Bold = 2,
    Highlight = 3,
    AltFont = 4,
    Underline = 21,
};

// Puts the command's code before and after the selection and selects the result in the
// selection's direction; with no selection the caret ends between the two codes; with a
// column block every row's part is wrapped and the block stays selected. Does nothing
// unless StaticFormat is on.
void applyStyleCommand(TSourceMemoCore &memo, TStyleCommand command);

} // namespace velmora::core
