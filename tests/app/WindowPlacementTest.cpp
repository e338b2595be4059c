// Every window opens fully on the screen, in both shipped packs; the same tests run once more
// with a scale factor of two on a 1280x800 screen (see tests/CMakeLists.txt).
#include "app/WindowPlacement.h"
#include "AppFixture.h"
#include "app/about/AboutWindow.h"
#include "app/info/InfoWindow.h"
#include "app/prefs/PrefsWindow.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/widget/KeywordsEditorDlg.h"

#include <QAction>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

namespace velmora::testing
{
namespace
{

using app::fittedGeometry;

TEST(FittedGeometryTest, ShrinksToTheAreaAndMovesInside)
{
    const QRect area(0, 0, 640, 400);
    // Too big: as large as the area allows, at its corner.
    EXPECT_EQ(fittedGeometry({100, 100, 800, 560}, {200, 100}, area, {}), QRect(0, 0, 640, 400));
    // Fits in size but stands off the right and bottom edges: moved in, size kept.
    EXPECT_EQ(fittedGeometry({600, 350, 300, 200}, {0, 0}, area, {}), QRect(340, 200, 300, 200));
    // Off the left and top edges.
    EXPECT_EQ(fittedGeometry({-50, -20, 300, 200}, {0, 0}, area, {}), QRect(0, 0, 300, 200));
    // Already inside: untouched.
    EXPECT_EQ(fittedGeometry({10, 20, 300, 200}, {0, 0}, area, {}), QRect(10, 20, 300, 200));
}

TEST(FittedGeometryTest, LeavesRoomForTheFrameAndKeepsTheMinimum)
{
    const QRect area(0, 30, 640, 400); // a panel above the free area
    const QMargins frame(4, 28, 4, 4);
    const QRect fitted = fittedGeometry({0, 0, 900, 900}, {0, 0}, area, frame);
    EXPECT_EQ(fitted, QRect(4, 58, 632, 368)) << "the title bar stays on the screen";
    // A window that cannot be smaller than its minimum keeps it; its top left corner (with the
    // title bar) stays visible.
    EXPECT_EQ(fittedGeometry({300, 300, 100, 100}, {700, 500}, area, frame), QRect(4, 58, 700, 500));
}

class WindowPlacementTest : public AppFixture, public ::testing::WithParamInterface<const char *>
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        for (const char *file : {"LNGPAK_Eng.lng", "LNGPAK_Rus.lng", "intro.hlp"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/info/") + QString::fromLatin1(file),
                                    exeDir + QStringLiteral("info/") + QString::fromLatin1(file)));
        writeIni("[Config]\nLNGFile=" + QByteArray(GetParam()) + "\n");
        start();
        window->createOtherWindows();
    }

    // Shows a window as its command would, checks it lies inside the screen's free area, hides it.
    void expectOnScreen(QWidget &shown, const char *what)
    {
        shown.show();
        QCoreApplication::processEvents();
        const QRect area = shown.screen()->availableGeometry();
        EXPECT_TRUE(area.contains(shown.frameGeometry()))
            << what << " at " << shown.frameGeometry() << " on a screen of " << area;
        shown.hide();
    }

    static void expectAllTabsShown(QTabWidget &pages, const char *what)
    {
        const QTabBar *tabs = pages.tabBar();
        const int last = tabs->count() - 1;
        EXPECT_LE(tabs->tabRect(last).right(), tabs->width())
            << what << ": the last tab is cut, so the tab bar scrolls";
        EXPECT_GE(tabs->tabRect(0).left(), 0) << what;
    }
};

TEST_P(WindowPlacementTest, EveryWindowOpensInsideTheScreen)
{
    app::TVelmora &main = *window;
    const QRect area = main.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(main.frameGeometry())) << "main window at " << main.frameGeometry();

    expectOnScreen(*main.PrefsW, "Preferences");
    expectOnScreen(*main.Form3, "About");
    expectOnScreen(*main.InfoW, "Info");
    expectOnScreen(*component<QWidget>("FD"), "Find");

    core::TKeywordList list;
    widget::TKeywordsEditorDlg keywords(list, true, true, &main);
    expectOnScreen(keywords, "keyword editor");

    component<QAction>("HelpShowA")->trigger();
    QWidget *help = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("HelpWindow") && top->isVisible())
            help = top;
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(area.contains(help->frameGeometry())) << "help at " << help->frameGeometry();
    help->close();
}

TEST_P(WindowPlacementTest, PreferencesShowEveryTabWithoutScrolling)
{
    window->PrefsW->show();
    QCoreApplication::processEvents();
    expectAllTabsShown(*window->PrefsW->findChild<QTabWidget *>(QStringLiteral("PageControl1")), "Preferences");
    window->PrefsW->hide();
}

TEST_P(WindowPlacementTest, AMainWindowPlacedOffTheScreenComesBack)
{
    window->move(5000, 5000);
    window->hide();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry())) << window->frameGeometry();
}

TEST_P(WindowPlacementTest, ADialogThatFitsOpensCentredOverItsOwner)
{
    app::TForm3 &about = *window->Form3;
    about.show();
    QCoreApplication::processEvents();
    const QPoint offset = about.geometry().center() - window->geometry().center();
    // Centred, unless the screen's edge kept it from being so.
    if (window->screen()->availableGeometry().contains(about.frameGeometry().adjusted(-40, -40, 40, 40))) {
        EXPECT_LE(std::abs(offset.x()), 2) << about.geometry() << " over " << window->geometry();
        EXPECT_LE(std::abs(offset.y()), 2) << about.geometry() << " over " << window->geometry();
    }
    about.hide();
}

INSTANTIATE_TEST_SUITE_P(BothPacks, WindowPlacementTest, ::testing::Values("LNGPAK_Eng.lng", "LNGPAK_Rus.lng"));

} // namespace
} // namespace velmora::testing
