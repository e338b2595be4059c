// ApplyLanguage on a tree named like the main window.
#include "LanguageTestWindows.h"

#include "app/language/LanguageActions.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace velmora::app;
using namespace velmora::testing;

namespace
{

QString buttonText(QWidget &window, const char *name)
{
    return window.findChild<QAbstractButton *>(QString::fromLatin1(name))->text();
}

QString hintOf(QWidget &window, const char *name)
{
    return window.findChild<QWidget *>(QString::fromLatin1(name))->toolTip();
}

// Every item of the main menu, submenus included.
QList<QAction *> menuItems(QMainWindow &window)
{
    QList<QAction *> items;
    std::function<void(const QList<QAction *> &)> walk = [&](const QList<QAction *> &actions) {
        for (QAction *action : actions) {
            items.append(action);
            if (action->menu())
                walk(action->menu()->actions());
        }
    };
    walk(window.menuBar()->actions());
    return items;
}

} // namespace

TEST(MainWindowLanguage, WithoutAPackNothingChangesAndTheKeptTextsStayEmpty)
{
    auto window = buildMainWindow();
    const auto before = textsOf(*window);
    MainWindowTexts texts;
    PackFolder folder;

    EXPECT_FALSE(ApplyLanguage(*window, QDir(folder.path()).filePath(QStringLiteral("info/LNGPAK_Rus.lng")), texts));

    EXPECT_EQ(changedTexts(before, textsOf(*window)), QStringList());
    EXPECT_EQ(buttonText(*window, "Tasm"), QStringLiteral("Tasm"));
    EXPECT_EQ(buttonText(*window, "Td"), QStringLiteral("TD"));
    EXPECT_EQ(texts.lastButtonHint(QStringLiteral("/home/student/prog.asm")), QStringLiteral("/home/student/prog.asm"));
    EXPECT_EQ(texts.listGenerated, QString());
    EXPECT_EQ(texts.openFilter, QStringLiteral("ASM Sources (.asm)|*.asm|All Files|*.*"));
    EXPECT_EQ(texts.saveFilter, QStringLiteral("ASM Sources  (.asm)|*.asm"));
}

TEST(MainWindowLanguage, APackWithOneKeyBlanksEveryOtherTextItReads)
{
    auto window = buildMainWindow();
    MainWindowTexts texts;
    texts.lastFileHint = QStringLiteral("from an earlier pack: ");
    PackFolder folder;
    const QString pack = folder.write(QStringLiteral("one.lng"), "[Language]\ntasm.Caption=Assemble\n");

    ASSERT_TRUE(ApplyLanguage(*window, pack, texts));

    EXPECT_EQ(buttonText(*window, "Tasm"), QStringLiteral("Assemble"));
    for (const char *name : {"Last", "Tlink", "TlinkPar", "Td", "run", "Prefs", "About", "Exit"})
        EXPECT_EQ(buttonText(*window, name), QString()) << name;
    for (const char *name : {"Open", "Save", "SaveAs", "New", "Tasm", "TasmPar", "Tlink", "TlinkPar", "Td", "run",
                             "BTasmTlinkRun", "Button1"})
        EXPECT_EQ(hintOf(*window, name), QString()) << name;
    for (const char *page : {"EditSheet", "TasmOutSheet", "TLinkOutSheet", "RunOutSheet"})
        EXPECT_EQ(tabTextOf(*window, QString::fromLatin1(page)), QString()) << page;

    const QList<QAction *> items = menuItems(*window);
    ASSERT_EQ(items.size(), 57);
    for (QAction *item : items) {
        EXPECT_EQ(item->text(), QString()) << item->objectName().toStdString();
        EXPECT_FALSE(item->isSeparator()) << item->objectName().toStdString() << " is an ordinary item now";
    }
    EXPECT_EQ(window->findChild<QMenu *>(QStringLiteral("Other1"))->title(), QString());
    for (const char *hidden : {"Print1", "PrintSetup1", "N1", "Replace1", "GoTo1"})
        EXPECT_FALSE(actionNamed(*window, QString::fromLatin1(hidden))->isVisible()) << hidden;

    EXPECT_EQ(texts.openFilter, QString());
    EXPECT_EQ(texts.saveFilter, QString());
    EXPECT_EQ(texts.saveActionCaption, QString());
    EXPECT_EQ(texts.lastFileHint, QString());
    EXPECT_EQ(texts.listGenerated, QString());

    // What the section does not read keeps its text: captions of glyph buttons, the next-page
    // button, other actions, and everything in another window parented to this one.
    EXPECT_EQ(buttonText(*window, "TasmPar"), QStringLiteral(".. "));
    EXPECT_EQ(buttonText(*window, "SaveAs"), QStringLiteral(".. "));
    EXPECT_EQ(buttonText(*window, "Button1"), QStringLiteral(">"));
    EXPECT_EQ(actionNamed(*window, QStringLiteral("OpenA"))->text(), QStringLiteral("OpenA"));
    EXPECT_EQ(window->findChild<QDialog *>()->findChild<QPushButton *>(QStringLiteral("Tasm"))->text(),
              QStringLiteral("untouched"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Untitled - Velmora 3.5f"));
}

TEST(MainWindowLanguage, SpecialRowsReachTheirTargets)
{
    auto window = buildMainWindow();
    MainWindowTexts texts;
    PackFolder folder;
    const QString pack = folder.write(QStringLiteral("rows.lng"), "[Language]\n"
                                                                  "od.Filter=Sources|*.asm|Any|*\n"
                                                                  "sd.Filter=Sources|*.asm\n"
                                                                  "savea.Caption=Keep it\n"
                                                                  "Lastf_hint=\"Last one: \"\n"
                                                                  "List_Generated=Listing ready\n"
                                                                  "n3.Caption=-\n"
                                                                  "n2.Caption=Not a line\n"
                                                                  "n1.Caption=-\n"
                                                                  "print1.Caption=&Print it\n"
                                                                  "Listing1.Caption=Listing\n"
                                                                  "other1.Caption=More\n"
                                                                  "AboutMenu.Caption=&Info\n");
    ASSERT_TRUE(ApplyLanguage(*window, pack, texts));

    EXPECT_EQ(texts.openFilter, QStringLiteral("Sources|*.asm|Any|*"));
    EXPECT_EQ(texts.saveFilter, QStringLiteral("Sources|*.asm"));
    EXPECT_EQ(texts.saveActionCaption, QStringLiteral("Keep it"));
    EXPECT_EQ(actionNamed(*window, QStringLiteral("SaveA"))->text(), QStringLiteral("SaveA"))
        << "the action's caption is kept for the window, not set on a component";
    EXPECT_EQ(texts.lastButtonHint(QStringLiteral("/w/a.asm")), QStringLiteral("Last one: /w/a.asm"));
    EXPECT_EQ(texts.listGenerated, QStringLiteral("Listing ready"));

    EXPECT_TRUE(actionNamed(*window, QStringLiteral("N3"))->isSeparator());
    QAction *n2 = actionNamed(*window, QStringLiteral("N2"));
    EXPECT_FALSE(n2->isSeparator());
    EXPECT_EQ(n2->text(), QStringLiteral("Not a line"));
    EXPECT_TRUE(actionNamed(*window, QStringLiteral("N1"))->isSeparator());
    EXPECT_FALSE(actionNamed(*window, QStringLiteral("N1"))->isVisible());
    EXPECT_EQ(actionNamed(*window, QStringLiteral("Print1"))->text(), QStringLiteral("&Print it"));
    EXPECT_FALSE(actionNamed(*window, QStringLiteral("Print1"))->isVisible());

    EXPECT_EQ(window->findChild<QMenu *>(QStringLiteral("Other1"))->menuAction()->text(), QStringLiteral("More"));
    EXPECT_EQ(actionNamed(*window, QStringLiteral("Listing1"))->text(), QStringLiteral("Listing"));
    EXPECT_EQ(actionNamed(*window, QStringLiteral("AboutMenu"))->text(), QStringLiteral("&Info"));

    // A second pack that turns the item back into a line makes it a separator again.
    const QString again = folder.write(QStringLiteral("again.lng"), "[Language]\nn2.Caption=-\n");
    ASSERT_TRUE(ApplyLanguage(*window, again, texts));
    EXPECT_TRUE(n2->isSeparator());
    EXPECT_EQ(texts.lastFileHint, QString()) << "kept texts follow the last pack applied";
}

TEST(MainWindowLanguage, KeysInAnyCaseAndPaddedWithBlanksAreFound)
{
    auto window = buildMainWindow();
    MainWindowTexts texts;
    PackFolder folder;
    const QString pack =
        folder.write(QStringLiteral("case.lng"), "[language]\n"
                                                 "TASM.CAPTION=Assemble\n"
                                                 "    tLiNk.hInT                      = Link it [ F8 ]\n"
                                                 "EDITSHEET.caption      =   Source   \n"
                                                 "N7.CAPTION=-\n"
                                                 "lastf_HINT                          =\"Last: \"\n");
    ASSERT_TRUE(ApplyLanguage(*window, pack, texts));
    EXPECT_EQ(buttonText(*window, "Tasm"), QStringLiteral("Assemble"));
    EXPECT_EQ(hintOf(*window, "Tlink"), QStringLiteral("Link it [ F8 ]"));
    EXPECT_EQ(tabTextOf(*window, QStringLiteral("EditSheet")), QStringLiteral("Source"));
    EXPECT_TRUE(actionNamed(*window, QStringLiteral("N7"))->isSeparator());
    EXPECT_EQ(texts.lastFileHint, QStringLiteral("Last: "));
}
