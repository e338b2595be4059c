// The preferences window and the settings: show and store, OK, Apply, Cancel and the reset
// of all settings.
#include "PrefsFixture.h"
#include "editor/widget/SourceMemo.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <vector>

namespace velmora::testing
{
namespace
{

using app::Settings;

// Settings unlike the defaults in every field, with values a control could not show
// (a system colour, choices past the last item).
Settings unusualSettings()
{
    Settings s;
    s.oEnableHL = false;
    s.def_templ = false;
    s.build.Auto_Change_Page = false;
    s.BF = true;
    s.WW = true;
    s.bc = 0x123456;
    s.fc = int(0x8000000Du); // the system highlight colour
    s.opt = {true, false, true, false, true, false, true, false, true};
    s.build.outdest = 3;
    s.build.outTasm = false;
    s.build.outTlink = true;
    s.build.outRun = false;
    s.FontName = QStringLiteral("Some Font");
    s.FontSize = 0;
    s.CopyToTTDIR = false;
    s.WhatControls = 7;
    s.NumbersColor = 0x00FF00;
    s.oNumbersHL = false;
    s.build.TasmFile = QStringLiteral("t.exe");
    s.build.TLinkFile = QStringLiteral("l.exe");
    s.build.TDFile = QStringLiteral("d.exe");
    s.build.toolChain = toolchain::Chain::DosTools;
    s.VirtDriveEnable = true;
    return s;
}

class PrefsSettingsTest : public PrefsFixture
{
protected:
    QPushButton *button(const char *name) const { return prefsControl<QPushButton>(name); }
    QRadioButton *choice(const char *group, int index) const
    {
        return prefsControl<QWidget>(group)->findChildren<QRadioButton *>().at(index);
    }
};

TEST_F(PrefsSettingsTest, ShowThenOkOrApplyWithNothingChangedKeepsEverySetting)
{
    for (const Settings &before : {Settings{}, unusualSettings()}) {
        startWithPrefs();
        window->state().settings = before;
        showPrefs();
        button("Apply")->click();
        EXPECT_EQ(window->state().settings, before);
        EXPECT_TRUE(window->PrefsW->isVisible());
        button("SpeedButton2")->click();
        EXPECT_EQ(window->state().settings, before);
        EXPECT_FALSE(window->PrefsW->isVisible());
    }
}

TEST_F(PrefsSettingsTest, EachControlMovesItsOwnSetting)
{
    struct Row {
        const char *control;
        std::function<void()> change;
        std::function<void(Settings &)> expect;
    };
    const auto toggle = [this](const char *name) { return [this, name] { prefsControl<QCheckBox>(name)->toggle(); }; };
    const auto pickColour = [this](const char *name, QColor colour) {
        return [this, name, colour] {
            auto *box = prefsControl<app::TColorBox>(name);
            box->ChooseColor = [colour](const QColor &) { return std::optional<QColor>(colour); };
            box->click();
        };
    };
    const auto type = [this](const char *name, const char *text) {
        return [this, name, text] { prefsControl<QLineEdit>(name)->setText(QString::fromLatin1(text)); };
    };
    const auto pick = [this](const char *group, int index) {
        return [this, group, index] { choice(group, index)->click(); };
    };
    const std::vector<Row> rows = {
        {"Bold", toggle("Bold"), [](Settings &s) { s.BF = !s.BF; }},
        {"Wrap", toggle("Wrap"), [](Settings &s) { s.WW = !s.WW; }},
        {"ColorBox1", pickColour("ColorBox1", QColor(1, 2, 3)), [](Settings &s) { s.bc = 0x030201; }},
        {"ColorBox2", pickColour("ColorBox2", QColor(255, 0, 0)), [](Settings &s) { s.fc = 0x0000FF; }},
        {"CheckBox3", toggle("CheckBox3"), [](Settings &s) { s.opt[0] = !s.opt[0]; }},
        {"CheckBox4", toggle("CheckBox4"), [](Settings &s) { s.opt[1] = !s.opt[1]; }},
        {"CheckBox5", toggle("CheckBox5"), [](Settings &s) { s.opt[2] = !s.opt[2]; }},
        {"CheckBox11", toggle("CheckBox11"), [](Settings &s) { s.opt[8] = !s.opt[8]; }},
        {"OutDestination", pick("OutDestination", 1), [](Settings &s) { s.build.outdest = 1; }},
        {"CheckBox12", toggle("CheckBox12"), [](Settings &s) { s.build.outTasm = !s.build.outTasm; }},
        {"CheckBox13", toggle("CheckBox13"), [](Settings &s) { s.build.outTlink = !s.build.outTlink; }},
        {"CheckBox14", toggle("CheckBox14"), [](Settings &s) { s.build.outRun = !s.build.outRun; }},
        {"CAutoChangePage", toggle("CAutoChangePage"),
         [](Settings &s) { s.build.Auto_Change_Page = !s.build.Auto_Change_Page; }},
        {"SpeedButton1",
         [this] {
             QFont font(QStringLiteral("Liberation Mono"));
             font.setPointSize(17);
             window->PrefsW->ChooseFont = [font](const QFont &) { return std::optional<QFont>(font); };
             button("SpeedButton1")->click();
         },
         [](Settings &s) {
             s.FontName = QStringLiteral("Liberation Mono");
             s.FontSize = 17;
         }},
        {"NumbersHLColor", pickColour("NumbersHLColor", QColor(0, 0, 255)),
         [](Settings &s) { s.NumbersColor = 0xFF0000; }},
        {"NumbersHL", toggle("NumbersHL"), [](Settings &s) { s.oNumbersHL = !s.oNumbersHL; }},
        {"EnableHL", toggle("EnableHL"), [](Settings &s) { s.oEnableHL = !s.oEnableHL; }},
        {"whatctrl", pick("whatctrl", 1), [](Settings &s) { s.WhatControls = 1; }},
        {"copytott", toggle("copytott"), [](Settings &s) { s.CopyToTTDIR = !s.CopyToTTDIR; }},
        {"StartLoad", pick("StartLoad", 1), [](Settings &s) { s.def_templ = false; }},
        {"Edit1", type("Edit1", "my tasm.exe"), [](Settings &s) { s.build.TasmFile = QStringLiteral("my tasm.exe"); }},
        {"Edit2", type("Edit2", "tl.exe"), [](Settings &s) { s.build.TLinkFile = QStringLiteral("tl.exe"); }},
        {"Edit3", type("Edit3", ""), [](Settings &s) { s.build.TDFile.clear(); }},
        {"VirtDriveCheck", toggle("VirtDriveCheck"), [](Settings &s) { s.VirtDriveEnable = !s.VirtDriveEnable; }},
        {"ToolChain", pick("ToolChain", 0), [](Settings &s) { s.build.toolChain = toolchain::Chain::DosTools; }},
    };
    startWithPrefs();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.control);
        const Settings before = window->state().settings;
        showPrefs();
        row.change();
        Settings expected = before;
        row.expect(expected);
        button("Apply")->click();
        EXPECT_EQ(window->state().settings, expected);
        window->PrefsW->hide();
        // A second show brings the stored value back into the control.
        showPrefs();
        button("SpeedButton2")->click();
        EXPECT_EQ(window->state().settings, expected);
    }
}

TEST_F(PrefsSettingsTest, CancelKeepsStoredFontWhileTheEditorKeepsTheChosenOne)
{
    startWithPrefs();
    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPointSize(21);
    std::optional<QFont> offered;
    window->PrefsW->ChooseFont = [&](const QFont &initial) {
        offered = initial;
        return std::optional<QFont>(chosen);
    };
    const Settings before = window->state().settings;
    // apply runs after the window closes: it hides the tool bar again for WhatControls 0.
    window->state().settings.WhatControls = 0;
    window->apply();
    component<QWidget>("Panel1")->show();

    whileModal([&] { window->PrefsClick(); },
               [&](QWidget &) {
                   button("SpeedButton1")->click();
                   button("Cancel")->click();
               });

    ASSERT_TRUE(offered.has_value());
    EXPECT_EQ(offered->family(), before.FontName);
    EXPECT_EQ(offered->pointSize(), before.FontSize);
    EXPECT_EQ(window->editor->font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(window->editor->font().pointSize(), 21);
    EXPECT_EQ(window->state().settings.FontName, before.FontName);
    EXPECT_EQ(window->state().settings.FontSize, before.FontSize);
    EXPECT_TRUE(component<QWidget>("Panel1")->isHidden());
}

TEST_F(PrefsSettingsTest, ResetAllSettingsDeletesTheFileAndExitWritesTheDefaults)
{
    writeIni("[Config]\nbc=255\nWhatControls=1\nLastF=/tmp/old.asm\n[Font]\nName=Courier\n");
    writeInfoFile(QStringLiteral("LNGPAK_Rus.lng"), "[Prefs_Language]\nReset_sett=Reset everything?\n");
    startWithPrefs();
    ASSERT_EQ(window->state().settings.bc, 255);

    // Cancel in the question keeps everything.
    showPrefs();
    dialogs.answers = {platform::Answer::Cancel};
    button("SpeedButton3")->click();
    EXPECT_EQ(window->state().settings.bc, 255);
    EXPECT_TRUE(QFileInfo::exists(iniPath()));
    EXPECT_TRUE(window->PrefsW->isVisible());

    dialogs.answers = {platform::Answer::Ok};
    button("SpeedButton3")->click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("Reset everything?"));
    EXPECT_FALSE(QFileInfo::exists(iniPath()));
    EXPECT_EQ(window->state().settings, Settings{});
    EXPECT_TRUE(window->state().LastFile.isEmpty());
    EXPECT_FALSE(window->PrefsW->isVisible());

    window->close();
    const QString written = readIni();
    EXPECT_TRUE(written.contains(QStringLiteral("bc=0")));
    EXPECT_TRUE(written.contains(QStringLiteral("whatControls=2")));
    EXPECT_TRUE(written.contains(QStringLiteral("Name=Verdana")));
    EXPECT_TRUE(written.contains(QStringLiteral("velm_version=3.5f")));
}

} // namespace
} // namespace velmora::testing
