// The about window: its components by name, the version and history texts, the home page
// link, the show hook and closing.
#include "app/about/AboutWindow.h"
#include "app/language/LanguageActions.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using velmora::app::TForm3;

namespace
{

class AboutWindow : public ::testing::Test
{
protected:
    QTemporaryDir exeDir;

    void writeHistory(const QByteArray &bytes)
    {
        ASSERT_TRUE(QDir(exeDir.path()).mkpath(QStringLiteral("info")));
        QFile file(exeDir.filePath(QStringLiteral("info/velmora.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QString memoText(const TForm3 &form)
    {
        return form.findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->toPlainText();
    }
};

} // namespace

TEST_F(AboutWindow, NamesEveryComponentAsTheLanguagePackAddressesIt)
{
    TForm3 form(exeDir.path(), QStringLiteral("3.5f"));
    EXPECT_EQ(form.objectName(), "Form3");
    EXPECT_EQ(form.windowTitle(), "About Velmora");
    for (const char *name :
         {"PageControl1", "TabSheet1", "TabSheet2", "TabSheet3", "Label1",       "Label13",  "Label14",
          "Memo1",        "Label111",  "Label112",  "Label113",  "Label114",     "Label115", "PValue",
          "FValue",       "MValue",    "SValue",    "Button1",   "SpeedButton1", "GroupBox1"})
        EXPECT_NE(form.findChild<QObject *>(QLatin1String(name)), nullptr) << name;

    QTabWidget &pages = form.pageControl();
    ASSERT_EQ(pages.count(), 3);
    EXPECT_EQ(pages.tabText(0), "About Velmora");
    EXPECT_EQ(pages.tabText(1), "Functions && History ");
    EXPECT_EQ(pages.tabText(2), "Fetches");
    EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("Label13"))->text(), "3.5f");
    EXPECT_EQ(form.findChild<QPushButton *>(QStringLiteral("Button1"))->text(), "Get CPU ID");
}

TEST_F(AboutWindow, HistoryMemoIsEmptyWithoutTheFileAndHoldsItsTextOtherwise)
{
    EXPECT_TRUE(memoText(TForm3(exeDir.path(), {})).isEmpty());

    writeHistory("Velmora 3.5f\r\n- \xE2\x80\x94 new: F1 help\n");
    EXPECT_EQ(memoText(TForm3(exeDir.path(), {})), QString::fromUtf8("Velmora 3.5f\n- \xE2\x80\x94 new: F1 help\n"));
}

TEST_F(AboutWindow, HistoryThatIsNotUtf8IsReadAsWindows1251)
{
    writeHistory("\xC8\xF1\xF2\xEE\xF0\xE8\xFF"); // "История" in Windows-1251
    EXPECT_EQ(memoText(TForm3(exeDir.path(), {})), QString::fromUtf8("История"));
}

TEST_F(AboutWindow, LinkUnderlinesWhileHoveredAndOpensTheHomePageOnALeftClick)
{
    TForm3 form(exeDir.path(), {});
    std::vector<QString> opened;
    form.OpenLink = [&](const QString &url) { opened.push_back(url); };
    auto *link = form.findChild<QLabel *>(QStringLiteral("Label14"));
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(link, &enter);
    EXPECT_TRUE(link->font().underline());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(link, &leave);
    EXPECT_FALSE(link->font().underline());

    QTest::mouseClick(link, Qt::RightButton);
    EXPECT_TRUE(opened.empty());
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<QString>{"http://velmora.example/"});
}

TEST_F(AboutWindow, ShowHookRunsOnEveryShowAndOkCloses)
{
    TForm3 form(exeDir.path(), {});
    int shows = 0;
    form.OnShow = [&] { ++shows; };
    form.show();
    form.findChild<QPushButton *>(QStringLiteral("SpeedButton1"))->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    form.show();
    form.close();
    EXPECT_EQ(shows, 2);
}

TEST_F(AboutWindow, ShippedLanguagePackRenamesThePagesThroughTheShowHook)
{
    const QString pack = QStringLiteral(VELMORA_SOURCE_DIR "/data/info/LNGPAK_Eng.lng");
    if (!QFile::exists(pack))
        GTEST_SKIP() << "no English pack";
    TForm3 form(exeDir.path(), {});
    form.pageControl().setTabText(1, QStringLiteral("-"));
    form.setWindowTitle(QStringLiteral("-"));
    form.OnShow = [&] { velmora::app::ApplyLanguageAboutW(form, pack); };
    form.show();
    EXPECT_EQ(form.pageControl().tabText(1), "Functions && History ");
    EXPECT_EQ(form.windowTitle(), "About Velmora");
    form.close();
}
