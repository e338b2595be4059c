// Loading a source into the editor all or nothing. The editor's own load replaces its text
// as it reads, so a load that fails part way ("Text too long", out of memory, a read error)
// would leave part of the new text behind. Here the bytes are first loaded into a store of
// their own, with the editor's limits and options; only when that succeeded is the editor's
// text replaced.
#pragma once

#include "app/language/InterfaceTexts.h"
#include "editor/core/text/EditorErrors.h"

#include <cstdint>
#include <istream>

namespace velmora::widget
{
class TSourceMemo;
}

namespace velmora::app
{

// The editor's own load failed after the trial load had succeeded (memory ran out in
// between): the editor holds part of the new text, which belongs to no file.
class PartLoadedError : public core::EditorError
{
public:
    using core::EditorError::EditorError;
};

// Loads the bytes from the stream's position to its end into the editor and marks the text
// unchanged. Throws before the editor changes when the text cannot be loaded whole, and
// PartLoadedError in the rare case described there, with texts' messages. Returns
// the offset (from the start position) of a NUL byte that ended the text, or -1.
std::int64_t loadWhole(widget::TSourceMemo &editor, std::istream &in, const MessageTexts &texts);

} // namespace velmora::app
