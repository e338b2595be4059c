// An upper-cased copy of a stretch of one paragraph, for case-insensitive matching. A request
// that overlaps or touches the cached stretch of the same paragraph extends it, folding only
// the new part; any other request replaces it.
#pragma once

#include "editor/core/text/UpperCase.h"

#include <cstdint>
#include <string>

namespace velmora::core
{

class TParagraphsList;

class TUpperCaseCache
{
public:
    // The folded characters [first, first + len) of paragraph par (clamped to the paragraph).
    const char *fold(const TParagraphsList &store, std::int32_t par, std::int32_t first, std::int32_t len,
                     TsmUpperCase type);
    std::int32_t paragraph() const { return par_; }
    // Follows its paragraph when paragraphs were inserted or removed before it.
    void shift(std::int32_t parChange) { par_ += parChange; }
    void drop() { par_ = -1; }

private:
    std::int32_t par_ = -1;
    std::int32_t first_ = 0;
    std::string folded_;
};

} // namespace velmora::core
