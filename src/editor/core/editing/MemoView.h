// What the editor's text core asks of its view and its highlighting at fixed points of an
// edit. Every call does nothing here; the editor control and the highlighting engine override
// what they need, and tests record the calls.
#pragma once

#include <cstdint>

namespace velmora::core
{

class TSourceNavigator;

class TMemoView
{
public:
    virtual ~TMemoView() = default;

    // The remembered caret x is no longer valid.
    virtual void dropCaretX() {}
    // An edit is about to change paragraphs first .. last, and has left first .. last in their
    // place (the layout keeps the widths of the lines they hold).
    virtual void paragraphsTouched(std::int32_t /*first*/, std::int32_t /*last*/) {}
    virtual void paragraphsReplaced(std::int32_t /*first*/, std::int32_t /*last*/) {}
    // Before the store changes: the run states in force at both ends of the change.
    virtual void recordHighlightStates(TSourceNavigator & /*start*/, TSourceNavigator & /*end*/) {}
    // Widens or repairs the changed stretch; false when the new text lies inside an attribute
    // run and needs no re-highlighting.
    virtual bool repairHighlightStretch(std::int32_t & /*start*/, std::int32_t & /*end*/, bool /*runsCrossed*/)
    {
        return true;
    }
    // The start-stop and keyword passes over the changed stretch (run with no update open).
    virtual void highlightStretch(std::int32_t /*start*/, std::int32_t /*end*/) {}
    // The layout part of the view refresh: re-break, scroll, repaint the recorded changed range.
    virtual void relayoutChangedRange() {}
    // The change listeners' text-changed notification (before OnChange).
    virtual void notifyTextChanged() {}
    virtual void placeCaret() {}
    // Scrolls so that the caret stands in the window (after a list-view write).
    virtual void scrollCaretIntoView(TSourceNavigator & /*caret*/) {}
    // The display lines between two positions need repainting (a selection change).
    virtual void repaintBetween(std::int32_t /*from*/, std::int32_t /*to*/) {}
    virtual void scrollToTop() {}
    // A load replaced the whole text: scroll to the top and, when layOut is set, lay it out.
    virtual void textLoaded(bool /*layOut*/) {}
    // Layout needed before reading display line line or paragraph par.
    virtual void layOutUpToLine(std::int32_t /*line*/) {}
    virtual void layOutParagraph(std::int32_t /*par*/) {}
};

} // namespace velmora::core
