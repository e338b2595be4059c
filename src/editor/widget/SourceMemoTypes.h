// The editor control's companion types: listener codes and the listener interface, pens, the
// non-printing mark set, the window message record that message listeners read, the edit
// commands it offers and the collapse handler it paints through.
#pragma once

#include "editor/core/store/ParagraphRecord.h"
#include "editor/core/highlight/SourceHighlightEngine.h"

#include <Qt>

#include <bitset>
#include <cstdint>
#include <vector>

class QPainter;

namespace velmora::widget
{

class TSourceMemo;

// The modifiers that make up the shift state of keys and clicks.
inline constexpr Qt::KeyboardModifiers kShiftStateKeys =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// Codes of the two listener lists; several are sent at once when they coincide.
enum TsmNotifyCode : std::uint32_t {
    ncTextChanged = 1,
    ncSelMoved = 2,
    ncStyleChanged = 4,
    ncContextLeftClick = 8,
    ncContextRightClick = 16,
    ncBeforeMessage = 32,
    ncAfterMessage = 64,
    ncVScroll = 128,
    ncHScroll = 256,
    ncFontChanged = 512,
};
using TsmNotifyCodes = std::uint32_t;

class IsmMemoListener
{
public:
    virtual ~IsmMemoListener() = default;
    virtual void notify(TSourceMemo &sender, TsmNotifyCodes codes) = 0;
};

// The message a listener reads while it is notified. Msg is the event type (see the message
// numbers in SourceMemo.h); for key events WParam is the key and LParam the first character.
// A before-listener that sets Result to kStopMessage keeps the control from handling it.
struct TsmMessage {
    std::uint32_t Msg = 0;
    std::intptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};
inline constexpr std::intptr_t kStopMessage = 127;

// A pen: colour (a colour value, -1 for none), width in pixels (0 draws one pixel) and style.
struct TsmPen {
    std::int32_t Color = 0;
    std::int32_t Width = 1;
    Qt::PenStyle Style = Qt::SolidLine;
    bool operator==(const TsmPen &) const = default;
};

enum TsmNonPrintChar : std::uint8_t { smNPSpace, smNPTab, smNPReturn };
using TsmNonPrintChars = std::bitset<3>;

enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

// Colour values of the system colours the control uses.
inline constexpr std::int32_t clHighlight = static_cast<std::int32_t>(0xFF00000D);
inline constexpr std::int32_t clHighlightText = static_cast<std::int32_t>(0xFF00000E);
inline constexpr std::int32_t clWindowText = static_cast<std::int32_t>(0xFF000008);
inline constexpr std::int32_t clGray = 0x808080;

// The edit commands the control offers to menus and tool bars.
class IsmEditCommands
{
public:
    virtual ~IsmEditCommands() = default;
    virtual bool canCut() = 0;
    virtual bool canCopy() = 0;
    virtual bool canPaste() = 0;
    virtual bool canSelectAll() = 0;
    virtual bool canDelete() = 0;
    virtual bool canRedo() = 0;
    virtual bool canUndo() = 0;
    virtual void cutCommand() = 0;
    virtual void copyCommand() = 0;
    virtual void pasteCommand() = 0;
    virtual void selectAllCommand() = 0;
    virtual void deleteCommand() = 0;
    virtual void scrollCaretCommand() = 0;
    virtual void undoCommand() = 0;
    virtual void redoCommand() = 0;
};

// A component that folds text and draws into each painted line. The control tells it when it
// is attached and detached; its destruction detaches it from every control silently.
class TsmsCollapseHandler : public core::IsmCollapseHandler
{
public:
    ~TsmsCollapseHandler() override;
    void LinkControl(core::TSourceHighlightEngine &engine, bool linked) final;

    virtual void attachNotify(TSourceMemo & /*memo*/, bool /*attached*/) {}
    // Draws into a line of the control's line bitmap (its top at y 0).
    virtual void paintLine(TSourceMemo &memo, QPainter &painter, const core::LineInfo &line, std::int32_t par,
                           std::int32_t lineHeight, std::int32_t horzOffset) = 0;

private:
    std::vector<TSourceMemo *> memos_;
    bool dying_ = false;
};

} // namespace velmora::widget
