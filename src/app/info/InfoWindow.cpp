#include "app/info/InfoWindow.h"

#include "app/SourceEditorSetup.h"
#include "app/info/AsciiChart.h"
#include "app/language/LanguagePack.h"
#include "editor/core/text/CodePages.h"
#include "editor/core/keyfiles/DefaultKeywordList.h"
#include "editor/widget/ScrollingPanel.h"
#include "editor/widget/SourceMemo.h"
#include "platform/Dialogs.h"

#include <QFile>
#include <QLabel>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <stdexcept>

namespace velmora::app
{

namespace
{

constexpr std::int32_t kBlack = 0x000000;
constexpr std::int32_t kMoneyGreen = 0xC0DCC0;

// A text viewer page: a memo on black filling the page.
widget::TSourceMemo *addViewerPage(QTabWidget &pages, const char *pageName, const char *memoName,
                                   const QString &caption)
{
    auto *page = new QWidget;
    page->setObjectName(QLatin1String(pageName));
    auto *memo = new widget::TSourceMemo(page);
    memo->setObjectName(QLatin1String(memoName));
    memo->setColor(kBlack);
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(13);
    memo->setFont(font);
    memo->setFontColor(kMoneyGreen);
    memo->setFontCharset(core::kCyrillicCharset);
    memo->setHighlighter(nullptr);
    core::fillProseKeywordList(memo->Keywords());
    memo->setOptions(sourceEditorOptions());
    memo->setScrollBars(core::ssVertical);
    memo->setSeparators("\t\n\r $%&,./:;<=>");

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo);
    pages.addTab(page, caption);
    return memo;
}

QWidget *chartPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto *image = new QLabel(page);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QPixmap::fromImage(asciiChartImage()));
    image->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(image);
    return page;
}

} // namespace

TInfoW::TInfoW(const QString &dataDir, QWidget *parent) : QDialog(parent), PageControl1_(new QTabWidget(this))
{
    setReferenceFiles(englishReferenceFiles(dataDir));
    setObjectName(QStringLiteral("InfoW"));
    setWindowTitle(QStringLiteral("Info"));
    setModal(true);

    PageControl1_->setObjectName(QStringLiteral("PageControl1"));
    SourceMemo1_ = addViewerPage(*PageControl1_, "TabSheet1", "SourceMemo1", QStringLiteral("Asm.Chainik.FAQ"));
    PageControl1_->addTab(widget::scrollingPage(chartPage()), QStringLiteral("ASCII Table"));
    editor_ = addViewerPage(*PageControl1_, "TabSheet3", "editor", QStringLiteral("Optimization"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1_);
    // Wide enough for the 72-column reference texts without wrapping.
    resize(760, kAsciiChartHeight + 80);
}

void TInfoW::setReferenceFiles(const ReferenceFiles &files)
{
    faqFile_ = files.faqFile;
    optimizationFile_ = files.optimizationFile;
}

void TInfoW::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        if (OnShow)
            OnShow();
        loadTexts();
    }
    QDialog::showEvent(event);
}

void TInfoW::loadTexts()
{
    try {
        loadText(*editor_, optimizationFile_);
        loadText(*SourceMemo1_, faqFile_);
    } catch (const std::exception &e) {
        platform::dialogs().message(platform::MessageKind::Error, QString::fromUtf8(e.what()));
    }
}

// The reference texts are UTF-8 (or Windows-1251); the viewers keep Windows-1251 bytes.
void TInfoW::loadText(widget::TSourceMemo &memo, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            platform::dialogTexts().cannotOpenFile.arg(file.fileName(), file.errorString()).toStdString());
    // The viewer breaks paragraphs at CR LF; the texts may come with bare LF line ends.
    QString text = QString::fromUtf8(packTextAsUtf8(file.readAll()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    memo.Lines().setText(core::encode(text.toStdU16String(), core::CodePage::Windows1251));
}

} // namespace velmora::app
