#include "app/SourceEditorSetup.h"

#include "app/PixelFont.h"
#include "editor/core/highlight/AssemblerSyntax.h"
#include "editor/core/highlight/NumberHighlighter.h"
#include "editor/widget/SourceMemo.h"

namespace velmora::app
{

core::TSourceMemoOptions sourceEditorOptions()
{
    core::TSourceMemoOptions options;
    options.set(core::smoWrapCaret)
        .set(core::smoInsertKeyActive)
        .set(core::smoWideOverwriteCaret)
        .set(core::smoAutoScrollBars)
        .set(core::smoSmartTabs);
    return options;
}

widget::TSourceMemo *createSourceEditor(QWidget *parent, core::TNumberHighlighter &numbers)
{
    numbers.setForeground(0xF0CAA6); // sky blue
    core::useAssemblerNumbers(numbers);

    auto *editor = new widget::TSourceMemo(parent);
    editor->setObjectName(QStringLiteral("editor"));
    editor->setHighlighter(&numbers);
    editor->setScrollBars(core::ssVertical);
    editor->setOptions(sourceEditorOptions());
    editor->setOverwrite(false);
    editor->setDisplayOnly(false);
    editor->setJustified(false);
    editor->setWordWrap(false);
    editor->setColumnWrap(0);
    editor->setCaretWidth(1);
    editor->setLineHeight(0);
    editor->setScrollTime(1);
    editor->setSeparators(core::kAsmSeparators);
    editor->setEndOfTextMark({core::clRed, 0, Qt::SolidLine});
    editor->setRightLinePen({widget::clGray, 1, Qt::DotLine});
    editor->setSelBackColor(widget::clHighlight);
    editor->setSelTextColor(widget::clHighlightText);
    editor->setSpecUnderline({core::clRed, 1, Qt::SolidLine});
    editor->setFont(pixelFont(QStringLiteral("Arial"), 11));
    editor->setFontCharset(core::kCyrillicCharset);
    editor->setFontColor(0xC0DCC0); // money green
    editor->setAltFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    core::fillAssemblerKeywordList(editor->Keywords());
    core::fillAssemblerStartStopKeys(editor->StartStopKeys());
    return editor;
}

} // namespace velmora::app
