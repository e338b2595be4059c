// Keeping the selection out of the way of a paste (smoNoOverwriteBlocks): the paste goes in at
// the caret instead of replacing the selection.
#pragma once

#include "editor/core/editing/SourceNavigator.h"

#include <cstdint>
#include <memory>

namespace velmora::core
{

class TSourceMemoCore;

class TSelectionAside
{
public:
    // With smoNoOverwriteBlocks and a selection: without smoPersistentBlocks the selection is
    // dropped, leaving the caret; with it, two navigators keep its ends while the paste moves
    // them, and an update is opened so that the paste and the restore are one undo step.
    explicit TSelectionAside(TSourceMemoCore &memo);
    // Closes an update left open when the paste failed before restore().
    ~TSelectionAside();
    TSelectionAside(const TSelectionAside &) = delete;
    TSelectionAside &operator=(const TSelectionAside &) = delete;

    // Selects the kept selection (or column block) again where its ends now stand, leaves the
    // caret after the pasted text and closes the update. Does nothing when nothing was kept.
    void restore();

private:
    TSourceMemoCore &memo_;
    std::unique_ptr<TSourceNavigator> start_;
    std::unique_ptr<TSourceNavigator> end_;
    bool updateOpen_ = false;
    bool block_ = false;
    // A kept block's columns as distances from the columns of the selection's two ends.
    std::int32_t startDistance_ = 0;
    std::int32_t endDistance_ = 0;
};

} // namespace velmora::core
