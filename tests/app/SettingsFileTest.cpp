#include "AppFixture.h"

#include <QAction>
#include <QDir>

namespace velmora::testing
{
namespace
{

using SettingsFileTest = AppFixture;

// The lines of a settings file; blank lines between sections do not count.
QStringList lines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString defaultFile(const QString &toolsDir)
{
    return QStringLiteral("[Font]\nSize=10\nName=Verdana\n\n[Config]\nTTDir=") + toolsDir +
           QStringLiteral("\nLastF=\nvelm_caption=Velmora\nvelm_version=3.5f\nauto_Change_Page=1\nbf=0\nww=0\n"
                          "bc=0\nfc=12639424\ndef_templ=1\nopt1=0\nopt2=0\nopt3=0\nopt4=0\nopt5=0\nopt6=0\nopt7=0\n"
                          "opt8=0\nopt9=0\noutdest=0\noutTasm=1\noutTlink=1\noutRun=1\nCopyToTTDIR=1\n"
                          "whatControls=2\nTasmFile=tasm.exe\nTLinkFile=tLink.exe\nTDFile=TD.exe\n"
                          "ToolChain=1\nLNGFile=LNGPAK_Rus.lng\nVirtDrive=Z\nVirtDriveEnable=0\nCharset=Windows-"
                          "1251\n\n[HighLight]"
                          "\noEnableHL=1\n"
                          "oNumbersHL=1\nNumbersColor=15780518\n\n[Window]\nLeft=111\nTop=61\nWidth=628\nHeight=455\n"
                          "Maximized=0\n");
}

TEST_F(SettingsFileTest, FirstStartUsesDefaultsAndClosingWritesEveryKeyInOrder)
{
    auto &w = start();
    EXPECT_EQ(w.state().settings, app::Settings{});
    EXPECT_EQ(w.settingsFilePath(), iniPath());
    EXPECT_EQ(w.state().ToolsDir, (exeDir + QStringLiteral("TTDIR")).toLower());
    EXPECT_EQ(w.state().toolsFolder(), exeDir + QStringLiteral("TTDIR"))
        << "the tools folder is found whatever its case";
    EXPECT_EQ(w.state().LanguageFile, exeDir + QStringLiteral("info/LNGPAK_Rus.lng"));
    EXPECT_FALSE(QFile::exists(iniPath())) << "nothing is written before the window closes";

    w.close();
    EXPECT_EQ(lines(readIni()), lines(defaultFile(exeDir.toLower() + QStringLiteral("ttdir"))));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsFileTest, EveryValueSurvivesARoundTrip)
{
    writeIni("[highlight]\noEnableHL=0\nnumberscolor=255\noNumbersHL=0\n"
             "[config]\ndef_templ=0\nvelm_caption=Studio\nAuto_Change_Page=0\nLastF=/src/prog.asm\nBF=1\nWW=1\n"
             "bc=16777215\nfc=65280\nopt1=1\nopt2=1\nopt5=1\nopt9=1\noutdest=1\nouttasm=0\nouttlink=0\noutrun=0\n"
             "CopyToTTDIR=0\nwhatcontrols=1\nTasmFile=TASM32.EXE\nTLinkFile=tl.exe\nTDFile=td32.exe\n"
             "LNGFile=eng.lng\nVirtDriveEnable=1\nVirtDrive=Y\n"
             "[FONT]\nname=Liberation Mono\nsize=14\n");
    app::Settings expected;
    expected.oEnableHL = false;
    expected.NumbersColor = 255;
    expected.oNumbersHL = false;
    expected.def_templ = false;
    expected.velm_caption = QStringLiteral("Studio");
    expected.build.Auto_Change_Page = false;
    expected.BF = true;
    expected.WW = true;
    expected.bc = 16777215;
    expected.fc = 65280;
    expected.opt = {true, true, false, false, true, false, false, false, true};
    expected.build.outdest = 1;
    expected.build.outTasm = expected.build.outTlink = expected.build.outRun = false;
    expected.CopyToTTDIR = false;
    expected.WhatControls = 1;
    expected.build.TasmFile = QStringLiteral("TASM32.EXE");
    expected.build.TLinkFile = QStringLiteral("tl.exe");
    expected.build.TDFile = QStringLiteral("td32.exe");
    expected.LNGFile = QStringLiteral("eng.lng");
    expected.VirtDriveEnable = true;
    expected.VirtDrive = QStringLiteral("Y");
    expected.FontName = QStringLiteral("Liberation Mono");
    expected.FontSize = 14;

    auto &first = start();
    EXPECT_EQ(first.state().settings, expected);
    EXPECT_EQ(first.state().LastFile, QStringLiteral("/src/prog.asm"));
    EXPECT_EQ(first.state().LanguageFile, exeDir + QStringLiteral("info/eng.lng"));
    first.close();

    const QString written = readIni();
    for (const char *line :
         {"[config]", "BF=1", "whatcontrols=1", "LastF=/src/prog.asm", "VirtDrive=Y", "[FONT]", "name=Liberation Mono"})
        EXPECT_TRUE(written.contains(QString::fromLatin1(line))) << line << " in\n" << written.toStdString();
    EXPECT_EQ(written.count(QStringLiteral("\nbf="), Qt::CaseInsensitive), 1)
        << "a key spelled otherwise is rewritten, not doubled";

    auto &second = start();
    EXPECT_EQ(second.state().settings, expected);
    EXPECT_EQ(second.state().LastFile, QStringLiteral("/src/prog.asm"));
}

TEST_F(SettingsFileTest, ColourInASectionSpelledInCapitalsIsFoundAndStaysFound)
{
    writeIni("[CONFIG]\nBC=255\n");
    auto &w = start();
    EXPECT_EQ(w.state().settings.bc, 255);
    w.close();
    EXPECT_EQ(start().state().settings.bc, 255);
    EXPECT_EQ(readIni().count(QStringLiteral("[CONFIG]"), Qt::CaseInsensitive), 1);
}

TEST_F(SettingsFileTest, VersionReadShowsInCaptionButIsWrittenBackAsProgramVersion)
{
    writeIni("[Config]\nvelm_version=9.9\n");
    auto &w = start();
    EXPECT_EQ(w.state().CaptionBase, QStringLiteral("Velmora 9.9"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Untitled - Velmora 9.9"));
    w.close();
    EXPECT_TRUE(readIni().contains(QStringLiteral("velm_version=3.5f\n")));
    EXPECT_FALSE(readIni().contains(QStringLiteral("9.9")));
}

TEST_F(SettingsFileTest, UnwritableSettingsFileIsReportedAndTheWindowStillCloses)
{
    ASSERT_TRUE(QDir().mkdir(iniPath()));
    auto &w = start();
    QTest::keyClick(&w, Qt::Key_F12);
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1u) << "the first failed write ends WriteAllINI";
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Unable to write to ") + iniPath() + ". Is a directory");
}

TEST_F(SettingsFileTest, ReadAllINIAfterTheFileIsDeletedReturnsEveryDefault)
{
    writeIni("[Config]\nbc=255\nLastF=/a.asm\nLNGFile=x.lng\n");
    auto &w = start();
    ASSERT_TRUE(QFile::remove(iniPath()));
    w.ReadAllINI();
    EXPECT_EQ(w.state().settings, app::Settings{});
    EXPECT_TRUE(w.state().LastFile.isEmpty());
    EXPECT_EQ(w.state().LanguageFile, exeDir + QStringLiteral("info/LNGPAK_Rus.lng"));
}

struct ControlsCase {
    int whatControls;
    bool menus;
    bool toolBar;
};

class WhatControlsTest : public AppFixture, public ::testing::WithParamInterface<ControlsCase>
{
};

TEST_P(WhatControlsTest, ShowsTheChosenCommandSurfaces)
{
    auto &w = start();
    // Start from the opposite of what 7 must keep, so "keeps" is visible.
    w.state().settings.WhatControls = 0;
    w.apply();
    w.state().settings.WhatControls = GetParam().whatControls;
    w.state().settings.bc = 255;
    w.apply();
    for (const char *name : {"File1", "Edit1", "Compile1", "Options1", "AboutMenu", "Other1"})
        EXPECT_EQ(component<QAction>(name)->isVisible(), GetParam().menus) << name;
    EXPECT_EQ(component<QWidget>("Panel1")->isVisible(), GetParam().toolBar);
}

INSTANTIATE_TEST_SUITE_P(Values, WhatControlsTest,
                         ::testing::Values(ControlsCase{0, true, false}, ControlsCase{1, false, true},
                                           ControlsCase{2, true, true}, ControlsCase{7, true, false},
                                           ControlsCase{-1, true, false}));

} // namespace
} // namespace velmora::testing
