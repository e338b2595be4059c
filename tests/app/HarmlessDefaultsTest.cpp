// Settings and language packs that would hurt are not taken: a font size outside 6 to 72,
// a file in the language pack's place that holds no texts.
#include "AppFixture.h"

#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QStringEncoder>
#include <QToolButton>

namespace velmora::testing
{
namespace
{

class HarmlessDefaultsTest : public AppFixture
{
protected:
    void writePack(const QByteArray &bytes)
    {
        QFile file(exeDir + QStringLiteral("info/LNGPAK_Rus.lng"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(HarmlessDefaultsTest, AFontSizeOutside6To72FallsBackToTheDefault)
{
    for (const auto &[size, taken] :
         std::vector<std::pair<int, int>>{{6, 6}, {72, 72}, {5, 10}, {73, 10}, {0, 10}, {-12, 10}, {100000, 10}}) {
        writeIni("[Font]\nSize=" + QByteArray::number(size) + "\n");
        auto &w = start();
        EXPECT_EQ(w.state().settings.FontSize, taken) << size;
        EXPECT_EQ(w.editor->font().pointSize(), taken) << size;
    }
}

TEST_F(HarmlessDefaultsTest, AFileWithNoneOfThePacksTextsIsRefusedAndTheCaptionsStay)
{
    const QByteArray pack = "[Language]\ntasm.Caption=Assemble\nfile1.Caption=Datei\n";
    QByteArray utf16 = QByteArray("\xFF\xFE", 2) + QStringEncoder(QStringEncoder::Utf16LE)(QString::fromUtf8(pack));
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char(i * 7919 % 256);
    for (const QByteArray &bytes : {QByteArray(), binary, utf16, pack.left(12)}) {
        writePack(bytes);
        dialogs.messages.clear();
        auto &w = start();
        ASSERT_EQ(dialogs.messages.size(), 1u) << bytes.left(16).toHex().toStdString();
        EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Warning);
        EXPECT_EQ(dialogs.messages[0].text,
                  w.state().LanguageFile + QStringLiteral(" is no language pack: it holds none of "
                                                          "the texts. The windows keep their texts."));
        EXPECT_EQ(component<QToolButton>("Tasm")->text(), QStringLiteral("Tasm"));
        EXPECT_EQ(component<QAction>("File1")->text(), QStringLiteral("&File"));
    }

    writePack(pack);
    dialogs.messages.clear();
    start();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(component<QToolButton>("Tasm")->text(), QStringLiteral("Assemble")) << "a real pack still applies";
}

} // namespace
} // namespace velmora::testing
