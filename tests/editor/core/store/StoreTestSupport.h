// Helpers shared by the text store tests: the whole text of an editor, and a plain-string
// model of positions in which every paragraph break is the two characters 13, 10.
#pragma once

#include "editor/core/editing/SourceMemoCore.h"

#include <cstdint>
#include <string>

namespace velmora::core::testing
{

inline std::string wholeText(TSourceMemoCore &memo)
{
    return memo.textRange(0, memo.TextLength());
}

// Sets the text through the replace path and forgets the undo data of doing so.
inline void setText(TSourceMemoCore &memo, const std::string &text)
{
    memo.SetTextBuf(text.c_str());
    memo.ClearUndo();
}

// The text as the store keeps it: every 13 (with an optional 10 after it) becomes one break.
inline std::string normalized(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == 13) {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == 10)
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct ModelPlace {
    std::int32_t paragraph = 0;
    std::int32_t offset = 0;
};

// The paragraph and offset of a model position (offset = length + 1 inside a break).
inline ModelPlace placeOf(const std::string &model, std::int32_t pos)
{
    ModelPlace place;
    std::int32_t start = 0;
    for (std::size_t i = 0; i + 1 < model.size() && static_cast<std::int32_t>(i) + 2 <= pos; ++i) {
        if (model[i] == '\r') {
            ++place.paragraph;
            start = static_cast<std::int32_t>(i) + 2;
            ++i;
        }
    }
    place.offset = pos - start;
    return place;
}

} // namespace velmora::core::testing
