// TSourceNavigator: a position in the text of one editor that stays meaningful while the text
// is edited. Pos (paragraph breaks count two) is the only field always valid; the paragraph,
// the offset in it, the display line and the run index are resolved lazily and cached.
// Invariant: while a paragraph is cached, start <= Pos <= start + length + 1 of it and
// ParOffset = Pos - start; a known run index and ParLine belong to that ParOffset.
//
// A navigator attached to an editor belongs to it from then on: the editor deletes it when
// the text around a deleteWithText navigator is deleted and when the editor itself goes, so
// attached navigators are created with new unless they are destroyed before their editor.
#pragma once

#include "editor/core/store/LinesList.h"
#include "editor/core/store/ParagraphRecord.h"
#include "editor/core/store/SourceMemoOptions.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace velmora::core
{

class TComponent;
class TParagraphsList;
class TSourceMemoCore;

class TSourceNavigator
{
public:
    // Attaches to memo, which must be an editor ("Internal error: component is not a
    // TSourceMemo" otherwise); a null memo makes a free navigator.
    explicit TSourceNavigator(TComponent *memo = nullptr);
    TSourceNavigator(const TSourceNavigator &) = delete;
    TSourceNavigator &operator=(const TSourceNavigator &) = delete;
    // Detaches, then calls onDestroy when set.
    ~TSourceNavigator();

    TSourceMemoCore *memo() const { return memo_; }
    // Moves a navigator to another editor's list (or to none).
    void setMemo(TSourceMemoCore *memo);

    // Copies the position and the cached coordinates, not the flags, callback or editor.
    void assign(const TSourceNavigator &other);
    // Drops the cached paragraph; Pos stays.
    void invalidate();

    // Inside a replaced range: follow its end (set) or its start (clear).
    bool atParagraphStart = false;
    // Destroyed when the text around it is deleted.
    bool deleteWithText = false;
    std::function<void(TSourceNavigator &)> onDestroy;

    std::int32_t Pos() const { return pos_; }
    // Clamped to the text. Moving forward inside the cached paragraph keeps the cache.
    void setPos(std::int32_t p);

    ParInfo *paragraph();
    std::int32_t ParNumber();
    void setParNumber(std::int32_t i);
    std::int32_t ParOffset();
    // Clamped to 0 .. paragraph length.
    void setParOffset(std::int32_t k);
    std::int32_t runIndex();
    std::int32_t ParLine();
    std::int32_t LineOffset();
    void setLineOffset(std::int32_t k);
    std::int32_t LineNumber();
    void setLineNumber(std::int32_t n);
    std::int32_t DisplayLine();
    void setDisplayLine(std::int32_t n);
    bool visible();

    // The character at the position: 13 and 10 inside a paragraph break.
    unsigned char character();
    std::string_view lineText();
    RunInfo currentRun();
    std::uint8_t styleByte();
    // Writes n characters from Pos, breaks as 13, 10, and a NUL after them.
    void copyText(char *buffer, std::int32_t n);

    void wordLeft(const SeparatorSet &separators);
    void wordRight(const SeparatorSet &separators);
    void toWordEndInParagraph(const SeparatorSet &separators);
    void toWordStartInParagraph(const SeparatorSet &separators);

    bool previousRunStart(std::int32_t limit);
    bool nextRunStart(std::int32_t limit);
    void skipRunsHere();
    void insertRun(const RunInfo &run);
    // Raises "Internal SourceMemo error" unless a run starts at the position.
    void deleteRun();

    TLinesList &lines();

private:
    friend class TSourceMemoCore;

    TParagraphsList &store() const;
    void resolve();
    // Caches paragraph i with the position at offset.
    void cacheParagraph(std::int32_t i, std::int32_t offset);
    void moveToRun(std::int32_t i, std::int32_t run);
    std::int32_t lineStartOffset(std::int32_t line);

    TSourceMemoCore *memo_ = nullptr;
    std::int32_t pos_ = 0;
    ParInfo *par_ = nullptr;
    std::int32_t parNumber_ = -1;
    std::int32_t parOffset_ = -1;
    std::int32_t runIndex_ = -1;
    std::int32_t parLine_ = -1;
    TLinesList lines_;
};

} // namespace velmora::core
