// The source editor as the main window sets it up: options, colours, fonts, scrolling, the
// number highlighter in assembler notation and the assembler keywords, comments and strings.
// The window and the benchmarks both build their editor here, so that what is measured is
// what the user gets.
#pragma once

#include "editor/core/store/SourceMemoOptions.h"

class QWidget;

namespace velmora::core
{
class TNumberHighlighter;
}

namespace velmora::widget
{
class TSourceMemo;
}

namespace velmora::app
{

// The editing options the program's editors share: caret wrap, Insert, wide overwrite
// caret, scroll bars as needed, smart tabs.
core::TSourceMemoOptions sourceEditorOptions();

// A new editor under parent, configured as the main window's, highlighting numbers with
// numbers (which must outlive it). Word wrap is off, as in the default settings.
widget::TSourceMemo *createSourceEditor(QWidget *parent, core::TNumberHighlighter &numbers);

} // namespace velmora::app
