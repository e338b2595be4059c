// The reference texts and the template of the loaded pack, through the main window: the help
// follows a pack switch at once, the info window at its next show, New at its next use.
#include "PrefsFixture.h"

#include "app/helpview/HelpWindow.h"
#include "app/info/InfoWindow.h"
#include "editor/core/text/CodePages.h"
#include "editor/core/text/SourceEncoding.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QPushButton>

namespace velmora::testing
{
namespace
{

// A pack holding one text of the info window (so it is a pack) and its reference files.
const QByteArray kRussianPack =
    "[Info_Language]\nInfoW.Caption=\xd0\xa1\xd0\xbf\xd1\x80\xd0\xb0\xd0\xb2\xd0\xba\xd0\xb0\n"
    "[Reference_Language]\nHelp_File=intro_rus.hlp\nFaq_File=chainik_rus.txt\n"
    "Optimization_File=optimization_rus.txt\nTemplate_File=def_templ_rus.asm\n";
const QByteArray kEnglishPack = "[Info_Language]\nInfoW.Caption=Info\n";

class ReferenceTextsTest : public PrefsFixture
{
protected:
    void writeTemplate(const char *name, const QByteArray &bytes) const
    {
        QFile file(exeDir + QStringLiteral("TTDIR/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The memo's text as characters (the viewers keep Windows-1251 bytes).
    static QString shown(widget::TSourceMemo &memo)
    {
        return QString::fromStdU16String(core::decode(memo.Lines().Text(), core::CodePage::Windows1251));
    }

    // Shows the info window modally on the FAQ page; its two texts as shown.
    std::pair<QString, QString> infoTexts()
    {
        std::pair<QString, QString> texts;
        whileModal([this] { component<QAction>("faq")->trigger(); },
                   [&](QWidget &) {
                       texts = {shown(window->InfoW->faqMemo()), shown(window->InfoW->optimizationMemo())};
                   });
        return texts;
    }

    void switchPack(const char *name)
    {
        dialogs.files = {exeDir + QStringLiteral("info/") + QLatin1String(name)};
        prefsControl<QPushButton>("BitBtn2")->click();
    }
};

TEST_F(ReferenceTextsTest, APackSwitchChangesTheOpenHelpAtOnceAndTheInfoTextsAtTheirNextShow)
{
    writeInfoFile(QStringLiteral("LNGPAK_Rus.lng"), kRussianPack);
    writeInfoFile(QStringLiteral("eng.lng"), kEnglishPack);
    writeInfoFile(QStringLiteral("intro.hlp"), "@topic Contents\nEnglish help.\n");
    writeInfoFile(QStringLiteral("intro_rus.hlp"), QStringLiteral(u"@topic Содержание\nСправка.\n").toUtf8());
    writeInfoFile(QStringLiteral("chainik.txt"), "FAQ\n");
    writeInfoFile(QStringLiteral("optimization.txt"), "notes\n");
    writeInfoFile(QStringLiteral("chainik_rus.txt"), QStringLiteral(u"Вопросы и ответы\n").toUtf8());
    writeInfoFile(QStringLiteral("optimization_rus.txt"), QStringLiteral(u"Заметки: ёЁ №\n").toUtf8());
    startWithPrefs();
    EXPECT_EQ(window->state().HelpFile, exeDir + QStringLiteral("info/intro_rus.hlp"));

    QTest::keyClick(window.get(), Qt::Key_F1);
    auto *help = window->findChild<app::THelpWindow *>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->helpFile().topics()[0].title, QStringLiteral(u"Содержание"));
    EXPECT_EQ(infoTexts(), std::pair(QStringLiteral(u"Вопросы и ответы\r\n"), QStringLiteral(u"Заметки: ёЁ №\r\n")));

    showPrefs();
    switchPack("eng.lng");
    EXPECT_EQ(window->state().HelpFile, exeDir + QStringLiteral("info/intro.hlp"));
    ASSERT_EQ(window->findChild<app::THelpWindow *>(), help) << "the open help window is kept";
    EXPECT_EQ(help->helpFile().topics()[0].title, QStringLiteral("Contents"));
    EXPECT_EQ(infoTexts(), std::pair(QStringLiteral("FAQ\r\n"), QStringLiteral("notes\r\n")));

    switchPack("LNGPAK_Rus.lng");
    EXPECT_EQ(help->helpFile().topics()[0].title, QStringLiteral(u"Содержание"));
    EXPECT_EQ(infoTexts().first, QStringLiteral(u"Вопросы и ответы\r\n"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ReferenceTextsTest, ThePacksTemplateArrivesInTheNewFilesEncodingAndIsSavedInIt)
{
    const QString text = QStringLiteral(u"; Шаблон: ёЁ\r\n        end\r\n");
    writeInfoFile(QStringLiteral("LNGPAK_Rus.lng"), kRussianPack);
    writeTemplate("def_templ.asm", "; English\r\n");
    writeTemplate("def_templ_rus.asm", text.toUtf8());
    auto &w = start();

    const std::u16string characters = text.toStdU16String();
    for (const auto &[charset, item] :
         {std::pair{"Windows-1251", "Windows1"}, std::pair{"CP866", "DOS1"}, std::pair{"UTF-8", "UTF81"}}) {
        SCOPED_TRACE(charset);
        w.state().settings.Charset = QLatin1String(charset);
        w.DefaultTemplate1Click();
        const core::SourceEncoding encoding = *core::encodingNamed(charset);
        EXPECT_EQ(core::decode(w.editor->textRange(0, w.editor->TextLength()), core::editorCodePage(encoding)),
                  characters);
        EXPECT_TRUE(component<QAction>(item)->isChecked());
        EXPECT_FALSE(w.editor->Modified());

        const QString saved = folder.path() + QStringLiteral("/new-%1.asm").arg(QLatin1String(item));
        dialogs.files = {saved};
        w.SaveAsA();
        const QByteArray bytes = readFile(saved);
        const std::u16string back = encoding == core::SourceEncoding::Utf8
                                        ? QString::fromUtf8(bytes).toStdU16String()
                                        : core::decode(std::string_view(bytes.constData(), size_t(bytes.size())),
                                                       core::editorCodePage(encoding));
        EXPECT_EQ(back, characters);
    }

    ASSERT_TRUE(QFile::remove(exeDir + QStringLiteral("TTDIR/def_templ_rus.asm")));
    w.DefaultTemplate1Click();
    EXPECT_EQ(w.editor->textRange(0, w.editor->TextLength()), "; English\r\n") << "no translation: the English one";
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
} // namespace velmora::testing
