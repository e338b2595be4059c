// TSourceMemoCore: the editor control's text, selection, undo and change events without any
// window. The control TSourceMemo derives from it and supplies its view through TMemoView.
//
// Every change of the text is one replace of the selection (SetSelTextBuf): it records undo
// data, edits the paragraph store, corrects every attached navigator, keeps the highlighting
// and the view informed and, outside BeginUpdate/EndUpdate, sends the change notification.
#pragma once

#include "editor/core/text/Component.h"
#include "editor/core/editing/MemoView.h"
#include "editor/core/store/ParagraphsList.h"
#include "editor/core/store/SourceMemoOptions.h"
#include "editor/core/editing/SourceNavigator.h"
#include "editor/core/editing/UndoList.h"
#include "editor/core/store/UpperCaseCache.h"
#include "editor/core/text/UpdateGuard.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace velmora::core
{

// The text of the control's Version property, also closing the consistency check's messages.
inline constexpr const char *kSourceMemoVersion = "TSourceMemo 1.0";

class TSourceMemoCore : public TComponent
{
public:
    TSourceMemoCore();
    // Frees every navigator still attached, the editor's own included.
    ~TSourceMemoCore() override;

    TParagraphsList &paragraphs() { return pars_; }
    const TParagraphsList &paragraphs() const { return pars_; }
    // The view told about edits; null restores the silent default.
    void setView(TMemoView *view) { view_ = view ? view : &silentView_; }
    TMemoView &view() const { return *view_; }

    // Navigator list (navigators attach and detach themselves).
    void attachNavigator(TSourceNavigator *navigator);
    void detachNavigator(TSourceNavigator *navigator);
    const std::vector<TSourceNavigator *> &navigators() const { return navigators_; }

    // Properties the text core reads; the control re-lays out when they change.
    bool WordWrap() const { return wordWrap_; }
    void setWordWrap(bool on) { wordWrap_ = on; }
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment a) { alignment_ = a; }
    const TSourceMemoOptions &Options() const { return options_; }
    // Switching smoDiscardTrailingSpaces on reloads the text without its trailing blanks.
    void setOptions(const TSourceMemoOptions &options);
    std::int32_t TabStops() const { return tabStops_; }
    void setTabStops(std::int32_t n) { tabStops_ = n; }
    const SeparatorSet &Separators() const { return separators_; }
    void setSeparators(const SeparatorSet &s) { separators_ = s; }
    TsmUpperCase UpperCaseType() const { return upperCaseType_; }
    void setUpperCaseType(TsmUpperCase type);
    std::int32_t UndoMaxLevel() const { return undo_.UndoMaxLevel(); }
    void setUndoMaxLevel(std::int32_t n) { undo_.setUndoMaxLevel(n); }
    std::int32_t UndoMaxSpace() const { return undo_.UndoMaxSpace(); }
    void setUndoMaxSpace(std::int32_t n) { undo_.setUndoMaxSpace(n); }
    bool StaticFormat() const { return pars_.StaticFormat; }
    // Reloads the text so that its style codes are read anew.
    void setStaticFormat(bool on);
    TSourceLineBreak LineBreak() const { return lineBreak_; }
    void setLineBreak(TSourceLineBreak lineBreak) { lineBreak_ = lineBreak; }
    char NullReplacement() const { return nullReplacement_; }
    void setNullReplacement(char c) { nullReplacement_ = c; }
    std::int32_t ProgressInterval() const { return progressInterval_; }
    void setProgressInterval(std::int32_t ms) { progressInterval_ = ms; }
    bool Modified() const { return modified_; }
    void setModified(bool m) { modified_ = m; }
    // With StaticFormat: remove redundant style-code pairs after each edit (default on).
    bool codeCleanUp = true;
    // Set by the loading code while a load runs: nothing is recorded for undo meanwhile.
    bool loading = false;

    // Selection.
    std::int32_t SelStart() const { return origin_->Pos(); }
    void setSelStart(std::int32_t p);
    std::int32_t SelLength() const { return selLength_; }
    void setSelLength(std::int32_t n);
    std::string SelText();
    void setSelText(const char *text);
    void SetSelTextBuf(const char *text);
    // Copies at most size - 1 selected characters and a NUL; returns the count.
    std::int32_t copySelection(char *buffer, std::int32_t size);
    void SelectAll();
    void ClearSelection() { SetSelTextBuf(nullptr); }
    void SetTextBuf(const char *text);
    void Clear() { SetTextBuf(""); }
    // The text between max(a, 0) and min(b, TextLength()), breaks as 13, 10.
    std::string textRange(std::int32_t a, std::int32_t b);
    unsigned char characterAt(std::int32_t p);
    // The inline style byte at the origin combined with the run in force there.
    std::uint8_t styleAtOrigin();
    std::int32_t TextLength() const { return pars_.marks().textLength(); }
    std::int32_t ParagraphCount() const { return pars_.count(); }
    std::int32_t LineCount() const { return pars_.marks().lineCount(); }
    std::int32_t SelPar() { return origin_->ParNumber(); }
    std::int32_t SelLine() { return origin_->LineNumber(); }
    std::int32_t SelCol() { return origin_->LineOffset() + overshoot_; }
    void setSelCol(std::int32_t k);
    void selectParagraph(std::int32_t i);
    void selectLine(std::int32_t i);

    // Column block: the selected paragraphs between two display columns.
    bool blockSelection() const { return block_; }
    void setBlockColumns(std::int32_t left, std::int32_t right);
    // The two block columns as set (either order).
    std::pair<std::int32_t, std::int32_t> blockColumns() const { return {blockLeft_, blockRight_}; }
    // Each selected paragraph's part between the block columns, each followed by 13, 10.
    std::string blockText();
    // Columns the caret stands beyond its line end (smoKeepColumnPos).
    std::int32_t overshoot() const { return overshoot_; }
    void setOvershoot(std::int32_t columns) { overshoot_ = columns; }
    // Set by style-code commands and code clean-up: no style-code preservation / no final refresh.
    bool keepCodes = false;
    bool suppressRefresh = false;

    TSourceNavigator &selectionStart() { return *selStart_; }
    TSourceNavigator &selectionEnd() { return *selEnd_; }
    TSourceNavigator &origin() { return *origin_; }
    // smoPersistentBlocks: the caret (origin) stands at p while the selection stays where it is.
    void placeOriginApart(std::int32_t p);
    // The next edit starts a new undo record (after a paste, for instance).
    void startNewUndoGroup() { newUndoGroup_ = true; }

    // Nested update brackets, paired through UpdateGuard: the view is refreshed and the change
    // notification sent when the outermost one closes.
    void BeginUpdate();
    void EndUpdate();
    std::int32_t updateCount() const { return updateCount_; }

    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    void ClearUndo() { undo_.clear(); }
    TUndoList &undoList() { return undo_; }

    // Replaces the text by the bytes from the stream's position to its end (breaks 13 10,
    // 10 13, 13 or 10; a NUL ends the text unless NullReplacement is set); clears undo.
    void LoadFromStream(std::istream &in);
    // Writes the paragraphs with LineBreak between them.
    void SaveToStream(std::ostream &out);
    // Replaces paragraph i (appending empty paragraphs up to it) and keeps the selection.
    void setParagraphText(std::int32_t i, const char *text);

    // The folded copy of a stretch of a paragraph, per UpperCaseType.
    const char *upperCased(std::int32_t par, std::int32_t first, std::int32_t len);
    void dropUpperCaseCache() { upperCache_.drop(); }

    // The view refresh after an edit: the view's re-layout, then the change notification
    // when the store marked the text as changed.
    void refreshView();

    std::function<void(TSourceMemoCore &)> OnChange;
    std::function<void(TSourceMemoCore &)> OnProgress;
    // May replace the text about to be inserted (or change the selection).
    std::function<void(TSourceMemoCore &, const char *&text)> OnBeforeChange;
    std::function<void(TSourceMemoCore &, std::int32_t startOffset, std::int32_t stopOffset)> OnParse;

private:
    void replaceSelection(std::string_view text);
    void deleteBlock();
    // Moves a selection end standing between the two characters of a break after the break.
    void leaveBreak(TSourceNavigator &nav);
    struct UndoPlan {
        bool record = false;
        bool extend = false; // the change continues the previous record
        UndoRecord entry;
    };
    UndoPlan planUndo();
    bool commitUndo(UndoPlan &plan);
    void correctNavigators(std::int32_t s, std::int32_t e, const ReplaceResult &r, std::int32_t ePar);
    void upkeepHighlighting(const ReplaceResult &r, std::int32_t changeStart);
    void cleanUpCodes(std::int32_t firstPar, std::int32_t lastPar);
    void undoStep(std::int32_t index);
    StreamOptions streamOptions();
    // Saves and loads the text again, keeping the modified mark.
    void reload();

    TParagraphsList pars_;
    TMemoView silentView_;
    TMemoView *view_ = &silentView_;

    std::vector<TSourceNavigator *> navigators_;
    // The navigator correction pass in progress: next index to visit and end of the snapshot.
    std::int32_t passNext_ = -1;
    std::int32_t passEnd_ = -1;

    TSourceNavigator *selStart_;
    TSourceNavigator *selEnd_;
    TSourceNavigator *origin_;
    TSourceNavigator *scratch_;         // private reads (character at a position, text ranges)
    TSourceNavigator *caret_;           // keeps the caret while code clean-up edits around it
    TSourceNavigator *apart_ = nullptr; // the origin apart from the selection, made on first use

    std::int32_t selLength_ = 0;
    bool block_ = false;
    std::int32_t blockLeft_ = 0;
    std::int32_t blockRight_ = 0;
    std::int32_t overshoot_ = 0;
    bool newUndoGroup_ = false;
    std::int32_t updateCount_ = 0;
    std::uint64_t updateSession_ = 0;
    bool inUndo_ = false;
    bool modified_ = false;

    bool wordWrap_ = true;
    TAlignment alignment_ = taLeftJustify;
    TSourceMemoOptions options_ = defaultMemoOptions();
    std::int32_t tabStops_ = 8;
    SeparatorSet separators_ = makeSeparators(kDefaultSeparators);
    TsmUpperCase upperCaseType_ = smuAscii;
    TSourceLineBreak lineBreak_ = pbCRLF;
    char nullReplacement_ = 0;
    std::int32_t progressInterval_ = 300;

    TUndoList undo_;
    TUpperCaseCache upperCache_;
};

} // namespace velmora::core
