// ApplyLanguagePrefsW, ApplyLanguageAboutW and ApplyLanguageInfoW on trees named like the
// preferences, about and info windows.
#include "LanguageTestWindows.h"

#include "app/language/LanguageActions.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace velmora::app;
using namespace velmora::testing;

namespace
{

QStringList choicesOf(QWidget &window, const char *group)
{
    QStringList texts;
    for (auto *choice : window.findChild<QGroupBox *>(QString::fromLatin1(group))->findChildren<QRadioButton *>())
        texts.append(choice->text());
    return texts;
}

} // namespace

TEST(PrefsWindowLanguage, SetsCaptionsChoicesHintsAndKeptTexts)
{
    auto window = buildPrefsWindow();
    PrefsWindowTexts texts;
    PackFolder folder;
    const QString pack = folder.write(QStringLiteral("prefs.lng"), "[Prefs_Language]\n"
                                                                   "PrefsW.Caption=Options\n"
                                                                   "MainOptions.Caption=\" -= General =- \"\n"
                                                                   "StartLoad.Caption=New file\n"
                                                                   "PrefsW.StartLoad.Items[0]=Template\n"
                                                                   "PrefsW.StartLoad.Items[1]=Empty\n"
                                                                   "PrefsW.WhatCtrl.Items[0]=Menu\n"
                                                                   "PrefsW.WhatCtrl.Items[2]=Both\n"
                                                                   "OutDestination.Hint=Where output goes\n"
                                                                   "PrefsW.Label13.Caption=Linker\n"
                                                                   "Label5.Caption=Pack :\n"
                                                                   "CheckBox12.Caption=Assembler messages\n"
                                                                   "TabSheet4.Caption=Tools\n"
                                                                   "Apply.Caption=Use\n"
                                                                   "OpenDialog1.Filter=Packs|*.lng\n"
                                                                   "Restart_please=Restart, please.\n"
                                                                   "Associate=Associate?\n"
                                                                   "Reset_sett=Reset?\n");
    ASSERT_TRUE(ApplyLanguagePrefsW(*window, pack, texts));

    EXPECT_EQ(window->windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(tabTextOf(*window, QStringLiteral("MainOptions")), QStringLiteral(" -= General =- "));
    EXPECT_EQ(window->findChild<QGroupBox *>(QStringLiteral("StartLoad"))->title(), QStringLiteral("New file"));
    EXPECT_EQ(choicesOf(*window, "StartLoad"), (QStringList{QStringLiteral("Template"), QStringLiteral("Empty")}));
    EXPECT_EQ(choicesOf(*window, "whatctrl"), (QStringList{QStringLiteral("Menu"), QString(), QStringLiteral("Both")}));
    EXPECT_EQ(choicesOf(*window, "OutDestination"), (QStringList{QString(), QString()}));
    EXPECT_EQ(window->findChild<QWidget *>(QStringLiteral("OutDestination"))->toolTip(),
              QStringLiteral("Where output goes"));
    EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("Label13"))->text(), QStringLiteral("Linker"));
    EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("Label5"))->text(), QStringLiteral("Pack :"));
    EXPECT_EQ(window->findChild<QAbstractButton *>(QStringLiteral("CheckBox12"))->text(),
              QStringLiteral("Assembler messages"));
    EXPECT_EQ(tabTextOf(*window, QStringLiteral("TabSheet4")), QStringLiteral("Tools"));
    EXPECT_EQ(window->findChild<QAbstractButton *>(QStringLiteral("Apply"))->text(), QStringLiteral("Use"));
    EXPECT_EQ(texts.languageFilter, QStringLiteral("Packs|*.lng"));
    EXPECT_EQ(texts.restartPlease, QStringLiteral("Restart, please."));
    EXPECT_EQ(texts.associate, QStringLiteral("Associate?"));
    EXPECT_EQ(texts.resetSettings, QStringLiteral("Reset?"));

    // Keys the pack lacks blank their targets; components no key names keep their texts.
    EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("Label10"))->text(), QString());
    EXPECT_EQ(window->findChild<QAbstractButton *>(QStringLiteral("Cancel"))->text(), QString());
    EXPECT_EQ(tabTextOf(*window, QStringLiteral("TabSheet1")), QString());
    EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("Label9"))->text(), QStringLiteral("/opt/velmora/TTDIR/"));
}

TEST(PrefsWindowLanguage, APackWithoutTheSectionBlanksTheKeptTextsAndAMissingPackChangesNothing)
{
    auto window = buildPrefsWindow();
    PrefsWindowTexts texts{QStringLiteral("filter"), QStringLiteral("r"), QStringLiteral("a"), QStringLiteral("s")};
    PackFolder folder;
    const auto before = textsOf(*window);

    EXPECT_FALSE(ApplyLanguagePrefsW(*window, folder.path() + QStringLiteral("/none.lng"), texts));
    EXPECT_EQ(changedTexts(before, textsOf(*window)), QStringList());
    EXPECT_EQ(texts.associate, QStringLiteral("a"));

    const QString pack = folder.write(QStringLiteral("main-only.lng"), "[Language]\ntasm.Caption=Assemble\n");
    ASSERT_TRUE(ApplyLanguagePrefsW(*window, pack, texts));
    EXPECT_EQ(texts.languageFilter, QString());
    EXPECT_EQ(texts.restartPlease, QString());
    EXPECT_EQ(texts.associate, QString());
    EXPECT_EQ(texts.resetSettings, QString());
    EXPECT_EQ(window->windowTitle(), QString());
}

TEST(AboutAndInfoWindowLanguage, EachSetsItsCaptionAndPageCaptionsOnly)
{
    PackFolder folder;
    const QString pack = folder.write(QStringLiteral("both.lng"), "[About_Language]\n"
                                                                  "Form3.TabSheet1.Caption=About\n"
                                                                  "Form3.TabSheet2.Caption=History\n"
                                                                  "Form3.TabSheet3.Caption=CPU\n"
                                                                  "Form3.Caption=About the program\n"
                                                                  "[Info_Language]\n"
                                                                  "InfoW.Caption=Reference\n"
                                                                  "INFOW.TABSHEET1.CAPTION=FAQ\n"
                                                                  "Infow.TabSheet3.caption=Speed\n");
    auto about = buildAboutWindow();
    const auto aboutBefore = textsOf(*about);
    ASSERT_TRUE(ApplyLanguageAboutW(*about, pack));
    EXPECT_EQ(changedTexts(aboutBefore, textsOf(*about)),
              (QStringList{"Form3.window=About the program", "TabSheet1.tab=About", "TabSheet2.tab=History",
                           "TabSheet3.tab=CPU"}));
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About the program"));
    EXPECT_EQ(tabTextOf(*about, QStringLiteral("TabSheet1")), QStringLiteral("About"));
    EXPECT_EQ(tabTextOf(*about, QStringLiteral("TabSheet2")), QStringLiteral("History"));
    EXPECT_EQ(tabTextOf(*about, QStringLiteral("TabSheet3")), QStringLiteral("CPU"));
    EXPECT_EQ(about->findChild<QAbstractButton *>(QStringLiteral("Button1"))->text(), QStringLiteral("Get CPU ID"));

    auto info = buildInfoWindow();
    const auto infoBefore = textsOf(*info);
    ASSERT_TRUE(ApplyLanguageInfoW(*info, pack));
    EXPECT_EQ(changedTexts(infoBefore, textsOf(*info)),
              (QStringList{"InfoW.window=Reference", "TabSheet1.tab=FAQ", "TabSheet2.tab=", "TabSheet3.tab=Speed"}));
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Reference"));
    EXPECT_EQ(tabTextOf(*info, QStringLiteral("TabSheet1")), QStringLiteral("FAQ"));
    EXPECT_EQ(tabTextOf(*info, QStringLiteral("TabSheet2")), QString()) << "missing key blanks the page caption";
    EXPECT_EQ(tabTextOf(*info, QStringLiteral("TabSheet3")), QStringLiteral("Speed"));
}
