// What the preferences window does at once: the number colour, alpha blending, the output
// options group, the virtual-drive box, the keyword list and loading a language pack; and
// the language pack applied on every show.
#include "PrefsFixture.h"

#include "editor/widget/KeywordsEditorDlg.h"
#include "editor/widget/SourceMemo.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

namespace velmora::testing
{
namespace
{

class PrefsActionsTest : public PrefsFixture
{
protected:
    QString labelText(const char *name) const { return prefsControl<QLabel>(name)->text(); }
};

TEST_F(PrefsActionsTest, ShowAppliesThePackThenShowsTheFileAndFolderTexts)
{
    writeInfoFile(QStringLiteral("LNGPAK_Rus.lng"), "[Prefs_Language]\nPrefsW.Caption=Einstellungen\n"
                                                    "Label8.Caption=from the pack\nLabel9.Caption=nothing\n"
                                                    "Restart_please=Neu starten\n");
    startWithPrefs();
    showPrefs();
    EXPECT_EQ(window->PrefsW->windowTitle(), QStringLiteral("Einstellungen"));
    EXPECT_EQ(labelText("Label8"), QStringLiteral("LNGPAK_Rus.lng"));
    EXPECT_EQ(labelText("Label9"), exeDir + QStringLiteral("TTDIR/"));
    // A key the pack lacks blanks its text.
    EXPECT_EQ(prefsControl<QPushButton>("BitBtn1")->text(), QString());
    EXPECT_EQ(window->prefsTexts.restartPlease, QStringLiteral("Neu starten"));
}

TEST_F(PrefsActionsTest, NumberColourReachesTheHighlighterAtOnceAndOnStore)
{
    startWithPrefs();
    std::vector<int> foregrounds;
    window->SetNumbersForeground = [&](int colour) { foregrounds.push_back(colour); };
    showPrefs();
    auto *box = prefsControl<app::TColorBox>("NumbersHLColor");
    box->ChooseColor = [](const QColor &) { return std::optional<QColor>(QColor(0x10, 0x20, 0x30)); };
    box->click();
    EXPECT_EQ(foregrounds, std::vector<int>{0x302010});
    // Cancelling the colour dialog changes nothing.
    box->ChooseColor = [](const QColor &) { return std::optional<QColor>(); };
    box->click();
    EXPECT_EQ(foregrounds.size(), 1u);
    prefsControl<QPushButton>("Apply")->click();
    EXPECT_EQ(foregrounds, (std::vector<int>{0x302010, 0x302010}));
    EXPECT_EQ(window->state().settings.NumbersColor, 0x302010);
}

TEST_F(PrefsActionsTest, AlphaBlendActsOnTheMainWindowAndIsNotStored)
{
    startWithPrefs();
    const app::Settings before = window->state().settings;
    showPrefs();
    auto *enable = prefsControl<QCheckBox>("CheckBox1");
    auto *track = prefsControl<QSlider>("TrackBar1");
    track->setValue(200); // no effect while blending is off
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
    enable->click();
    EXPECT_NEAR(window->windowOpacity(), 200 / 255.0, 1 / 255.0);
    track->setValue(0);
    EXPECT_NEAR(window->windowOpacity(), 0.0, 1 / 255.0);
    track->setValue(255);
    EXPECT_NEAR(window->windowOpacity(), 1.0, 1 / 255.0);
    track->setValue(64);
    enable->click();
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
    prefsControl<QPushButton>("SpeedButton2")->click();
    EXPECT_EQ(window->state().settings, before);
}

TEST_F(PrefsActionsTest, OutputDestinationEnablesTheOutputOptions)
{
    startWithPrefs();
    const auto options = [this] { return prefsControl<QGroupBox>("WhatsEditBox"); };
    for (const auto &[outdest, enabled] : {std::pair{1, false}, std::pair{0, true}, std::pair{5, false}}) {
        window->state().settings.build.outdest = outdest;
        showPrefs();
        EXPECT_EQ(options()->isEnabled(), enabled) << outdest;
        window->PrefsW->hide();
    }
    window->state().settings.build.outdest = 0;
    showPrefs();
    const QList<QRadioButton *> choices = prefsControl<QGroupBox>("OutDestination")->findChildren<QRadioButton *>();
    ASSERT_EQ(choices.size(), 2);
    choices[1]->click();
    EXPECT_FALSE(options()->isEnabled());
    choices[0]->click();
    EXPECT_TRUE(options()->isEnabled());
}

TEST_F(PrefsActionsTest, VirtualDriveBoxEnablesTheLetterAndAsksForARestart)
{
    writeInfoFile(QStringLiteral("LNGPAK_Rus.lng"), "[Prefs_Language]\nRestart_please=Restart please\n");
    startWithPrefs();
    window->state().settings.VirtDriveEnable = true;
    showPrefs();
    auto *letter = prefsControl<QLabel>("Virt_Letter");
    auto *letterEdit = prefsControl<QLineEdit>("Virt_Letter_Edit");
    EXPECT_TRUE(letter->isEnabled());
    EXPECT_TRUE(dialogs.messages.empty());

    prefsControl<QCheckBox>("VirtDriveCheck")->click();
    EXPECT_FALSE(letter->isEnabled());
    EXPECT_FALSE(letterEdit->isEnabled());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Restart please"));

    // The letter box is never read back: the letter comes from the settings file only.
    prefsControl<QCheckBox>("VirtDriveCheck")->click();
    letterEdit->setText(QStringLiteral("Q"));
    prefsControl<QPushButton>("SpeedButton2")->click();
    EXPECT_TRUE(window->state().settings.VirtDriveEnable);
    EXPECT_EQ(window->state().settings.VirtDrive, QStringLiteral("Z"));
}

TEST_F(PrefsActionsTest, DefineKeywordListEditsTheEditorListThenReHighlights)
{
    startWithPrefs();
    int reHighlights = 0;
    window->ReApplyKeywords = [&] { ++reHighlights; };
    const int keywords = window->editor->Keywords().Count();
    EXPECT_GT(keywords, 0);
    showPrefs();
    whileModal([&] { prefsControl<QPushButton>("BitBtn1")->click(); },
               [&](QWidget &modal) {
                   EXPECT_NE(dynamic_cast<widget::TKeywordsEditorDlg *>(&modal), nullptr);
                   EXPECT_EQ(reHighlights, 0);
               });
    EXPECT_EQ(reHighlights, 1);
    EXPECT_EQ(window->editor->Keywords().Count(), keywords);
}

TEST_F(PrefsActionsTest, LoadingALanguagePackKeepsOnlyItsNameAndLooksInInfo)
{
    QTemporaryDir elsewhere;
    const QByteArray pack = "[Language]\ntasm.Caption=Assembler\n[Prefs_Language]\nPrefsW.Caption=Einstellungen\n";
    QFile outside(elsewhere.filePath(QStringLiteral("fr.lng")));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.write(pack);
    outside.close();
    startWithPrefs();
    showPrefs();
    auto *tasm = component<QToolButton>("Tasm");
    const QString tasmCaption = tasm->text();

    // Cancelled: nothing changes.
    prefsControl<QPushButton>("BitBtn2")->click();
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].filter, QStringLiteral("Velmora Language modules|*.lng"));
    EXPECT_EQ(dialogs.fileRequests[0].initialDir, exeDir + QStringLiteral("info/"));
    EXPECT_EQ(window->state().settings.LNGFile, QStringLiteral("LNGPAK_Rus.lng"));

    // A pack outside "info": only its name is kept, and "info" holds no such pack.
    dialogs.files = {outside.fileName()};
    prefsControl<QPushButton>("BitBtn2")->click();
    EXPECT_EQ(window->state().settings.LNGFile, QStringLiteral("fr.lng"));
    EXPECT_EQ(window->state().LanguageFile, exeDir + QStringLiteral("info/fr.lng"));
    EXPECT_EQ(prefsControl<QLabel>("Label8")->text(), QStringLiteral("fr.lng"));
    EXPECT_EQ(tasm->text(), tasmCaption);
    EXPECT_EQ(window->PrefsW->windowTitle(), QStringLiteral("Preferences"));

    // Once "info" holds it, choosing it again applies it to both windows.
    writeInfoFile(QStringLiteral("fr.lng"), pack);
    dialogs.files = {outside.fileName()};
    prefsControl<QPushButton>("BitBtn2")->click();
    EXPECT_EQ(tasm->text(), QStringLiteral("Assembler"));
    EXPECT_EQ(window->PrefsW->windowTitle(), QStringLiteral("Einstellungen"));
    EXPECT_EQ(prefsControl<QLabel>("Label8")->text(), QStringLiteral("fr.lng"));
}

} // namespace
} // namespace velmora::testing
