#include "editor/widget/KeywordsEditorDlg.h"
#include "editor/core/keyfiles/DefaultKeywordList.h"
#include "editor/core/keyfiles/KeywordFiles.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"
#include "editor/core/text/TaggedValueReader.h"
#include "editor/core/text/TaggedValueWriter.h"
#include "editor/widget/ColorSwatch.h"
#include "support/ScriptedDialogs.h"
#include "support/SmallDisk.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using namespace velmora;
using core::KeyEntry;
using widget::TKeywordsEditorDlg;

namespace
{

const QColor kGrey(0x80, 0x80, 0x80);

template <class T> T *child(QWidget &parent, const char *name)
{
    T *widget = parent.findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        ADD_FAILURE() << "no control " << name;
    return widget;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void trigger(QWidget &dialog, const char *text)
{
    for (QAction *action : dialog.findChildren<QAction *>())
        if (action->text() == QLatin1String(text)) {
            action->trigger();
            return;
        }
    ADD_FAILURE() << "no menu item " << text;
}

bool hasMenuItem(QWidget &dialog, const char *text)
{
    const auto actions = dialog.findChildren<QAction *>();
    return std::any_of(actions.begin(), actions.end(), [&](QAction *a) { return a->text() == QLatin1String(text); });
}

// Runs `script` on the modal dialog once it is up.
void whenDialogShows(std::function<void(TKeywordsEditorDlg &)> script)
{
    QTimer::singleShot(0, [script = std::move(script)] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = dynamic_cast<TKeywordsEditorDlg *>(w); dialog && dialog->isVisible()) {
                settle();
                script(*dialog);
                return;
            }
        ADD_FAILURE() << "the dialog did not show";
    });
}

// The in-place editor of the list, once editing has started.
QLineEdit *inPlaceEditor(TKeywordsEditorDlg &dialog)
{
    return child<QTreeWidget>(dialog, "lvKeys")->findChild<QLineEdit *>();
}

class KeywordsEditor : public ::testing::Test
{
protected:
    void SetUp() override { core::fillDefaultKeywordList(keywords); }
    void TearDown() override
    {
        TKeywordsEditorDlg::SetColorChooser(nullptr);
        TKeywordsEditorDlg::SetHelpHook(nullptr);
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    velmora::testing::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    core::TKeywordList keywords;
};

} // namespace

TEST_F(KeywordsEditor, ShowsTheDefaultListAndWhatSelectedEntriesShare)
{
    TKeywordsEditorDlg dialog(keywords, true, true);
    dialog.show();
    settle();
    EXPECT_EQ(dialog.windowTitle(), "Extended Keywords editor");
    auto *list = child<QTreeWidget>(dialog, "lvKeys");
    const auto names = core::defaultKeywordNames();
    ASSERT_EQ(list->topLevelItemCount(), 161);
    for (int i = 0; i < 161; ++i)
        ASSERT_EQ(list->topLevelItem(i)->text(0).toStdString(), names[static_cast<std::size_t>(i)]);
    EXPECT_EQ(child<QLabel>(dialog, "lblSelCount")->text(), "1 of 161 selected");
    EXPECT_EQ(child<QLineEdit>(dialog, "edContext")->text(), "7");
    EXPECT_EQ(child<QCheckBox>(dialog, "cbBold")->checkState(), Qt::Checked);
    EXPECT_EQ(child<widget::ColorSwatch>(dialog, "shpForeground")->brushStyle(), Qt::SolidPattern);
    EXPECT_FALSE(child<widget::ColorSwatch>(dialog, "shpBackground")->isVisibleTo(&dialog));
    EXPECT_FALSE(child<QPushButton>(dialog, "btnClearBackground")->isVisibleTo(&dialog));

    list->selectAll();
    settle();
    EXPECT_EQ(child<QLabel>(dialog, "lblSelCount")->text(), "161 of 161 selected");
    for (const char *greyed : {"cbBold", "cbUnderline", "cbWholeWords"})
        EXPECT_EQ(child<QCheckBox>(dialog, greyed)->checkState(), Qt::PartiallyChecked) << greyed;
    for (const char *clear : {"cbMatchCase", "cbItalic", "cbStrikeOut", "cbHighlight", "cbAltFont"})
        EXPECT_EQ(child<QCheckBox>(dialog, clear)->checkState(), Qt::Unchecked) << clear;
    EXPECT_EQ(child<QLineEdit>(dialog, "edContext")->palette().color(QPalette::Text), kGrey);
    EXPECT_NE(child<QLineEdit>(dialog, "edScope")->palette().color(QPalette::Text), kGrey);
    EXPECT_EQ(child<QComboBox>(dialog, "cbPointer")->palette().color(QPalette::ButtonText), kGrey);
    EXPECT_EQ(child<QComboBox>(dialog, "cbPointer")->currentText(), "crDefault");
    EXPECT_EQ(child<widget::ColorSwatch>(dialog, "shpForeground")->brushStyle(), Qt::DiagCrossPattern);
    EXPECT_TRUE(child<QGroupBox>(dialog, "grpOptions")->isEnabled());

    list->clearSelection();
    settle();
    EXPECT_EQ(child<QLabel>(dialog, "lblSelCount")->text(), "0 of 161 selected");
    EXPECT_FALSE(child<QGroupBox>(dialog, "grpOptions")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(dialog, "btnDelete")->isEnabled());

    // The web address: its own pointer, shown by name and number.
    list->setCurrentItem(list->topLevelItem(160));
    settle();
    EXPECT_EQ(child<QComboBox>(dialog, "cbPointer")->currentText(), "crHandPoint");
    EXPECT_EQ(child<QLabel>(dialog, "lblPointer")->text(), "-21");
}

TEST_F(KeywordsEditor, OkRebuildsTheListOnlyAfterAChange)
{
    // Keywords whose reserved value only a stored list carries.
    core::TaggedValueWriter writer;
    writer.WriteListBegin();
    for (const char *name : {"mov", "add"}) {
        writer.WriteString(name);
        for (const int n : {2 | core::kOptLongForm, 1, 7, 0, -1, 5, 0, 0, 77})
            writer.WriteInteger(n);
    }
    writer.WriteListEnd();
    core::TaggedValueReader reader(writer.Bytes());
    keywords.ReadStrings(reader);

    whenDialogShows([](TKeywordsEditorDlg &d) { child<QPushButton>(d, "btnOK")->click(); });
    EXPECT_FALSE(widget::EditKeywordList(keywords, true, true));
    EXPECT_EQ(keywords.Item(1).Reserved, 77);

    whenDialogShows([](TKeywordsEditorDlg &d) {
        child<QCheckBox>(d, "cbItalic")->click();
        child<QPushButton>(d, "btnCancel")->click();
    });
    EXPECT_FALSE(widget::EditKeywordList(keywords, true, true));
    EXPECT_EQ(keywords.Item(0).KeyStyle, core::kStyleBold);

    whenDialogShows([](TKeywordsEditorDlg &d) {
        child<QCheckBox>(d, "cbItalic")->click();
        child<QPushButton>(d, "btnOK")->click();
    });
    EXPECT_TRUE(widget::EditKeywordList(keywords, true, true));
    ASSERT_EQ(keywords.Count(), 2);
    EXPECT_EQ(keywords.Item(0).KeyStyle, core::kStyleBold | core::kStyleItalic);
    EXPECT_EQ(keywords.Item(1).KeyStyle, core::kStyleBold);
    EXPECT_EQ(keywords.Item(1).Reserved, 0);
    EXPECT_EQ(keywords.Item(1).Foreground, 5);
}

TEST_F(KeywordsEditor, ClicksApplyToEverySelectedEntryExceptGreyedBits)
{
    TKeywordsEditorDlg dialog(keywords, true, true);
    dialog.show();
    settle();
    child<QTreeWidget>(dialog, "lvKeys")->selectAll();
    settle();
    auto *bold = child<QCheckBox>(dialog, "cbBold");
    bold->click();
    EXPECT_EQ(bold->checkState(), Qt::Checked);
    const auto &entries = dialog.Entries();
    EXPECT_TRUE(std::all_of(entries.begin(), entries.end(),
                            [](const KeyEntry &e) { return e.Attributes.KeyStyle & core::kStyleBold; }));
    // Whole words stayed greyed: each entry keeps its own bit.
    EXPECT_EQ(entries[0].Attributes.KeyOptions, core::kOptWholeWords);
    EXPECT_EQ(entries[160].Attributes.KeyOptions, 0);
    // Another click clears bold everywhere; the box no longer passes through the third state.
    bold->click();
    EXPECT_EQ(bold->checkState(), Qt::Unchecked);
    EXPECT_EQ(entries[5].Attributes.KeyStyle, 0);
    EXPECT_EQ(entries[160].Attributes.KeyStyle, core::kStyleUnderline);

    child<QTreeWidget>(dialog, "lvKeys")->setCurrentItem(child<QTreeWidget>(dialog, "lvKeys")->topLevelItem(3));
    settle();
    for (QRadioButton *radio : dialog.findChildren<QRadioButton *>())
        if (radio->text() == "Start of paragraph")
            radio->click();
    EXPECT_EQ(entries[3].Attributes.KeyOptions, core::kOptWholeWords | core::kOptParagraphStart);
    EXPECT_EQ(entries[4].Attributes.KeyOptions, core::kOptWholeWords);

    auto *pointer = child<QComboBox>(dialog, "cbPointer");
    const int hand = pointer->findText("crHandPoint");
    pointer->setCurrentIndex(hand);
    emit pointer->activated(hand);
    EXPECT_EQ(entries[3].Attributes.Cursor, -21);
    EXPECT_EQ(child<QLabel>(dialog, "lblPointer")->text(), "-21");
    EXPECT_TRUE(dialog.Modified());
}

TEST_F(KeywordsEditor, ColoursComeFromTheChooserAndClear)
{
    QColor offered;
    bool answer = false;
    TKeywordsEditorDlg::SetColorChooser([&](const QColor &initial) -> std::optional<QColor> {
        offered = initial;
        return answer ? std::optional(QColor(255, 0, 0)) : std::nullopt;
    });
    TKeywordsEditorDlg dialog(keywords, false, true);
    dialog.show();
    settle();
    child<QPushButton>(dialog, "btnForeground")->click();
    EXPECT_EQ(offered, QColor(0xF5, 0xF5, 0xF5));
    EXPECT_FALSE(dialog.Modified()); // cancelled
    child<QPushButton>(dialog, "btnBackground")->click();
    EXPECT_EQ(offered, QColor(Qt::black)); // no swatch: black

    answer = true;
    child<QPushButton>(dialog, "btnBackground")->click();
    EXPECT_EQ(dialog.Entries()[0].Attributes.Background, 0x0000FF);
    EXPECT_TRUE(child<widget::ColorSwatch>(dialog, "shpBackground")->isVisible());
    EXPECT_TRUE(child<QPushButton>(dialog, "btnClearBackground")->isVisible());

    child<QPushButton>(dialog, "btnClearForeground")->click();
    EXPECT_EQ(dialog.Entries()[0].Attributes.Foreground, -1);
    EXPECT_EQ(dialog.Entries()[1].Attributes.Foreground, 0xF5F5F5);
    EXPECT_FALSE(child<widget::ColorSwatch>(dialog, "shpForeground")->isVisible());
    EXPECT_FALSE(child<QPushButton>(dialog, "btnClearForeground")->isVisible());
}

TEST_F(KeywordsEditor, NumberEditsStoreSixteenBitValuesOrKeepTheFocus)
{
    TKeywordsEditorDlg dialog(keywords, true, true);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    settle();
    auto *list = child<QTreeWidget>(dialog, "lvKeys");
    auto *context = child<QLineEdit>(dialog, "edContext");

    context->setFocus();
    context->selectAll();
    QTest::keyClicks(context, "7x");
    list->setFocus();
    settle();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "'7x' is not a valid integer value");
    EXPECT_EQ(QApplication::focusWidget(), context);
    EXPECT_EQ(dialog.Entries()[0].Attributes.ContextNum, 7);
    EXPECT_FALSE(dialog.Modified());

    // OK does not close over a bad number either.
    dialog.accept();
    settle();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialogs.messages.size(), 2u);

    context->selectAll();
    QTest::keyClicks(context, "70000");
    list->setFocus();
    settle();
    EXPECT_EQ(dialog.Entries()[0].Attributes.ContextNum, 4464);
    EXPECT_EQ(dialog.Entries()[1].Attributes.ContextNum, 7);

    auto *priority = child<QLineEdit>(dialog, "edPriority");
    priority->setFocus();
    priority->selectAll();
    QTest::keyClicks(priority, "-40000");
    dialog.accept(); // stored on the way out
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Entries()[0].Priority, 25536);
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(KeywordsEditor, AddedKeywordNamedInPlaceHasContextNumberOne)
{
    TKeywordsEditorDlg dialog(keywords, false, true);
    dialog.show();
    settle();
    child<QPushButton>(dialog, "btnAdd")->click();
    QLineEdit *editor = inPlaceEditor(dialog);
    ASSERT_NE(editor, nullptr);
    editor->setText("NEWKEY");
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    ASSERT_TRUE(dialog.Modified());
    ASSERT_TRUE(dialog.ApplyEntries());
    ASSERT_EQ(keywords.Count(), 162);
    const core::TKeyInfoLen &added = keywords.Item(161);
    EXPECT_EQ(added.Keyword, "NEWKEY");
    EXPECT_EQ(added.ContextNum, 1);
    EXPECT_EQ(added.KeyStyle, 0);
    EXPECT_EQ(added.Foreground, -1);
    EXPECT_EQ(added.Background, -1);
}

TEST_F(KeywordsEditor, InsertDeleteAndUnnamedItems)
{
    TKeywordsEditorDlg dialog(keywords, false, true);
    dialog.show();
    settle();
    auto *list = child<QTreeWidget>(dialog, "lvKeys");
    list->setCurrentItem(list->topLevelItem(5));
    child<QPushButton>(dialog, "btnInsert")->click();
    ASSERT_EQ(list->topLevelItemCount(), 162);
    EXPECT_EQ(dialog.Entries()[5], core::freshKeyEntry());
    EXPECT_EQ(dialog.Entries()[6].Text, "AAM");
    QLineEdit *editor = inPlaceEditor(dialog);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(dialog.Modified()); // an item left unnamed changes nothing
    EXPECT_FALSE(dialog.ApplyEntries());

    list->clearSelection();
    for (const int row : {0, 1, 2})
        list->topLevelItem(row)->setSelected(true);
    settle();
    child<QPushButton>(dialog, "btnDelete")->click();
    EXPECT_EQ(list->topLevelItemCount(), 159);
    EXPECT_EQ(dialog.Entries().size(), 159u);
    EXPECT_EQ(dialog.Entries()[0].Text, "AAS");
    EXPECT_EQ(list->topLevelItem(0)->text(0), "AAS");
    EXPECT_FALSE(child<QPushButton>(dialog, "btnDelete")->isEnabled());
    ASSERT_TRUE(dialog.ApplyEntries());
    // The unnamed item holds no text and is left out of the list.
    EXPECT_EQ(keywords.Count(), 158);
    EXPECT_EQ(keywords.Get(2), "AAM");
    EXPECT_EQ(keywords.Get(3), "ADC");
}

TEST_F(KeywordsEditor, ReadOnlyEditingKeepsTextsAndLoadsAway)
{
    TKeywordsEditorDlg dialog(keywords, false, false);
    dialog.show();
    settle();
    EXPECT_EQ(dialog.windowTitle(), "Keywords editor");
    for (const char *name : {"btnInsert", "btnAdd", "btnDelete"})
        EXPECT_FALSE(child<QPushButton>(dialog, name)->isEnabled()) << name;
    for (const char *name : {"cbMatchCase", "cbWholeWords"})
        EXPECT_FALSE(child<QCheckBox>(dialog, name)->isEnabled()) << name;
    EXPECT_TRUE(child<QCheckBox>(dialog, "cbBold")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(dialog, "edContext")->isEnabled());
    EXPECT_FALSE(child<QWidget>(dialog, "pnlExtended")->isVisibleTo(&dialog));
    EXPECT_FALSE(hasMenuItem(dialog, "&Load list (text)..."));
    EXPECT_TRUE(hasMenuItem(dialog, "Save list (text)..."));
    auto *list = child<QTreeWidget>(dialog, "lvKeys");
    QTest::keyClick(list, Qt::Key_F2);
    settle();
    EXPECT_EQ(inPlaceEditor(dialog), nullptr);
}

TEST_F(KeywordsEditor, StartStopKeysAreEditedThroughPrompts)
{
    core::TStartStopKeyList keys;
    TKeywordsEditorDlg dialog(keys, true, true);
    dialog.show();
    settle();
    EXPECT_TRUE(child<QCheckBox>(dialog, "cbCrossParagraphs")->isVisibleTo(&dialog));
    dialogs.inputs = {QString("/*"), QString("*/")};
    child<QPushButton>(dialog, "btnAdd")->click();
    EXPECT_EQ(dialogs.inputPrompts, (std::vector<QString>{"Start-Stop key Editor|Enter the new start key",
                                                          "Start-Stop key Editor|Enter the new stop key"}));
    auto *list = child<QTreeWidget>(dialog, "lvKeys");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "*/");
    EXPECT_TRUE(dialog.Modified());

    // F2 asks again; Cancel on the start key skips the stop key.
    dialogs.inputs = {std::nullopt};
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_EQ(dialogs.inputPrompts.size(), 3u);
    EXPECT_EQ(inPlaceEditor(dialog), nullptr);

    settle();
    child<QCheckBox>(dialog, "cbCrossParagraphs")->click(); // unchecked: the span ends with its paragraph
    child<QCheckBox>(dialog, "cbCollapsible")->click();
    ASSERT_TRUE(dialog.ApplyEntries());
    ASSERT_EQ(keys.Count(), 1);
    EXPECT_EQ(keys.Item(0).StartKey, "/*");
    EXPECT_EQ(keys.Item(0).StopKey, "*/");
    EXPECT_EQ(keys.Item(0).KeyFlags, core::kKeyStaysInParagraph | core::kKeyCollapsible);
    EXPECT_EQ(keys.Item(0).ContextNum, 1);
}

TEST_F(KeywordsEditor, EveryFileFormRoundTripsThroughTheDialog)
{
    keywords.SetScopeAndPriority(3, 11, -2);
    TKeywordsEditorDlg source(keywords, true, true);
    struct Form {
        const char *save, *load, *file;
        bool attributes, scope;
    };
    for (const Form &form :
         {Form{"Save list (text)...", "&Load list (text)...", "plain.txt", false, false},
          Form{"Save list and attributes (text)...", "Load list and attributes (text)...", "attr.ini", true, false},
          Form{"Save list and attributes (binary)...", "Load list and attributes (binary)...", "keys.kbn", true,
               true}}) {
        dialogs.files = {path(form.file), path(form.file)};
        trigger(source, form.save);
        core::TKeywordList empty;
        TKeywordsEditorDlg target(empty, true, true);
        trigger(target, form.load);
        EXPECT_TRUE(dialogs.messages.empty()) << form.file;
        ASSERT_EQ(target.Entries().size(), 161u) << form.file;
        EXPECT_TRUE(target.Modified());
        for (std::size_t i = 0; i < 161; ++i) {
            KeyEntry expected = source.Entries()[i];
            if (!form.attributes)
                expected = core::freshKeyEntry(expected.Text);
            if (!form.scope)
                expected.Scope = expected.Priority = 0; // the plain keyword list reads no scope
            ASSERT_EQ(target.Entries()[i], expected) << form.file << " " << i;
        }
    }
    ASSERT_EQ(dialogs.fileRequests.size(), 6u);
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Ini files (*.ini)|*.ini|Text files (*.txt)|*.txt|All files|*.*");
    EXPECT_EQ(dialogs.fileRequests[4].filter, "Binary files (*.kbn)|*.kbn|All files|*.*");
}

TEST_F(KeywordsEditor, BadFilesFailAndLeaveTheEntries)
{
    {
        QFile file(path("keywords.kbn"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(core::kbnBytes(keywords)));
    }
    core::TStartStopKeyList keys;
    keys.AddKey("<", ">", 0, 0, 1, 0, -1, -1, false);
    TKeywordsEditorDlg startStop(keys, true, true);
    dialogs.files = {path("keywords.kbn")};
    trigger(startStop, "Load list and attributes (binary)...");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "File does not contain valid start-stop list");
    EXPECT_EQ(startStop.Entries().size(), 1u);
    EXPECT_FALSE(startStop.Modified());

    core::TKeywordList two;
    two.AddKeyword("one", 0, 0, 1, 0, -1, -1);
    two.AddKeyword("two", 0, 0, 1, 0, -1, -1);
    TKeywordsEditorDlg dialog(two, true, true);
    const std::string bytes = core::kbnBytes(keywords);
    std::ofstream(path("cut.kbn").toStdString(), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    std::ofstream(path("bad.ini").toStdString()) << "[Keywords]\nmov=2,1,7,0,-1,-1,0,0,\nadd=2,x\n";
    dialogs.files = {path("cut.kbn"), path("bad.ini"), path("missing.txt")};
    trigger(dialog, "Load list and attributes (binary)...");
    trigger(dialog, "Load list and attributes (text)...");
    trigger(dialog, "&Load list (text)...");
    ASSERT_EQ(dialogs.messages.size(), 4u);
    EXPECT_EQ(dialogs.messages[2].text, "'x' is not a valid decimal integer");
    EXPECT_TRUE(dialogs.messages[3].text.startsWith("Cannot open file"));
    for (const auto &shown : dialogs.messages)
        EXPECT_EQ(shown.kind, platform::MessageKind::Error);
    EXPECT_EQ(dialog.Entries().size(), 2u);
    EXPECT_FALSE(dialog.Modified());
}

TEST_F(KeywordsEditor, HelpAsksTheApplicationForTheEditorsTopic)
{
    TKeywordsEditorDlg dialog(keywords, false, true);
    child<QPushButton>(dialog, "btnHelp")->click(); // no help installed: nothing happens
    QStringList asked;
    TKeywordsEditorDlg::SetHelpHook([&](const QString &keyword) { asked << keyword; });
    child<QPushButton>(dialog, "btnHelp")->click();
    EXPECT_EQ(asked, QStringList{"Keywords editor"});
}

// On a full disk every file form fails with the cause named and leaves the old file whole.
TEST_F(KeywordsEditor, SavesOnAFullDiskLeaveTheOldFilesAndSaySo)
{
    velmora::testing::SmallDisk disk(dir.path(), 64);
    if (!disk.mounted())
        GTEST_SKIP() << "a small tmpfs cannot be mounted here";
    const QByteArray old = "old keywords\r\n";
    for (const char *name : {"plain.txt", "attr.ini", "keys.kbn"}) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    disk.fill();
    TKeywordsEditorDlg source(keywords, true, true);
    for (const auto &[save, name] :
         {std::pair{"Save list (text)...", "plain.txt"}, std::pair{"Save list and attributes (text)...", "attr.ini"},
          std::pair{"Save list and attributes (binary)...", "keys.kbn"}}) {
        dialogs.files = {path(name)};
        dialogs.messages.clear();
        trigger(source, save);
        ASSERT_EQ(dialogs.messages.size(), 1u) << name;
        EXPECT_EQ(dialogs.messages[0].text,
                  QStringLiteral("Cannot write file \"%1\". No space left on device").arg(path(name)));
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), old) << name;
    }
}
