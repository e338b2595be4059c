// Keeping the selection out of the way of a paste (smoNoOverwriteBlocks): the paste goes in at
// the caret instead of replacing the selection.
#pragma once

#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/text/UpdateGuard.h"

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
    // An update left open when the paste failed before restore() is closed on destruction.
    explicit TSelectionAside(TSourceMemoCore &memo);
    TSelectionAside(const TSelectionAside &) = delete;
    TSelectionAside &operator=(const TSelectionAside &) = delete;

    // Selects the kept selection (or column block) again where its ends now stand, leaves the
    // caret after the pasted text and closes the update. Does nothing when nothing was kept.
    void restore();

private:
    TSourceMemoCore &memo_;
    std::unique_ptr<TSourceNavigator> start_;
    std::unique_ptr<TSourceNavigator> end_;
    UpdateGuard<TSourceMemoCore> update_;
    bool block_ = false;
    // A kept block's columns as distances from the columns of the selection's two ends.
    std::int32_t startDistance_ = 0;
    std::int32_t endDistance_ = 0;
};

} // namespace velmora::core
