// TSourceMemo: the editor control. It owns its Qt-free parts: the text, selection and undo
// (TSourceMemoCore, whose published names it forwards), the layout engine it shows as the
// layout's window, the highlighting engine, the key commands and the text measurer over its
// fonts; it paints every line through a one-line off-screen bitmap.
//
// Every event the control handles passes the message listeners first (ncBeforeMessage, where a
// kept result of kStopMessage stops it) and after (ncAfterMessage); the change listeners follow
// text, selection, scrolling and font changes.
#pragma once

#include "editor/core/editing/KeyCommands.h"
#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/editing/SourceMemoStrings.h"
#include "editor/core/highlight/SourceHighlightEngine.h"
#include "editor/core/layout/LayoutEngine.h"
#include "editor/core/layout/LayoutKeyView.h"
#include "editor/core/layout/LineWalk.h"
#include "editor/widget/LineRenderer.h"
#include "editor/widget/QtTextMeasurer.h"
#include "editor/widget/SourceMemoMouseState.h"
#include "editor/widget/SourceMemoTypes.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QWheelEvent;

namespace velmora::widget
{

class TsmDefaultPopup;
class TsmMemoView;

// Message numbers of the control's own messages, beside the Qt event types of the others.
inline constexpr std::uint32_t kBackgroundStepMessage = QEvent::User + 1;
inline constexpr std::uint32_t kChangedMessage = QEvent::User + 2;

class TSourceMemo : public QAbstractScrollArea, public IsmEditCommands
{
    // First, for every member after it refers to it.
    core::TSourceMemoCore core_;

public:
    explicit TSourceMemo(QWidget *parent = nullptr);
    ~TSourceMemo() override;

    core::TSourceMemoCore &core() { return core_; }
    const core::TSourceMemoCore &core() const { return core_; }
    core::TLayoutEngine &layoutEngine() { return *layout_; }
    core::TSourceHighlightEngine &highlighting() { return *engine_; }
    QtTextMeasurer &measurer() { return measurer_; }

    // ---- Window handle: created when the control is first resized, shown or painted.
    bool HandleAllocated() const { return layout_->HandleAllocated(); }
    void HandleNeeded();
    // Drops and rebuilds all view state (after ScrollBars or BorderStyle changed).
    void RecreateWnd();

    // ---- Published properties (setters do nothing for an unchanged value)
    core::TAlignment Alignment() const { return layout_->Alignment(); }
    void setAlignment(core::TAlignment a) { layout_->setAlignment(a); }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle style);
    bool HideSelection() const { return hideSelection_; }
    void setHideSelection(bool on);
    // The text as a list of display lines, and as a list of paragraphs.
    core::TSourceLinesStrings &Lines() { return *lines_; }
    core::TSourceParaStrings &Paragraphs() { return *paragraphStrings_; }
    core::TScrollStyle ScrollBars() const { return layout_->ScrollBars(); }
    void setScrollBars(core::TScrollStyle s);
    bool WantTabs() const { return wantTabs_; }
    void setWantTabs(bool on) { wantTabs_ = on; }
    bool WordWrap() const { return layout_->WordWrap(); }
    void setWordWrap(bool on) { layout_->setWordWrap(on); }
    const QFont &AltFont() const { return altFont_; }
    void setAltFont(const QFont &font);
    bool ApplyKeyWords() const { return engine_->ApplyKeyWords; }
    void setApplyKeyWords(bool on) { engine_->ApplyKeyWords = on; }
    bool ApplyStartStopKeys() const { return engine_->ApplyStartStopKeys; }
    void setApplyStartStopKeys(bool on) { engine_->ApplyStartStopKeys = on; }
    const QPixmap &BackgroundBmp() const { return backgroundBmp_; }
    void setBackgroundBmp(const QPixmap &picture);
    std::int32_t CaretWidth() const { return caretWidth_; }
    // 0: automatic, line height div 14 + 1, following later line-height changes.
    void setCaretWidth(std::int32_t width);
    TsmsCollapseHandler *CollapseHandler() const { return collapseHandler_; }
    void setCollapseHandler(TsmsCollapseHandler *handler);
    std::int32_t ColumnWrap() const { return layout_->ColumnWrap(); }
    void setColumnWrap(std::int32_t n) { layout_->setColumnWrap(n); }
    bool DisplayOnly() const { return displayOnly_; }
    void setDisplayOnly(bool on);
    bool EnableHotKeys() const { return enableHotKeys_; }
    void setEnableHotKeys(bool on) { enableHotKeys_ = on; }
    const TsmPen &EndOfTextMark() const { return endOfTextMark_; }
    void setEndOfTextMark(const TsmPen &pen) { setPen(endOfTextMark_, pen); }
    std::int32_t HighlightBackgnd() const { return engine_->HighlightBackgnd; }
    void setHighlightBackgnd(std::int32_t colour);
    std::int32_t HighlightColor() const { return engine_->HighlightColor; }
    void setHighlightColor(std::int32_t colour);
    core::TSourceHighlighter *Highlighter() const { return engine_->Highlighter(); }
    void setHighlighter(core::TSourceHighlighter *highlighter) { engine_->setHighlighter(highlighter); }
    bool Justified() const { return layout_->Justified(); }
    void setJustified(bool on) { layout_->setJustified(on); }
    core::TKeywordList &Keywords() { return engine_->Keywords; }
    std::int32_t LeftMargin() const { return layout_->LeftMargin(); }
    void setLeftMargin(std::int32_t px) { layout_->setLeftMargin(px); }
    std::int32_t LineHeight() const { return layout_->LineHeight(); }
    void setLineHeight(std::int32_t h);
    std::int32_t MouseWheelFactor() const { return mouseWheelFactor_; }
    void setMouseWheelFactor(std::int32_t n) { mouseWheelFactor_ = n; }
    // Repaints the selection when smoWindowsSelColors or smoFullLineSelect changed.
    void setOptions(const core::TSourceMemoOptions &options);
    const core::TSourceMemoOptions &Options() const { return core_.Options(); }
    bool Overwrite() const { return keys_->overwrite; }
    void setOverwrite(bool on);
    bool PassOverCodes() const { return keys_->passOverCodes; }
    void setPassOverCodes(bool on) { keys_->passOverCodes = on; }
    void setProgressInterval(std::int32_t ms);
    std::int32_t ProgressInterval() const { return core_.ProgressInterval(); }
    bool ReadOnly() const { return readOnly_; }
    void setReadOnly(bool on) { readOnly_ = on; }
    const TsmPen &RightLinePen() const { return rightLinePen_; }
    void setRightLinePen(const TsmPen &pen) { setPen(rightLinePen_, pen); }
    // 0: no line; positive: after that many blank widths; negative: at -value pixels.
    std::int32_t RightLinePos() const { return rightLinePos_; }
    void setRightLinePos(std::int32_t pos);
    std::int32_t RightMargin() const { return layout_->RightMargin(); }
    void setRightMargin(std::int32_t px) { layout_->setRightMargin(px); }
    std::int32_t ScrollTime() const { return layout_->ScrollTime; }
    void setScrollTime(std::int32_t ms) { layout_->ScrollTime = ms; }
    std::int32_t SelBackColor() const { return selBackColor_; }
    void setSelBackColor(std::int32_t colour) { setSelectionLook(selBackColor_, colour); }
    std::int32_t SelTextColor() const { return selTextColor_; }
    void setSelTextColor(std::int32_t colour) { setSelectionLook(selTextColor_, colour); }
    const std::string &Separators() const { return separatorText_; }
    void setSeparators(const std::string &chars);
    bool ShowEndParSelected() const { return showEndParSelected_; }
    void setShowEndParSelected(bool on);
    TsmNonPrintChars ShowNonPrintChars() const { return nonPrintChars_; }
    void setShowNonPrintChars(TsmNonPrintChars marks);
    const TsmPen &SpecUnderline() const { return specUnderline_; }
    void setSpecUnderline(const TsmPen &pen) { setPen(specUnderline_, pen); }
    core::TStartStopKeyList &StartStopKeys() { return engine_->StartStopKeys; }
    std::int32_t TabStops() const { return layout_->TabStops(); }
    void setTabStops(std::int32_t n) { layout_->setTabStops(n); }
    void setUpperCaseType(core::TsmUpperCase type);
    core::TsmUpperCase UpperCaseType() const { return core_.UpperCaseType(); }
    core::TsmUpdateMode UpdateMode() const { return layout_->schedule().UpdateMode(); }
    void setUpdateMode(core::TsmUpdateMode mode) { layout_->schedule().setUpdateMode(mode); }
    std::string Version() const { return core::kSourceMemoVersion; }
    // Version is read-only: assignments are ignored.
    void setVersion(const std::string &) {}
    const std::string &WordWrapChars() const { return layout_->WordWrapChars(); }
    void setWordWrapChars(const std::string &chars) { layout_->setWordWrapChars(chars); }

    // ---- The core's properties and methods
    std::int32_t UndoMaxLevel() const { return core_.UndoMaxLevel(); }
    void setUndoMaxLevel(std::int32_t n) { core_.setUndoMaxLevel(n); }
    std::int32_t UndoMaxSpace() const { return core_.UndoMaxSpace(); }
    void setUndoMaxSpace(std::int32_t n) { core_.setUndoMaxSpace(n); }
    bool StaticFormat() const { return core_.StaticFormat(); }
    void setStaticFormat(bool on) { core_.setStaticFormat(on); }
    core::TSourceLineBreak LineBreak() const { return core_.LineBreak(); }
    void setLineBreak(core::TSourceLineBreak lineBreak) { core_.setLineBreak(lineBreak); }
    char NullReplacement() const { return core_.NullReplacement(); }
    void setNullReplacement(char c) { core_.setNullReplacement(c); }
    bool Modified() const { return core_.Modified(); }
    void setModified(bool m) { core_.setModified(m); }

    std::int32_t SelStart() const { return core_.SelStart(); }
    void setSelStart(std::int32_t p) { core_.setSelStart(p); }
    std::int32_t SelLength() const { return core_.SelLength(); }
    void setSelLength(std::int32_t n) { core_.setSelLength(n); }
    std::string SelText() { return core_.SelText(); }
    void setSelText(const char *text) { core_.setSelText(text); }
    void SetSelTextBuf(const char *text) { core_.SetSelTextBuf(text); }
    std::int32_t copySelection(char *buffer, std::int32_t size) { return core_.copySelection(buffer, size); }
    void SelectAll() { core_.SelectAll(); }
    void ClearSelection() { core_.ClearSelection(); }
    void SetTextBuf(const char *text) { core_.SetTextBuf(text); }
    void Clear() { core_.Clear(); }
    std::string textRange(std::int32_t a, std::int32_t b) { return core_.textRange(a, b); }
    unsigned char characterAt(std::int32_t p) { return core_.characterAt(p); }
    std::uint8_t styleAtOrigin() { return core_.styleAtOrigin(); }
    std::int32_t TextLength() const { return core_.TextLength(); }
    std::int32_t ParagraphCount() const { return core_.ParagraphCount(); }
    std::int32_t LineCount() const { return core_.LineCount(); }
    std::int32_t SelPar() { return core_.SelPar(); }
    std::int32_t SelLine() { return core_.SelLine(); }
    std::int32_t SelCol() { return core_.SelCol(); }
    void setSelCol(std::int32_t k) { core_.setSelCol(k); }
    void selectParagraph(std::int32_t i) { core_.selectParagraph(i); }
    void selectLine(std::int32_t i) { core_.selectLine(i); }
    bool blockSelection() const { return core_.blockSelection(); }
    void setBlockColumns(std::int32_t left, std::int32_t right) { core_.setBlockColumns(left, right); }
    std::pair<std::int32_t, std::int32_t> blockColumns() const { return core_.blockColumns(); }
    std::string blockText() { return core_.blockText(); }
    std::int32_t overshoot() const { return core_.overshoot(); }
    void setOvershoot(std::int32_t columns) { core_.setOvershoot(columns); }
    core::TSourceNavigator &selectionStart() { return core_.selectionStart(); }
    core::TSourceNavigator &selectionEnd() { return core_.selectionEnd(); }
    core::TSourceNavigator &origin() { return core_.origin(); }
    core::TParagraphsList &paragraphs() { return core_.paragraphs(); }
    const core::TParagraphsList &paragraphs() const { return core_.paragraphs(); }

    void startNewUndoGroup() { core_.startNewUndoGroup(); }
    void BeginUpdate() { core_.BeginUpdate(); }
    void EndUpdate() { core_.EndUpdate(); }
    std::int32_t updateCount() const { return core_.updateCount(); }
    void Undo() { core_.Undo(); }
    void Redo() { core_.Redo(); }
    bool CanUndo() const { return core_.CanUndo(); }
    bool CanRedo() const { return core_.CanRedo(); }
    void ClearUndo() { core_.ClearUndo(); }
    core::TUndoList &undoList() { return core_.undoList(); }
    void LoadFromStream(std::istream &in) { core_.LoadFromStream(in); }
    void SaveToStream(std::ostream &out) { core_.SaveToStream(out); }
    void setParagraphText(std::int32_t i, const char *text) { core_.setParagraphText(i, text); }

    // Inherited properties the control paints with.
    std::int32_t Color() const { return color_; }
    void setColor(std::int32_t colour);
    // The colour of Font (the default text colour) and its character set (which code page its
    // bytes are drawn in: 204 Cyrillic = Windows-1251, 255 OEM = 866).
    std::int32_t FontColor() const { return fontColor_; }
    void setFontColor(std::int32_t colour);
    std::uint8_t FontCharset() const { return fontCharset_; }
    void setFontCharset(std::uint8_t charset);
    // The pointer over the text when no other is shown (crIBeam). It hides QWidget::setCursor:
    // the control shows its pointers on its viewport.
    const QCursor &Cursor() const { return cursor_; }
    void setCursor(const QCursor &cursor);
    // The menu a right click and the Apps key open instead of the default popup menu; the
    // control does not own it.
    QMenu *PopupMenu() const { return popupMenu_; }
    void setPopupMenu(QMenu *menu) { popupMenu_ = menu; }

    // ---- Events (the core's first: they are its own, given the core)
    std::function<void(core::TSourceMemoCore &)> &OnChange = core_.OnChange;
    std::function<void(core::TSourceMemoCore &)> &OnProgress = core_.OnProgress;
    std::function<void(core::TSourceMemoCore &, const char *&text)> &OnBeforeChange = core_.OnBeforeChange;
    std::function<void(core::TSourceMemoCore &, std::int32_t startOffset, std::int32_t stopOffset)> &OnParse =
        core_.OnParse;
    std::function<void(TSourceMemo &)> OnStyleChange;
    std::function<void(TSourceMemo &)> OnSelMove;
    std::function<void(TSourceMemo &)> OnHScroll;
    std::function<void(TSourceMemo &)> OnVScroll;
    std::function<void(TSourceMemo &, std::int32_t context, std::int32_t startOffset, std::int32_t stopOffset)>
        OnContext;
    std::function<void(TSourceMemo &, Qt::MouseButton, Qt::KeyboardModifiers, std::int32_t x, std::int32_t y)>
        OnAfterMouseDown;
    // A left mouse press in the text, after the control has handled it.
    std::function<void(TSourceMemo &)> OnClick;
    // A key went down; setting key to 0 keeps the control from handling it.
    std::function<void(TSourceMemo &, int &key, Qt::KeyboardModifiers shift)> OnKeyDown;
    // A character is about to be typed; setting key to 0 consumes it.
    std::function<void(TSourceMemo &, QChar &key)> OnKeyPress;

    // ---- Listener lists
    void addMessageListener(IsmMemoListener *listener) { messageListeners_.push_back(listener); }
    void removeMessageListener(IsmMemoListener *listener) { removeFrom(messageListeners_, listener); }
    void addChangeListener(IsmMemoListener *listener) { changeListeners_.push_back(listener); }
    void removeChangeListener(IsmMemoListener *listener) { removeFrom(changeListeners_, listener); }
    // The message being handled, as the message listeners see it.
    TsmMessage &message() { return message_; }
    void notifyChangeListeners(TsmNotifyCodes codes);

    // ---- Edit commands
    bool canCut() override { return !readOnly_ && !displayOnly_ && SelLength() != 0; }
    bool canCopy() override { return !displayOnly_ && SelLength() != 0; }
    bool canPaste() override { return !readOnly_ && !displayOnly_; }
    bool canSelectAll() override { return !displayOnly_ && TextLength() > 0; }
    bool canDelete() override { return !readOnly_ && !displayOnly_ && SelLength() != 0; }
    bool canRedo() override { return CanRedo(); }
    bool canUndo() override { return CanUndo(); }
    void cutCommand() override;
    void copyCommand() override;
    void pasteCommand() override;
    void selectAllCommand() override { SelectAll(); }
    void deleteCommand() override { ClearSelection(); }
    void scrollCaretCommand() override { layout_->scrollCaretIntoView(origin()); }
    void undoCommand() override { Undo(); }
    void redoCommand() override { Redo(); }

    // Drops every highlight run and highlights, lays out and paints the text again (after a
    // change of the keyword lists or the highlighter).
    void ReApplyKeywords();

    // ---- Mouse
    // The menu a right click opens now: PopupMenu, else the default popup menu with its items
    // enabled for the present state; null when there is none (smoNoDefaultPopup).
    QMenu *preparePopupMenu();
    // The context number of the last clicked highlighted word (0 before any), for the change
    // listeners told of the click.
    std::int32_t lastContextNumber() const { return mouse_.lastContext; }

    // ---- Painting
    // Draws display lines first .. last onto an outside canvas: line i at
    // origin.y + (i - first) * line height * scale, scaled by scale both ways.
    void paintLines(QPainter &canvas, std::int32_t first, std::int32_t last, QPointF origin, qreal scale);
    // The caret's rectangle in the viewport (empty while it is not shown).
    QRect caretRect() const { return caretRect_; }
    // Paints every display line of paragraph (-1: none) on a band of colour, behind the text and
    // under the selection; the paragraph number stays through edits. Scrolls nothing.
    void setMarkedLine(std::int32_t paragraph, std::int32_t colour);
    std::int32_t markedLine() const { return markedLine_; }

    // ---- What the layout asks of its window (through window_)
    void repaintLines(std::int32_t first, std::int32_t last);
    void repaintAll();
    void scrollContents(std::int32_t dx, std::int32_t dy, std::int32_t fromY);
    void setScrollRange(bool vertical, const core::TScrollRange &range);
    void setScrollPosition(bool vertical, std::int32_t position);
    void placeCaret();
    bool hasBackgroundPicture() const { return !backgroundBmp_.isNull(); }
    bool animateScroll(std::int64_t dv, std::int64_t dh, std::int32_t time);
    void scrolled(bool vertical, bool horizontal);
    // The offsets the view is painted at: the layout's, less what a running scroll animation
    // still has to go.
    std::int32_t shownVertOffset() const;
    std::int32_t shownHorzOffset() const;

    // Called by the view with the text's change notification.
    void textChanged();
    // The caret was placed or the text edited: the next vertical move takes the caret's x.
    void dropDesiredX() { keys_->dropDesiredX(); }

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    // With WantTabs the Tab key reaches the control instead of moving the focus.
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Runs handle between the message listeners' two notifications; returns false when a
    // before-listener stopped it or the control was destroyed meanwhile.
    bool dispatch(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam, const std::function<bool()> &handle,
                  bool &handled);
    void notifyList(std::vector<IsmMemoListener *> &list, TsmNotifyCodes codes);
    static void removeFrom(std::vector<IsmMemoListener *> &list, IsmMemoListener *listener);
    void createHandle();
    void destroyHandle();
    void fontChanged();
    void applyFonts();
    void applyScrollBarPolicies();
    void setPen(TsmPen &pen, const TsmPen &value);
    void setSelectionLook(std::int32_t &field, std::int32_t value);
    void repaintSelection();
    bool selectionShown() const;
    std::int32_t effectiveCaretWidth();
    void caretPlaced();
    void blinkCaret();
    void backgroundStep(const std::function<void()> &tick);
    void stepScrollAnimation();
    // Shows the layout's offsets at once (a mouse press must hit what it sees).
    void finishScrollAnimation();

    // Keys (SourceMemoKeys.cpp): what a key does before the character it types; each returns
    // true when the key is consumed, false when it passes on to the owner.
    bool keyDown(int key, Qt::KeyboardModifiers shift);
    bool hotKey(int key, bool shift);
    bool displayOnlyKey(int key, Qt::KeyboardModifiers shift);
    bool editingKey(int key, Qt::KeyboardModifiers mods);
    void toggleOverwrite();
    // Left, Right, Up, Down: with Shift and Alt a column block (smoBlockSelection, no wrap).
    void arrowKey(int key, Qt::KeyboardModifiers mods);
    // The character handler; true when it consumed c.
    bool typeKey(char16_t c);

    // Keys while text is dragged (Ctrl for the copy cursor, Escape to cancel); true when the
    // drag took the key.
    bool dragKeyPress(QKeyEvent *event);
    void dragKeyRelease(QKeyEvent *event);
    // Opens PopupMenu, else the default popup menu unless smoNoDefaultPopup, at a viewport point.
    void popupAt(QPoint point);

    // Mouse (SourceMemoMouse.cpp): navigators, tracking and the scroll bars' requests.
    void setUpMouse();
    // Ends selecting and auto-scrolling; a drag is cancelled, the caret back at the selection
    // (Escape during a drag, and a lost focus).
    void endMouseSelection();
    void buttonWentDown(QMouseEvent *event);
    void leftButtonDown(QPoint point, Qt::KeyboardModifiers shift, bool doubleClick);
    void placeAtPoint(QPoint point, Qt::KeyboardModifiers shift);
    // No button held: the line-selection zone, the drag state and the pointer at point.
    void hover(QPoint point);
    void mouseMoved(QPoint point, Qt::KeyboardModifiers shift);
    void extendSelection(QPoint point);
    void selectWordAt(QPoint point);
    void selectWords();
    bool inLineSelectionZone(QPoint point) const;
    void selectDisplayLines(std::int32_t from, std::int32_t to);
    std::int32_t displayLineStart(std::int32_t line);
    std::int32_t displayLineEnd(std::int32_t line);
    // True when the character at point carries a context number (listeners and OnContext told).
    bool contextClick(QPoint point, Qt::MouseButton button);
    std::int32_t displayLineAt(std::int32_t y) const;
    std::int32_t lastDisplayLine() const;
    QPoint onLastLineAtMost(QPoint point) const;
    // Moves the mouse navigator to the character boundary nearest to point (the text end below
    // the text), laying out the display line there first.
    void mouseNavigatorTo(QPoint point);
    // The position of the character whose cell holds point, if any; the scratch navigator is
    // left there.
    std::optional<std::int32_t> characterUnder(QPoint point);
    // Virtual overshoot for the mouse navigator at point: beyond the paragraph's end or on a
    // tab, in blank widths.
    std::int32_t overshootAt(QPoint point);
    // The caret's display column in blank widths from LeftMargin.
    std::int32_t caretColumn();
    // The selection end that stays while the caret moves.
    std::int32_t anchorPosition();
    // Selects from anchor to caret, repainting what was selected before.
    void selectRange(std::int32_t anchor, std::int32_t caret);
    void showPointer(const QCursor &cursor);

    // Drag and drop (SourceMemoDrag.cpp).
    bool dragAllowedAt(QPoint point);
    void startDrag(QPoint point);
    void dragMoved(QPoint point, Qt::KeyboardModifiers shift);
    void drop(QPoint point, Qt::KeyboardModifiers shift);

    // Automatic scrolling while selecting beyond the window's edges (SourceMemoAutoScroll.cpp).
    // Returns true when the mouse took a new direction and no loop runs yet.
    bool takeAutoScrollDirection(QPoint point);
    void autoScroll();
    bool autoScrollGoesOn() const;
    void autoScrollStep();

    // Scroll bars and wheel (SourceMemoScrollBars.cpp).
    void verticalScrollRequest(int action);
    void horizontalScrollRequest(int action);
    // The largest horizontal offset the horizontal bar reaches.
    std::int32_t horizontalScrollEnd() const;

    // Painting (SourceMemoPaint.cpp).
    void paintDocument(QPainter &painter, const QRect &area);
    // What the line renderer paints with now.
    TLineLook lineLook();
    void drawLine(QPainter &painter, std::int32_t line, const TLineLook &look);

    // The layout's window: passes the layout's requests on to the control.
    class LayoutWindow : public core::TLayoutWindow
    {
    public:
        explicit LayoutWindow(TSourceMemo &memo) : memo_(memo) {}
        void repaintLines(std::int32_t first, std::int32_t last) override { memo_.repaintLines(first, last); }
        void repaintAll() override { memo_.repaintAll(); }
        void scrollContents(std::int32_t dx, std::int32_t dy, std::int32_t fromY) override
        {
            memo_.scrollContents(dx, dy, fromY);
        }
        void setScrollRange(bool vertical, const core::TScrollRange &range) override
        {
            memo_.setScrollRange(vertical, range);
        }
        void setScrollPosition(bool vertical, std::int32_t position) override
        {
            memo_.setScrollPosition(vertical, position);
        }
        void placeCaret() override { memo_.placeCaret(); }
        bool hasBackgroundPicture() const override { return memo_.hasBackgroundPicture(); }
        bool animateScroll(std::int64_t dv, std::int64_t dh, std::int32_t time) override
        {
            return memo_.animateScroll(dv, dh, time);
        }
        void scrolled(bool vertical, bool horizontal) override { memo_.scrolled(vertical, horizontal); }

    private:
        TSourceMemo &memo_;
    };

    LayoutWindow window_{*this};
    QtTextMeasurer measurer_;
    std::unique_ptr<core::TLayoutEngine> layout_;
    std::unique_ptr<core::TSourceHighlightEngine> engine_;
    std::unique_ptr<TsmMemoView> view_;
    std::unique_ptr<core::TSourceLinesStrings> lines_;
    std::unique_ptr<core::TSourceParaStrings> paragraphStrings_;
    core::TSourceNavigator *paintNav_; // the line being painted
    core::TLayoutKeyView keyLayout_;
    std::unique_ptr<core::TKeyCommands> keys_;

    std::vector<IsmMemoListener *> messageListeners_;
    std::vector<IsmMemoListener *> changeListeners_;
    int notifyDepth_ = 0;
    TsmMessage message_;
    int nesting_ = 0;

    TBorderStyle borderStyle_ = bsSingle;
    bool hideSelection_ = true;
    bool wantTabs_ = true;
    QFont altFont_;
    QPixmap backgroundBmp_;
    std::int32_t caretWidth_ = 1;
    bool autoCaretWidth_ = false;
    TsmsCollapseHandler *collapseHandler_ = nullptr;
    bool displayOnly_ = false;
    bool enableHotKeys_ = true;
    TsmPen endOfTextMark_{core::clRed, 1, Qt::SolidLine};
    std::int32_t mouseWheelFactor_ = -1;
    bool readOnly_ = false;
    TsmPen rightLinePen_{clGray, 1, Qt::DotLine};
    std::int32_t rightLinePos_ = 0;
    std::int32_t selBackColor_ = clHighlight;
    std::int32_t selTextColor_ = clHighlightText;
    std::string separatorText_{core::kDefaultSeparators};
    bool showEndParSelected_ = true;
    TsmNonPrintChars nonPrintChars_;
    TsmPen specUnderline_{core::clRed, 1, Qt::SolidLine};
    std::int32_t color_ = core::clWindow;
    std::int32_t markedLine_ = -1;
    std::int32_t markedColour_ = 0;
    std::int32_t fontColor_ = clWindowText;
    std::uint8_t fontCharset_ = core::kCyrillicCharset;
    QCursor cursor_{Qt::IBeamCursor};
    QPointer<QMenu> popupMenu_;
    TsmDefaultPopup *defaultPopup_ = nullptr; // a child widget, made on first use

    TsmMouseState mouse_;

    QImage lineBitmap_;
    // Declared after the layout engine, the measurer and the paint navigator it draws with.
    TLineRenderer lineRenderer_{*layout_, measurer_, *paintNav_};
    QRect caretRect_;
    QTimer caretBlink_;
    // A scroll animation: the layout moved by distanceV, distanceH; the view shows movedV,
    // movedH of it so far.
    struct ScrollAnimation {
        std::int64_t distanceV = 0, distanceH = 0;
        std::int64_t movedV = 0, movedH = 0;
        std::int32_t time = 0;
        QElapsedTimer clock;
    };
    ScrollAnimation scrollAnimation_;
    QTimer scrollAnimationTimer_;
    bool caretShown_ = true; // the blinking caret's present phase
    std::int32_t lastCaretPos_ = 0;
    std::uint8_t lastCaretStyle_ = 0;
    bool settingScrollBars_ = false;
};

} // namespace velmora::widget
