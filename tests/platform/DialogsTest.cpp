#include "platform/Dialogs.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace velmora::platform;

TEST(Dialogs, PipeFiltersBecomeToolkitFilters)
{
    EXPECT_EQ(toQtFilter("Assembler (*.asm)|*.asm|All files|*.*"),
              QString("Assembler (*.asm) (*.asm);;All files (*.*)"));
    EXPECT_EQ(toQtFilter("Texts|*.txt;*.lst"), QString("Texts (*.txt *.lst)"));
    EXPECT_EQ(toQtFilter("dangling"), QString());
}

TEST(Dialogs, ScriptedDialogsReplaceAndRestore)
{
    IDialogs *before = &dialogs();
    {
        velmora::testing::ScriptedDialogs scripted;
        scripted.answers.push_back(Answer::No);
        EXPECT_EQ(&dialogs(), &scripted);
        EXPECT_EQ(dialogs().message(MessageKind::Confirmation, "Sure?", {Answer::Yes, Answer::No}), Answer::No);
        EXPECT_EQ(dialogs().message(MessageKind::Error, "Bad"), Answer::Ok);
        ASSERT_EQ(scripted.messages.size(), 2u);
        EXPECT_EQ(scripted.messages[1].text, QString("Bad"));
        EXPECT_FALSE(dialogs().input("Caption", "Prompt", "v").has_value());
    }
    EXPECT_EQ(&dialogs(), before);
}

TEST(Dialogs, EnterPressesTheFirstButtonOffered)
{
    QtDialogs dialogs;
    QTimer enter;
    QObject::connect(&enter, &QTimer::timeout, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Return);
    });
    enter.start(50);
    EXPECT_EQ(dialogs.message(MessageKind::Confirmation, "Save anyway?", {Answer::No, Answer::Yes}), Answer::No);
    EXPECT_EQ(dialogs.message(MessageKind::Confirmation, "Save changes?", {Answer::Save, Answer::Discard}),
              Answer::Save);
}

// The toolkit's dialog would read a typed double quote as a list of quoted names and stay
// open without a word (or save under another name): the name is refused with a message.
TEST(Dialogs, AFileNameWithADoubleQuoteIsRefusedWithAMessage)
{
    velmora::testing::ScriptedDialogs scripted;
    QTemporaryDir dir;
    FileDialogRequest request;
    request.initialDir = dir.path();
    std::vector<bool> stillOpen;
    const auto type = [&](const QString &name) {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            stillOpen.push_back(false);
            return;
        }
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(name);
        static_cast<QDialog *>(dialog)->accept(); // as the Save button does
        stillOpen.push_back(dialog->isVisible());
    };
    QTimer::singleShot(0, [&] {
        type(QStringLiteral("a\"b.asm"));
        type(QStringLiteral("ab.asm"));
    });
    const std::optional<QString> chosen = QtDialogs().saveFile(request);
    EXPECT_EQ(stillOpen, (std::vector<bool>{true, false}));
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].text, QStringLiteral("The name a\"b.asm contains a double quote (\"). File names "
                                                        "with a double quote cannot be used here; choose a name "
                                                        "without one."));
    EXPECT_EQ(chosen, dir.path() + QStringLiteral("/ab.asm"));
}

TEST(Dialogs, AnInputBoxIsWideEnoughForItsWholeTitleAndPrompt)
{
    const QString title = QStringLiteral("Assembler parameters for the source file being edited now");
    const QString prompt =
        QStringLiteral("Enter the parameters given to the assembler before the file name, e.g. /zi /l");
    int shownWidth = 0;
    int neededWidth = 0;
    QTimer::singleShot(0, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            const QFontMetrics metrics(box->font());
            shownWidth = box->width();
            neededWidth = std::max(metrics.horizontalAdvance(title), metrics.horizontalAdvance(prompt));
            box->close();
        }
    });
    EXPECT_EQ(QtDialogs().input(title, prompt, QStringLiteral("/z")), std::nullopt);
    EXPECT_GT(neededWidth, 0) << "the box was shown";
    EXPECT_GT(shownWidth, neededWidth);
}
