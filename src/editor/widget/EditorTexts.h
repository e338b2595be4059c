// The texts the editor component shows: its popup menu and the keyword list editor. The
// English texts are the defaults; the application replaces them with its language's.
#pragma once

#include <QString>

namespace velmora::widget
{

struct PopupTexts {
    QString undo = QStringLiteral("&Undo");
    QString redo = QStringLiteral("&Redo");
    QString cut = QStringLiteral("Cu&t");
    QString copy = QStringLiteral("&Copy");
    QString paste = QStringLiteral("&Paste");
    QString selectAll = QStringLiteral("&Select all");

    bool operator==(const PopupTexts &) const = default;
};

struct KeywordsEditorTexts {
    QString title = QStringLiteral("Keywords editor");
    QString extendedTitle = QStringLiteral("Extended Keywords editor");
    QString fileMenu = QStringLiteral("&File");
    QString loadPlainItem = QStringLiteral("&Load list (text)...");
    QString loadAttributesItem = QStringLiteral("Load list and attributes (text)...");
    QString loadBinaryItem = QStringLiteral("Load list and attributes (binary)...");
    QString savePlainItem = QStringLiteral("Save list (text)...");
    QString saveAttributesItem = QStringLiteral("Save list and attributes (text)...");
    QString saveBinaryItem = QStringLiteral("Save list and attributes (binary)...");
    QString loadListTitle = QStringLiteral("Load list");
    QString loadAttributesTitle = QStringLiteral("Load list and attributes");
    QString saveListTitle = QStringLiteral("Save list");
    QString saveAttributesTitle = QStringLiteral("Save list and attributes");
    QString textFilter = QStringLiteral("Ini files (*.ini)|*.ini|Text files (*.txt)|*.txt|All files|*.*");
    QString binaryFilter = QStringLiteral("Binary files (*.kbn)|*.kbn|All files|*.*");
    QString startColumn = QStringLiteral("Start");
    QString stopColumn = QStringLiteral("Stop");
    QString editHint = QStringLiteral("Click on a selected item to edit it, or press F2 to edit the focused one");
    // %1 the selected entries, %2 all entries.
    QString selectedCount = QStringLiteral("%1 of %2 selected");
    QString optionsGroup = QStringLiteral("Options for selected keywords");
    QString matchCase = QStringLiteral(" &Match case");
    QString wholeWords = QStringLiteral(" &Whole words only");
    QString crossParagraphs = QStringLiteral("&Cross paragraphs");
    QString bold = QStringLiteral(" &Bold");
    QString italic = QStringLiteral(" &Italic");
    QString underline = QStringLiteral(" &Underline");
    QString strikeOut = QStringLiteral(" &Strike out");
    QString highlight = QStringLiteral(" &Highlight");
    QString altFont = QStringLiteral(" &Alternate font");
    QString foreground = QStringLiteral("For&eground...");
    QString background = QStringLiteral("Back&ground...");
    QString clear = QStringLiteral("Clear");
    QString contextNumber = QStringLiteral("Context &number");
    QString mousePointer = QStringLiteral("Mouse &pointer");
    QString scope = QStringLiteral("S&cope");
    QString priority = QStringLiteral("Priority &level");
    QString positional = QStringLiteral("Positional dependency");
    QString positionNone = QStringLiteral("None");
    QString positionFirstWord = QStringLiteral("First word of paragraph");
    QString positionFirstItem = QStringLiteral("First non blank item");
    QString positionParagraphStart = QStringLiteral("Start of paragraph");
    QString endAtDelimiter = QStringLiteral("End at delimiter");
    QString collapsible = QStringLiteral("Collapsible");
    QString ok = QStringLiteral("OK");
    QString cancel = QStringLiteral("Cancel");
    QString insert = QStringLiteral("&Insert");
    QString add = QStringLiteral("&Add");
    QString remove = QStringLiteral("&Delete");
    QString help = QStringLiteral("&Help");
    QString startStopCaption = QStringLiteral("Start-Stop key Editor");
    QString newStartKey = QStringLiteral("Enter the new start key");
    QString newStopKey = QStringLiteral("Enter the new stop key");
    // %1 the text typed.
    QString notInteger = QStringLiteral("'%1' is not a valid integer value");

    bool operator==(const KeywordsEditorTexts &) const = default;
};

struct EditorTexts {
    PopupTexts popup;
    KeywordsEditorTexts keywords;

    bool operator==(const EditorTexts &) const = default;
};

const EditorTexts &editorTexts();
void setEditorTexts(const EditorTexts &texts);

} // namespace velmora::widget
