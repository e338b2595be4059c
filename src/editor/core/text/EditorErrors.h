// Exceptions raised by the editor's text store. Each carries the message text the user sees.
#pragma once

#include <stdexcept>
#include <string>

namespace velmora::core
{

class EditorError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An index outside a list ("List index out of bounds").
class ERangeError : public EditorError
{
public:
    using EditorError::EditorError;
};

// A list property set to a value the list cannot take ("Undo set too high").
class EListError : public EditorError
{
public:
    using EditorError::EditorError;
};

inline constexpr const char *kListIndexOutOfBounds = "List index out of bounds";
inline constexpr const char *kTextTooLong = "Text too long";
inline constexpr const char *kUndoSetTooHigh = "Undo set too high";
inline constexpr const char *kNotASourceMemo = "Internal error: component is not a TSourceMemo";
inline constexpr const char *kInternalError = "Internal SourceMemo error";

} // namespace velmora::core
