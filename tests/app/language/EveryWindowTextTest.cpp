// Every window the user meets, in each shipped pack: each text it shows must come from the
// loaded pack (an accelerator's "&" aside, %1-style arguments filled with anything), or be a
// proper name, a key name or plain data such as a path or a number.
#include "../AppFixture.h"

#include "app/about/AboutWindow.h"
#include "app/info/InfoWindow.h"
#include "app/language/LanguagePack.h"
#include "app/prefs/PrefsWindow.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"
#include "editor/widget/KeywordsEditorDlg.h"
#include "editor/widget/SourceMemo.h"
#include "platform/ChildProcess.h"
#include "platform/RunningWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <vector>

using namespace velmora;
using namespace velmora::testing;

namespace
{

QString shippedPackPath(const char *fileName)
{
    return QStringLiteral(VELMORA_SOURCE_DIR "/data/info/") + QString::fromLatin1(fileName);
}

// A text a user sees, and where.
struct Shown {
    QString where;
    QString text;
};

QString withoutAccelerators(QString text)
{
    static const QRegularExpression accelerator(QStringLiteral("&(.)"));
    return text.replace(accelerator, QStringLiteral("\\1")).trimmed();
}

// What the pack can produce: each value with its accelerators removed and any %n argument
// standing for any text.
class PackTexts
{
public:
    explicit PackTexts(const QString &path)
    {
        const std::optional<app::LanguagePack> pack = app::LanguagePack::load(path);
        if (!pack)
            throw std::runtime_error("no pack at " + path.toStdString());
        static const QRegularExpression argument(QStringLiteral("%[1-9]"));
        for (const QString &section : pack->sections())
            for (const QString &key : pack->keys(section)) {
                QString value = pack->value(section, key).replace(QLatin1String("\\n"), QLatin1String("\n"));
                // A filter list shows as its labels and patterns.
                for (const QString &piece : value.split(QLatin1Char('|'))) {
                    addPattern(piece, argument);
                }
                addPattern(value, argument);
            }
    }

    bool produces(const QString &text) const
    {
        for (const QRegularExpression &pattern : patterns_)
            if (pattern.match(text).hasMatch())
                return true;
        return false;
    }

private:
    void addPattern(const QString &value, const QRegularExpression &argument)
    {
        const QString plain = withoutAccelerators(value);
        if (plain.isEmpty())
            return;
        QStringList literal = plain.split(argument);
        for (QString &piece : literal)
            piece = QRegularExpression::escape(piece);
        patterns_.append(
            QRegularExpression(QStringLiteral("\\A") + literal.join(QStringLiteral("(.*)")) + QStringLiteral("\\z"),
                               QRegularExpression::DotMatchesEverythingOption));
    }

    QList<QRegularExpression> patterns_;
};

// Proper names, key names and data: what may show in any language.
bool isNameOrData(QString text)
{
    static const QRegularExpression names(
        QStringLiteral("\\b(Velmora|TASM|TAsm|Tasm|TLINK|TLink|Tlink|TD|DOSBox|CPUID|DOS|UTF-8|Windows-1251|"
                       "F\\d{1,2}|(Ctrl|Shift|Alt)\\+\\w+|Esc|cr[A-Z][A-Za-z]+|[0-9A-F]{8}|\\w[\\w.-]*\\.(asm|lng|exe|"
                       "com|hlp)|\\d+\\.\\d+[a-z]?)\\b|#[0-9A-F]{6}\\b"));
    static const QRegularExpression path(QStringLiteral("(^|\\s)/\\S*"));
    text.remove(names).remove(path);
    for (const QChar c : text)
        if (c.isLetter())
            return false;
    return true;
}

// Hidden widgets show nothing, but the pages of a tab widget count as shown: each is a click
// away.
bool isShown(const QWidget &widget, const QWidget &window)
{
    for (const QWidget *w = &widget; w && w != &window; w = w->parentWidget()) {
        if (w->isWindow() && !qobject_cast<const QMenu *>(w))
            return false; // another window's
        if (w->isHidden() && !qobject_cast<const QStackedWidget *>(w->parentWidget()))
            return false;
    }
    return true;
}

void collectMenu(const QList<QAction *> &actions, const QString &where, std::vector<Shown> &out)
{
    for (QAction *action : actions) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        out.push_back({where + QStringLiteral(" menu item"), action->text()});
        if (action->menu())
            collectMenu(action->menu()->actions(), where, out);
    }
}

// Data shown in controls: names of files and folders, the version, the home page, file contents
// and the reference texts' own titles.
bool holdsData(const QWidget &widget)
{
    static const QStringList names = {QStringLiteral("Label8"),       QStringLiteral("Label9"),
                                      QStringLiteral("Label13"),      QStringLiteral("Label14"),
                                      QStringLiteral("HelpContents"), QStringLiteral("HelpIndex"),
                                      QStringLiteral("sbPanel0"),     QStringLiteral("TasmCMDStr"),
                                      QStringLiteral("TlinkCMDStr"),  QStringLiteral("RunCMDStr")};
    return names.contains(widget.objectName());
}

std::vector<Shown> textsShownBy(QWidget &window)
{
    std::vector<Shown> out;
    const QString name = window.objectName();
    out.push_back({name + QStringLiteral(" title"), window.windowTitle()});
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (!isShown(*widget, window) || holdsData(*widget))
            continue;
        const QString where =
            name + QLatin1Char('.') + widget->metaObject()->className() + QLatin1Char(' ') + widget->objectName();
        if (!widget->toolTip().isEmpty())
            out.push_back({where + QStringLiteral(" tool tip"), widget->toolTip()});
        if (auto *label = qobject_cast<QLabel *>(widget))
            // Without a buddy, a label shows its "&" as it is.
            out.push_back({where, label->buddy()
                                      ? label->text()
                                      : QString(label->text()).replace(QLatin1Char('&'), QStringLiteral("&&"))});
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            out.push_back({where, button->text()});
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            out.push_back({where, group->title()});
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            out.push_back({where + QStringLiteral(" placeholder"), edit->placeholderText()});
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            for (int i = 0; i < combo->count(); ++i)
                out.push_back({where + QStringLiteral(" item"), combo->itemText(i)});
        else if (auto *tabs = qobject_cast<QTabWidget *>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                out.push_back({where + QStringLiteral(" tab"), tabs->tabText(i)});
        else if (auto *tree = qobject_cast<QTreeWidget *>(widget); tree && !tree->isHeaderHidden())
            for (int i = 0; i < tree->columnCount(); ++i)
                out.push_back({where + QStringLiteral(" column"), tree->headerItem()->text(i)});
        else if (auto *bar = qobject_cast<QMenuBar *>(widget))
            collectMenu(bar->actions(), where, out);
    }
    return out;
}

class EveryWindowText : public AppFixture, public ::testing::WithParamInterface<const char *>
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        const QString pack = QString::fromLatin1(GetParam());
        ASSERT_TRUE(QFile::copy(shippedPackPath(GetParam()), exeDir + QStringLiteral("info/") + pack));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/info/intro.hlp"),
                                exeDir + QStringLiteral("info/intro.hlp")));
        writeIni("[Config]\nLNGFile=" + pack.toUtf8() + "\n");
        packTexts = std::make_unique<PackTexts>(shippedPackPath(GetParam()));
    }

    // Every text shown that the pack cannot produce, with where it shows.
    QStringList foreign(const std::vector<Shown> &shown) const
    {
        QStringList out;
        for (const Shown &s : shown) {
            // A title joins its parts with " - ".
            bool fromPack = true;
            for (const QString &part : withoutAccelerators(s.text).split(QStringLiteral(" - ")))
                fromPack = fromPack && (part.isEmpty() || packTexts->produces(part) || isNameOrData(part));
            if (!fromPack && !packTexts->produces(withoutAccelerators(s.text)))
                out.append(s.where + QStringLiteral(": ") + s.text);
        }
        return out;
    }

    void check(QWidget &window) { expectFromPack(textsShownBy(window)); }

    void expectFromPack(const std::vector<Shown> &shown)
    {
        EXPECT_EQ(foreign(shown), QStringList()) << GetParam();
        checked += shown.size();
    }

    // The texts of the modal window that opening shows, which is then closed.
    std::vector<Shown> textsOfModal(const std::function<void()> &opening)
    {
        std::vector<Shown> shown;
        QTimer::singleShot(0, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            shown = textsShownBy(*modal);
            modal->close();
        });
        opening();
        return shown;
    }

    std::unique_ptr<PackTexts> packTexts;
    std::size_t checked = 0;
};

} // namespace

TEST_P(EveryWindowText, ComesFromTheLoadedPack)
{
    app::TVelmora &w = start();
    w.createOtherWindows();
    ASSERT_TRUE(dialogs.messages.empty());

    // The main window with all its menus, the editor's popup menu and the find dialog.
    check(w);
    QMenu *popup = w.editor->preparePopupMenu();
    ASSERT_NE(popup, nullptr);
    std::vector<Shown> popupTexts;
    collectMenu(popup->actions(), QStringLiteral("popup"), popupTexts);
    expectFromPack(popupTexts);
    check(*w.findChild<QDialog *>(QStringLiteral("FD")));

    // Preferences on every tab, about and info on every page, help.
    w.PrefsW->FormShow();
    check(*w.PrefsW);
    w.ApplyLanguageAboutW();
    w.Form3->ReadCpuId = [] { return std::optional<platform::CpuIdentity>(); };
    check(*w.Form3);
    w.Form3->Button1Click();
    check(*w.Form3);
    w.ApplyLanguageInfoW();
    check(*w.InfoW);
    w.HelpShowA();
    QWidget *help = w.findChild<QWidget *>(QStringLiteral("HelpWindow"));
    ASSERT_NE(help, nullptr);
    check(*help);

    // The keyword editors, both kinds, with their file dialogs.
    core::TKeywordList keywords;
    keywords.Add("mov");
    widget::TKeywordsEditorDlg keywordEditor(keywords, true, true, &w);
    check(keywordEditor);
    core::TStartStopKeyList startStop;
    widget::TKeywordsEditorDlg startStopEditor(startStop, true, true, &w);
    check(startStopEditor);
    for (QAction *action : keywordEditor.findChild<QMenuBar *>()->actions().front()->menu()->actions())
        action->trigger();

    // The running window.
    platform::ChildProcess child;
    platform::RunningWindow running(QStringLiteral("tasm.exe /z prog.asm"), child, &w);
    check(running);

    // The file dialogs and the boxes a user meets: parameters, a missing tool, unsaved
    // changes, a failed save, a change made by another program.
    const auto command = [](const std::function<void()> &run) { app::TVelmora::runCommand(run); };
    // The DOS tools, which the empty tools folder lacks, so that their absence is reported.
    w.state().settings.build.toolChain = toolchain::Chain::DosTools;
    command([&] { w.OpenA(); });
    command([&] { w.SaveAsA(); });
    command([&] { w.PrefsW->BitBtn2Click(); });
    command([&] { w.TasmClickA_PSTR(); });
    command([&] { w.TlinkClickA_PSTR(); });
    w.editor->SetTextBuf("mov ax, bx");
    dialogs.answers = {platform::Answer::Cancel};
    command([&] { w.NewA(); });
    dialogs.files = {folder.path() + QStringLiteral("/no such folder/prog.asm")};
    command([&] { w.SaveAsA(); });
    const QString source = writeFile("prog.asm", "mov ax, bx\r\n");
    dialogs.answers = {platform::Answer::Discard};
    command([&] { w.OpenSourceFile(source); });
    writeFile("prog.asm", "changed elsewhere, longer\r\n");
    dialogs.answers = {platform::Answer::No};
    command([&] { w.FormActivate(); });
    // A copy that a run which ended without saving left behind.
    w.editor->SetTextBuf("unsaved");
    w.writeRecoveryCopy();
    const QStringList copies = QDir(recoveryDir()).entryList({QStringLiteral("*.recovery")}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    ASSERT_TRUE(QFile::rename(recoveryDir() + copies[0], recoveryDir() + QStringLiteral("99999-0.recovery")));
    dialogs.answers = {platform::Answer::Cancel};
    command([&] { w.offerRecoveryCopies(); });
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.messages.back().text.startsWith(QStringLiteral("Velmora "))) << "the recovery offer";
    // The Preferences' own questions.
    dialogs.answers = {platform::Answer::Cancel, platform::Answer::Cancel};
    command([&] { w.PrefsW->SpeedButton3Click(); });
    command([&] { w.PrefsW->Button1Click(); });

    std::vector<Shown> boxes;
    for (const auto &request : dialogs.fileRequests) {
        boxes.push_back({QStringLiteral("file dialog title"), request.title});
        boxes.push_back({QStringLiteral("file dialog filter"), request.filter});
    }
    for (const QString &prompt : dialogs.inputPrompts)
        for (const QString &part : prompt.split(QLatin1Char('|')))
            boxes.push_back({QStringLiteral("input box"), part});
    for (const auto &message : dialogs.messages)
        boxes.push_back({QStringLiteral("message box"), message.text});
    EXPECT_GE(dialogs.fileRequests.size(), 9u);
    EXPECT_EQ(dialogs.inputPrompts.size(), 2u);
    EXPECT_GE(dialogs.messages.size(), 8u);
    expectFromPack(boxes);

    // The toolkit's own boxes, with their buttons.
    platform::QtDialogs real;
    expectFromPack(textsOfModal([&] {
        real.message(platform::MessageKind::Confirmation, w.texts.messages.saveChanges.arg(QStringLiteral("a.asm")),
                     {platform::Answer::Save, platform::Answer::Discard, platform::Answer::Cancel});
    }));
    expectFromPack(textsOfModal([&] {
        real.message(platform::MessageKind::Confirmation, w.texts.messages.reload.arg(QStringLiteral("a.asm")),
                     {platform::Answer::Yes, platform::Answer::No, platform::Answer::Ok});
    }));
    expectFromPack(textsOfModal([&] { real.input(w.texts.build.tasmParameters, w.texts.build.inputParameters, {}); }));

    // After an assembly (which first asks whether to overwrite the other program's change):
    // the summary in the status bar.
    const QString tasm = exeDir + QStringLiteral("TTDIR/tasm.exe");
    QFile script(tasm);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf 'Error messages:    None\\r\\nWarning messages:  None\\r\\n'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString current = QDir::currentPath();
    command([&] { w.TasmClick(); });
    QDir::setCurrent(current);
    EXPECT_FALSE(w.findChild<QLabel *>(QStringLiteral("sbPanel2"))->text().isEmpty());
    check(w);
    expectFromPack({{QStringLiteral("message box"), dialogs.messages.back().text}});

    EXPECT_GT(checked, 350u) << "the walk reaches every window";
}

INSTANTIATE_TEST_SUITE_P(Packs, EveryWindowText, ::testing::Values("LNGPAK_Rus.lng", "LNGPAK_Eng.lng"));

TEST(EveryWindowText, AnEnglishTextLeftInTheRussianWindowsIsCaught)
{
    const PackTexts russian(shippedPackPath("LNGPAK_Rus.lng"));
    EXPECT_TRUE(russian.produces(QStringLiteral("Сохранить изменения в файле «prog.asm»?")));
    EXPECT_TRUE(russian.produces(QStringLiteral("Найти далее"))) << "the accelerator is no part of the text";
    EXPECT_FALSE(russian.produces(QStringLiteral("Save changes to prog.asm?")));
    EXPECT_FALSE(russian.produces(QStringLiteral("Mouse pointer")));
    EXPECT_TRUE(isNameOrData(QStringLiteral("Tasm [ F7 ]")));
    EXPECT_TRUE(isNameOrData(QStringLiteral("/home/student/prog.asm")));
    EXPECT_FALSE(isNameOrData(QStringLiteral("Untitled - Velmora 3.0")));
}
