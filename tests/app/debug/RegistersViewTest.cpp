// The registers view: every register with AX..DX's halves and the flags as the snapshot
// holds them, what the last step changed emphasized, and edits reported as the registers
// they make, never applied by the view itself.
#include "DebugViewTesting.h"

#include "app/debug/RegistersView.h"

#include <QLabel>

#include <vector>

namespace velmora::testing
{
namespace
{

using machine::Registers;

class RegistersViewTest : public DebugViewTest
{
protected:
    RegistersViewTest()
    {
        now.ax = 0x1234;
        now.bx = 0xABCD;
        now.cx = 0x00FF;
        now.dx = 0xFF00;
        now.si = 0x0001;
        now.di = 0x0002;
        now.bp = 0x0003;
        now.sp = 0xFFFE;
        now.ip = 0x0100;
        now.cs = 0x1F00;
        now.ds = 0x1E00;
        now.es = 0x1D00;
        now.ss = 0x1C00;
        now.setFlag(machine::CF, true);
        now.setFlag(machine::ZF, true);
        now.setFlag(machine::DF, true);
        before = now;
        view.OnRegistersEdited = [this](const Registers &r) { edits.push_back(r); };
        view.show();
        view.show(snapshot());
    }

    QTableWidget *registers() { return view.findChild<QTableWidget *>(QStringLiteral("RegistersTable")); }
    QTableWidget *flags() { return view.findChild<QTableWidget *>(QStringLiteral("FlagsTable")); }
    QLabel *message() { return view.findChild<QLabel *>(QStringLiteral("RegistersMessage")); }

    // Where a register's or a half's name stands; its value is in the next column.
    std::pair<int, int> nameCell(const QString &name)
    {
        for (int row = 0; row < registers()->rowCount(); ++row)
            for (int column = 0; column < registers()->columnCount(); ++column)
                if (textAt(registers(), row, column) == name)
                    return {row, column};
        ADD_FAILURE() << "no register " << name.toStdString();
        return {0, 0};
    }
    QString value(const QString &name)
    {
        const auto [row, column] = nameCell(name);
        return textAt(registers(), row, column + 1);
    }
    bool changed(const QString &name)
    {
        const auto [row, column] = nameCell(name);
        return emphasized(registers(), row, column + 1);
    }
    int flagColumn(const QString &name)
    {
        for (int column = 0; column < flags()->columnCount(); ++column)
            if (textAt(flags(), 0, column) == name)
                return column;
        ADD_FAILURE() << "no flag " << name.toStdString();
        return 0;
    }
    QString flag(const QString &name) { return textAt(flags(), 1, flagColumn(name)); }
    bool editRegister(const QString &name, const QString &typed)
    {
        const auto [row, column] = nameCell(name);
        return editCell(registers(), row, column + 1, typed);
    }
    // Fails the test unless exactly one edit was reported; returns it.
    Registers onlyEdit()
    {
        EXPECT_EQ(edits.size(), 1u);
        const Registers r = edits.empty() ? now : edits.back();
        edits.clear();
        return r;
    }

    app::RegistersView view;
    std::vector<Registers> edits;
};

void expectSameRegisters(const Registers &a, const Registers &b)
{
    EXPECT_EQ(a.ax, b.ax);
    EXPECT_EQ(a.bx, b.bx);
    EXPECT_EQ(a.cx, b.cx);
    EXPECT_EQ(a.dx, b.dx);
    EXPECT_EQ(a.si, b.si);
    EXPECT_EQ(a.di, b.di);
    EXPECT_EQ(a.bp, b.bp);
    EXPECT_EQ(a.sp, b.sp);
    EXPECT_EQ(a.ip, b.ip);
    EXPECT_EQ(a.cs, b.cs);
    EXPECT_EQ(a.ds, b.ds);
    EXPECT_EQ(a.es, b.es);
    EXPECT_EQ(a.ss, b.ss);
    EXPECT_EQ(a.flags, b.flags);
}

TEST_F(RegistersViewTest, ShowsEveryRegisterTheHalvesOfAxToDxAndTheFlags)
{
    const std::vector<std::pair<const char *, const char *>> expected = {
        {"AX", "1234"}, {"AH", "12"},   {"AL", "34"},   {"BX", "ABCD"}, {"BH", "AB"},   {"BL", "CD"},   {"CX", "00FF"},
        {"CH", "00"},   {"CL", "FF"},   {"DX", "FF00"}, {"DH", "FF"},   {"DL", "00"},   {"SI", "0001"}, {"DI", "0002"},
        {"BP", "0003"}, {"SP", "FFFE"}, {"IP", "0100"}, {"CS", "1F00"}, {"DS", "1E00"}, {"ES", "1D00"}, {"SS", "1C00"}};
    for (const auto &[name, shown] : expected)
        EXPECT_EQ(value(QString::fromLatin1(name)), QString::fromLatin1(shown)) << name;
    const auto [siRow, siColumn] = nameCell(QStringLiteral("SI"));
    for (int column = siColumn + 2; column < registers()->columnCount(); ++column)
        EXPECT_EQ(textAt(registers(), siRow, column), QString()) << "SI has no halves";

    const std::vector<std::pair<const char *, const char *>> flagValues = {{"OF", "0"}, {"DF", "1"}, {"IF", "0"},
                                                                           {"TF", "0"}, {"SF", "0"}, {"ZF", "1"},
                                                                           {"AF", "0"}, {"PF", "0"}, {"CF", "1"}};
    ASSERT_EQ(flags()->columnCount(), 9);
    for (int column = 0; column < 9; ++column)
        EXPECT_EQ(textAt(flags(), 0, column), QString::fromLatin1(flagValues[column].first)) << "in this order";
    for (const auto &[name, shown] : flagValues)
        EXPECT_EQ(flag(QString::fromLatin1(name)), QString::fromLatin1(shown)) << name;
}

TEST_F(RegistersViewTest, WhatTheLastStepChangedIsEmphasizedDownToTheHalfAndTheFlag)
{
    before.ax = 0x1200; // only AL differs
    before.sp = 0x0000;
    before.setFlag(machine::CF, false);
    view.show(snapshot());

    EXPECT_TRUE(changed(QStringLiteral("AX")));
    EXPECT_TRUE(changed(QStringLiteral("AL")));
    EXPECT_FALSE(changed(QStringLiteral("AH")));
    EXPECT_TRUE(changed(QStringLiteral("SP")));
    EXPECT_FALSE(changed(QStringLiteral("BX")));
    EXPECT_FALSE(changed(QStringLiteral("BL")));
    EXPECT_FALSE(changed(QStringLiteral("IP")));
    EXPECT_TRUE(emphasized(flags(), 1, flagColumn(QStringLiteral("CF"))));
    EXPECT_FALSE(emphasized(flags(), 1, flagColumn(QStringLiteral("ZF"))));

    before = now;
    view.show(snapshot());
    EXPECT_FALSE(changed(QStringLiteral("AX")));
    EXPECT_FALSE(changed(QStringLiteral("AL")));
    EXPECT_FALSE(emphasized(flags(), 1, flagColumn(QStringLiteral("CF")))) << "the next step unmarks it";
}

TEST_F(RegistersViewTest, AnEditedRegisterOrHalfComesBackAsTheWholeRegistersWithOnlyThatChanged)
{
    ASSERT_TRUE(editRegister(QStringLiteral("AX"), QStringLiteral("beef")));
    Registers expected = now;
    expected.ax = 0xBEEF;
    expectSameRegisters(onlyEdit(), expected);
    EXPECT_EQ(value(QStringLiteral("AX")), QStringLiteral("1234")) << "the view waits for the next snapshot";

    ASSERT_TRUE(editRegister(QStringLiteral("AL"), QStringLiteral(" 7Fh ")));
    expected = now;
    expected.ax = 0x127F;
    expectSameRegisters(onlyEdit(), expected);

    ASSERT_TRUE(editRegister(QStringLiteral("DH"), QStringLiteral("8")));
    expected = now;
    expected.dx = 0x0800;
    expectSameRegisters(onlyEdit(), expected);

    ASSERT_TRUE(editRegister(QStringLiteral("SS"), QStringLiteral("0")));
    expected = now;
    expected.ss = 0;
    expectSameRegisters(onlyEdit(), expected);

    ASSERT_TRUE(editRegister(QStringLiteral("IP"), QStringLiteral("0100")));
    EXPECT_TRUE(edits.empty()) << "the value it already has changes nothing";
}

TEST_F(RegistersViewTest, ADoubleClickOnANameOrEnterOpensTheValuesEditor)
{
    const auto [bxRow, bxColumn] = nameCell(QStringLiteral("BX"));
    doubleClick(registers(), bxRow, bxColumn);
    QLineEdit *editor = openEditor(registers());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("ABCD"));
    typeAndEnter(editor, QStringLiteral("1"));
    Registers expected = now;
    expected.bx = 1;
    expectSameRegisters(onlyEdit(), expected);

    const auto [clRow, clColumn] = nameCell(QStringLiteral("CL"));
    registers()->setCurrentCell(clRow, clColumn);
    QTest::keyClick(registers(), Qt::Key_Return);
    editor = openEditor(registers());
    ASSERT_NE(editor, nullptr);
    typeAndEnter(editor, QStringLiteral("0"));
    expected = now;
    expected.cx = 0;
    expectSameRegisters(onlyEdit(), expected);
}

TEST_F(RegistersViewTest, BadInputSaysWhyAndChangesNothing)
{
    EXPECT_TRUE(message()->isHidden());
    for (const char *typed : {"12345", "G1", "", "0x12", "-1", "1 2"}) {
        ASSERT_TRUE(editRegister(QStringLiteral("AX"), QString::fromLatin1(typed))) << typed;
        EXPECT_TRUE(edits.empty()) << typed;
        EXPECT_FALSE(message()->isHidden()) << typed;
        EXPECT_EQ(message()->text(),
                  app::DebuggerTexts().badHex.arg(QString::fromLatin1(typed), QStringLiteral("FFFF")));
    }
    ASSERT_TRUE(editRegister(QStringLiteral("BL"), QStringLiteral("100")));
    EXPECT_TRUE(edits.empty()) << "a half takes a byte";
    EXPECT_EQ(message()->text(), app::DebuggerTexts().badHex.arg(QStringLiteral("100"), QStringLiteral("FF")));

    ASSERT_TRUE(editRegister(QStringLiteral("BL"), QStringLiteral("FF")));
    EXPECT_EQ(edits.size(), 1u);
    EXPECT_TRUE(message()->isHidden()) << "a good value clears the message";
}

TEST_F(RegistersViewTest, ADoubleClickOrEnterOnAFlagTurnsItOverAndNothingElse)
{
    doubleClick(flags(), 1, flagColumn(QStringLiteral("ZF")));
    Registers expected = now;
    expected.setFlag(machine::ZF, false);
    expectSameRegisters(onlyEdit(), expected);
    EXPECT_EQ(flag(QStringLiteral("ZF")), QStringLiteral("1")) << "until the next snapshot";

    flags()->setCurrentCell(0, flagColumn(QStringLiteral("OF")));
    QTest::keyClick(flags(), Qt::Key_Return);
    expected = now;
    expected.setFlag(machine::OF, true);
    expectSameRegisters(onlyEdit(), expected);
}

TEST_F(RegistersViewTest, WithoutAProgramItShowsNoValuesAndEditsNothing)
{
    view.show(app::DebugSnapshot{});
    EXPECT_EQ(value(QStringLiteral("AX")), QString());
    EXPECT_EQ(value(QStringLiteral("AH")), QString());
    EXPECT_EQ(flag(QStringLiteral("CF")), QString());
    EXPECT_FALSE(editRegister(QStringLiteral("AX"), QStringLiteral("1")));
    doubleClick(flags(), 1, flagColumn(QStringLiteral("CF")));
    EXPECT_TRUE(edits.empty());
}

TEST_F(RegistersViewTest, NewTextsRelabelAtOnce)
{
    app::DebuggerTexts texts;
    texts.registersTitle = QStringLiteral("Regs");
    texts.registersHint = QStringLiteral("edit hint");
    texts.flagsHint = QStringLiteral("flag hint");
    texts.badHex = QStringLiteral("bad %1 (0..%2)");
    view.setTexts(texts);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Regs"));
    EXPECT_EQ(registers()->toolTip(), QStringLiteral("edit hint"));
    EXPECT_EQ(flags()->toolTip(), QStringLiteral("flag hint"));
    ASSERT_TRUE(editRegister(QStringLiteral("AX"), QStringLiteral("x")));
    EXPECT_EQ(message()->text(), QStringLiteral("bad x (0..FFFF)"));
}

} // namespace
} // namespace velmora::testing
