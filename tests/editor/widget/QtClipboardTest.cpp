// The desktop clipboard adapter under the offscreen platform: text in the editor's code page,
// breaks as the desktop writes them, and the block format carried from one editor to another.
#include "editor/widget/QtClipboard.h"
#include "editor/core/editing/ClipboardCommands.h"
#include "editor/core/editing/ColumnBlocks.h"
#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/editing/StoreConsistency.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::widget::kBlockMimeType;
using velmora::widget::QtClipboard;

namespace
{

QClipboard &desktop()
{
    return *QGuiApplication::clipboard();
}

TEST(QtClipboard, PutsUnicodeTextWithDesktopBreaksAndTheBlockFormat)
{
    QtClipboard clipboard;
    clipboard.put("mov \xE0x\r\n;\xFF\r\n", true);
    const QMimeData *data = desktop().mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QString::fromUtf8("mov аx\n;я\n"));
    ASSERT_TRUE(data->hasFormat(kBlockMimeType));
    EXPECT_EQ(data->data(kBlockMimeType), QByteArray(1, '\2'));
    EXPECT_EQ(clipboard.text(), "mov \xE0x\r\n;\xFF\r\n");
    EXPECT_EQ(clipboard.blockData(), std::string(1, '\2'));

    clipboard.put("plain", false);
    EXPECT_FALSE(desktop().mimeData()->hasFormat(kBlockMimeType));
    EXPECT_EQ(clipboard.blockData(), std::nullopt);
    EXPECT_EQ(clipboard.text(), "plain");
}

TEST(QtClipboard, ReadsOtherProgramsTextWithEveryBreakAsCrLf)
{
    QtClipboard clipboard;
    desktop().setText(QString::fromUtf8("a\nb\rc\r\nd\n\r€"));
    EXPECT_EQ(clipboard.text(), "a\r\nb\r\nc\r\nd\r\n\r\n\x88"); // the euro sign is 0x88 in 1251
    desktop().setText(QString::fromUtf8("日"));
    EXPECT_EQ(clipboard.text(), "?");
    EXPECT_EQ(clipboard.blockData(), std::nullopt);
}

TEST(QtClipboard, TheCodePageIsSelectable)
{
    QtClipboard clipboard(core::CodePage::Dos866);
    clipboard.put("\xA0", false);
    EXPECT_EQ(desktop().text(), QString::fromUtf8("а"));
    clipboard.setCodePage(core::CodePage::Windows1251);
    EXPECT_EQ(clipboard.text(), "\xE0");
}

TEST(QtClipboard, ABlockFormatWithoutTextGivesNoText)
{
    QtClipboard clipboard;
    auto *data = new QMimeData;
    data->setData(kBlockMimeType, QByteArray(1, '\2'));
    desktop().setMimeData(data);
    EXPECT_EQ(clipboard.text(), std::nullopt);
    EXPECT_EQ(clipboard.blockData(), std::string(1, '\2'));
    desktop().clear();
    EXPECT_EQ(clipboard.text(), std::nullopt);
    EXPECT_EQ(clipboard.blockData(), std::nullopt);
}

TEST(QtClipboard, AColumnBlockCopiedInOneEditorPastesAsABlockInAnother)
{
    core::TSourceMemoCore source;
    core::TSourceMemoCore target;
    for (core::TSourceMemoCore *memo : {&source, &target}) {
        memo->setWordWrap(false);
        core::TSourceMemoOptions options = memo->Options();
        options.set(core::smoBlockSelection);
        memo->setOptions(options);
    }
    source.SetTextBuf("abcd\r\nefgh");
    target.SetTextBuf("12\r\n34");
    core::setBlockSelection(source, 1, 0, 1, 3);
    QtClipboard first;
    QtClipboard second;
    core::CopyToClipboard(source, first);
    target.setSelStart(0);
    core::PasteFromClipboard(target, second, 1);
    EXPECT_EQ(target.textRange(0, target.TextLength()), "1bc2\r\n3fg4");
    core::checkStoreConsistency(target.paragraphs());
}

} // namespace
