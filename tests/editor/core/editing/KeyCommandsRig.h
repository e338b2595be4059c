// An editor core with its layout and the key commands over them, wired as the control wires
// them: the view tells the commands when the remembered caret x goes stale.
#pragma once

#include "editor/core/editing/KeyCommands.h"
#include "editor/core/layout/LayoutKeyView.h"
#include "editor/core/layout/LayoutTestSupport.h"

#include <string>

namespace velmora::core::testing
{

class KeyRigView : public TLayoutView
{
public:
    KeyRigView(TLayoutEngine &layout, TKeyCommands &keys) : TLayoutView(layout), keys_(keys) {}
    void dropCaretX() override { keys_.dropDesiredX(); }

private:
    TKeyCommands &keys_;
};

// A window of 416 x 140 pixels: 7-pixel characters from x 8, lines of 14 pixels, pages of 10
// lines.
struct KeyRig : LayoutRig {
    TLayoutKeyView keyLayout{layout};
    TKeyCommands keys{memo, keyLayout};
    KeyRigView keyView{layout, keys};

    explicit KeyRig(const std::string &text, bool wrap = false)
    {
        memo.setView(&keyView);
        layout.setWordWrap(wrap);
        open();
        setText(text);
    }
    void option(TSourceMemoOption o, bool on = true)
    {
        TSourceMemoOptions options = memo.Options();
        options.set(o, on);
        memo.setOptions(options);
    }
    std::string text() { return memo.textRange(0, memo.TextLength()); }
    std::string paragraph(std::int32_t i) { return std::string(memo.paragraphs().textOf(i)); }
    void caretTo(std::int32_t pos) { memo.setSelStart(pos); }
    std::int32_t caret() { return memo.origin().Pos(); }
    std::int32_t caretPar() { return memo.origin().ParNumber(); }
    std::int32_t caretOffset() { return memo.origin().ParOffset(); }
    std::int32_t caretLine() { return memo.origin().DisplayLine(); }
    void move(TCaretMove m, bool extend = false) { keys.moveCaret(m, {.extend = extend}); }
    void type(const std::string &chars)
    {
        for (const char c : chars)
            keys.typeCharacter(std::string(1, c));
    }
};

} // namespace velmora::core::testing
