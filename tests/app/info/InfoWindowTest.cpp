// The info window: its pages and viewers, and the reloading of the reference texts on show.
#include "app/info/InfoWindow.h"
#include "app/info/AsciiChart.h"
#include "app/language/ReferenceFiles.h"
#include "editor/core/text/CodePages.h"
#include "editor/core/keyfiles/DefaultKeywordList.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/widget/SourceMemo.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora::testing
{
namespace
{

class InfoWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("info"))); }

    void writeInfo(const QString &name, const QByteArray &bytes) const
    {
        QFile file(folder.path() + QStringLiteral("/info/") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Shows and hides the window as a modal show would.
    void showOnce(app::TInfoW &window) const
    {
        window.show();
        window.hide();
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
};

TEST_F(InfoWindowTest, PagesAndViewersAreNamedAndConfigured)
{
    app::TInfoW window(folder.path());
    EXPECT_EQ(window.objectName(), QStringLiteral("InfoW"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Info"));
    EXPECT_TRUE(window.isModal());

    QTabWidget &pages = window.pageControl();
    EXPECT_EQ(pages.objectName(), QStringLiteral("PageControl1"));
    ASSERT_EQ(pages.count(), 3);
    const char *const names[] = {"TabSheet1", "TabSheet2", "TabSheet3"};
    const char *const captions[] = {"Asm.Chainik.FAQ", "ASCII Table", "Optimization"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pages.widget(i)->objectName(), QLatin1String(names[i]));
        EXPECT_EQ(pages.tabText(i), QLatin1String(captions[i]));
    }

    auto *image = pages.widget(1)->findChild<QLabel *>(QStringLiteral("Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().size(), QSize(app::kAsciiChartWidth, app::kAsciiChartHeight));
    EXPECT_TRUE(image->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(image->alignment() & Qt::AlignVCenter);

    EXPECT_EQ(pages.widget(0)->findChild<widget::TSourceMemo *>(QStringLiteral("SourceMemo1")), &window.faqMemo());
    EXPECT_EQ(pages.widget(2)->findChild<widget::TSourceMemo *>(QStringLiteral("editor")), &window.optimizationMemo());
    for (widget::TSourceMemo *memo : {&window.faqMemo(), &window.optimizationMemo()}) {
        EXPECT_EQ(memo->Color(), 0x000000);
        EXPECT_EQ(memo->font().family(), QStringLiteral("Courier New"));
        EXPECT_EQ(memo->font().pixelSize(), 13);
        EXPECT_EQ(memo->FontColor(), 0xC0DCC0);
        EXPECT_EQ(memo->FontCharset(), core::kCyrillicCharset);
        EXPECT_EQ(memo->Highlighter(), nullptr);
        core::TKeywordList prose;
        core::fillProseKeywordList(prose);
        ASSERT_EQ(memo->Keywords().Count(), prose.Count());
        for (int i = 0; i < memo->Keywords().Count(); ++i)
            EXPECT_EQ(memo->Keywords().Get(i), prose.Get(i));
        core::TSourceMemoOptions options;
        options.set(core::smoWrapCaret)
            .set(core::smoInsertKeyActive)
            .set(core::smoWideOverwriteCaret)
            .set(core::smoAutoScrollBars)
            .set(core::smoSmartTabs);
        EXPECT_EQ(memo->Options(), options);
        EXPECT_EQ(memo->ScrollBars(), core::ssVertical);
        EXPECT_EQ(memo->Separators(), "\t\n\r $%&,./:;<=>");
    }
}

TEST_F(InfoWindowTest, EveryShowRunsTheHookAndReloadsBothTexts)
{
    writeInfo(QStringLiteral("chainik.txt"), "FAQ: \xd0\xb0\xd0\xb1\nQ1\r\nA1\n");
    writeInfo(QStringLiteral("optimization.txt"), "xor ax,ax\n");
    app::TInfoW window(folder.path());
    int hooks = 0;
    window.OnShow = [&] {
        ++hooks;
        // The hook runs before the texts are loaded.
        EXPECT_EQ(window.optimizationMemo().Lines().Text().find("xor"), std::string::npos);
    };

    showOnce(window);
    EXPECT_EQ(hooks, 1);
    // UTF-8 Cyrillic arrives as Windows-1251 bytes; every line is a paragraph.
    EXPECT_EQ(window.faqMemo().Paragraphs().Count(), 3);
    EXPECT_EQ(window.faqMemo().Lines().Text(), "FAQ: \xe0\xe1\r\nQ1\r\nA1\r\n");
    EXPECT_EQ(window.optimizationMemo().Lines().Text(), "xor ax,ax\r\n");

    window.OnShow = [&] { ++hooks; };
    window.faqMemo().Lines().setText("edited");
    window.optimizationMemo().Lines().setText("edited too");
    showOnce(window);
    EXPECT_EQ(hooks, 2);
    EXPECT_EQ(window.faqMemo().Lines().Text(), "FAQ: \xe0\xe1\r\nQ1\r\nA1\r\n");
    EXPECT_EQ(window.optimizationMemo().Lines().Text(), "xor ax,ax\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(InfoWindowTest, MissingOptimizationNotesStopTheLoadingWithOneError)
{
    writeInfo(QStringLiteral("chainik.txt"), "FAQ\n");
    app::TInfoW window(folder.path());
    window.faqMemo().Lines().setText("old FAQ");

    showOnce(window);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("optimization.txt")));
    EXPECT_EQ(window.faqMemo().Lines().Text(), "old FAQ");
}

TEST_F(InfoWindowTest, MissingFaqIsReportedAfterTheNotesLoaded)
{
    writeInfo(QStringLiteral("optimization.txt"), "notes\n");
    app::TInfoW window(folder.path());

    showOnce(window);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("chainik.txt")));
    EXPECT_EQ(window.optimizationMemo().Lines().Text(), "notes\r\n");
}

TEST_F(InfoWindowTest, ShippedRussianTextsShowEveryCharacterOfTheFilesChosen)
{
    writeInfo(QStringLiteral("chainik.txt"), "English FAQ\n");
    writeInfo(QStringLiteral("optimization.txt"), "English notes\n");
    app::TInfoW window(folder.path());
    app::ReferenceFiles files = app::englishReferenceFiles(folder.path());
    files.faqFile = QStringLiteral(VELMORA_SOURCE_DIR "/data/info/chainik_rus.txt");
    files.optimizationFile = QStringLiteral(VELMORA_SOURCE_DIR "/data/info/optimization_rus.txt");
    window.setReferenceFiles(files);

    showOnce(window);
    EXPECT_TRUE(dialogs.messages.empty());
    for (const auto &[memo, path] :
         {std::pair{&window.faqMemo(), files.faqFile}, std::pair{&window.optimizationMemo(), files.optimizationFile}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString expected =
            QString::fromUtf8(file.readAll()).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        const QString shown =
            QString::fromStdU16String(core::decode(memo->Lines().Text(), core::CodePage::Windows1251));
        EXPECT_EQ(shown, expected) << path.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral(u"ё"))) << "Cyrillic beyond the plain alphabet arrives too";
    }
}

} // namespace
} // namespace velmora::testing
