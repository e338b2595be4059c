// Sources in UTF-8 (with and without a byte order mark), CP866 and Windows-1251: each is
// recognised on opening, drawn with the right characters, named in the status bar and saved
// back byte for byte.
#include "AppFixture.h"

#include "app/StatusBar.h"
#include "editor/core/text/CodePages.h"
#include "editor/core/text/SourceEncoding.h"
#include "editor/widget/SourceMemo.h"

namespace velmora::testing
{
namespace
{

const std::u16string kComment = u"; вывод строки на экран";

class SourceEncodingFilesTest : public AppFixture
{
protected:
    QString writeFile(const char *name, const std::string &bytes)
    {
        const QString path = folder.path() + QLatin1Char('/') + QString::fromLatin1(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }
    static std::string readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
    }
    // The first line as the editor draws it, through the code page of its character set.
    std::u16string shownFirstLine()
    {
        return core::decode(window->editor->Lines().Get(0), core::codePageForCharset(window->editor->FontCharset()));
    }
    QString encodingPanel() const
    {
        return component<app::TStatusBar>("sb")->panelText(app::TStatusBar::EncodingPanel);
    }
};

TEST_F(SourceEncodingFilesTest, EachEncodingOpensReadableAndSavesBackUnchanged)
{
    const std::string utf8 =
        core::toFileBytes(core::encode(kComment, core::CodePage::Windows1251), core::SourceEncoding::Utf8) +
        "\r\nmov ah, 09h\r\n";
    const std::string cp866 = core::encode(kComment, core::CodePage::Dos866) + "\r\nint 21h";
    const std::string cp1251 = core::encode(kComment, core::CodePage::Windows1251) + "\r\n";
    auto &w = start();
    for (const auto &[name, bytes, shown] :
         {std::tuple{"utf8.asm", utf8, "UTF-8"}, std::tuple{"bom.asm", "\xEF\xBB\xBF" + utf8, "UTF-8 BOM"},
          std::tuple{"dos.asm", cp866, "CP866"}, std::tuple{"win.asm", cp1251, "Windows-1251"}}) {
        const QString path = writeFile(name, bytes);
        w.OpenSourceFile(path);
        EXPECT_EQ(shownFirstLine(), kComment) << name;
        EXPECT_EQ(encodingPanel(), QString::fromLatin1(shown)) << name;
        w.editor->setModified(true);
        w.SaveA();
        EXPECT_EQ(readFile(path), bytes) << name;
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SourceEncodingFilesTest, AnEditedUtf8SourceIsSavedAsUtf8)
{
    const std::string utf8 =
        core::toFileBytes(core::encode(kComment, core::CodePage::Windows1251), core::SourceEncoding::Utf8);
    auto &w = start();
    const QString path = writeFile("lab.asm", utf8);
    w.OpenSourceFile(path);
    w.editor->setSelStart(0);
    w.editor->SetSelTextBuf(core::encode(u"; ещё\r\n", core::CodePage::Windows1251).c_str());
    w.SaveA();
    EXPECT_EQ(readFile(path), "; \xD0\xB5\xD1\x89\xD1\x91\r\n" + utf8);
}

TEST_F(SourceEncodingFilesTest, Utf8WithCharactersTheEditorCannotDrawIsKeptAsItsBytes)
{
    const std::string bytes = "; \xE4\xB8\xAD\xE6\x96\x87\r\nnop\r\n";
    auto &w = start();
    const QString path = writeFile("cjk.asm", bytes);
    w.OpenSourceFile(path);
    EXPECT_EQ(encodingPanel(), QStringLiteral("Windows-1251"));
    w.editor->setModified(true);
    w.SaveA();
    EXPECT_EQ(readFile(path), bytes);
}

} // namespace
} // namespace velmora::testing
