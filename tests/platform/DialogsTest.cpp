#include "platform/Dialogs.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
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
