// The watches: names added and removed by the student, each showing its variable's value
// as the formatter the view is given makes it (here a stand-in that shows what it was asked
// and the byte there), or saying that the program has no such variable.
#include "DebugViewTesting.h"

#include "app/debug/WatchesView.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

namespace velmora::testing
{
namespace
{

class WatchesViewTest : public DebugViewTest
{
protected:
    WatchesViewTest()
        : view([this](const debugger::DebugSymbol &symbol, std::uint16_t segment, const machine::Memory &m) {
              EXPECT_EQ(&m, &memory);
              const std::uint8_t byte = m.read8(machine::Memory::linear(segment, symbol.place.offset));
              return symbol.name + " at " + std::to_string(segment) + ": " + std::to_string(byte);
          })
    {
        debugger::DebugSymbol count;
        count.name = "Count";
        count.kind = debugger::DebugSymbolKind::Variable;
        count.place = {0x0002, 0x0010};
        count.unitSize = 1;
        count.count = 1;
        info.symbols.push_back(count);
        memory.write8(machine::Memory::linear(loadSegment + 2, 0x0010), 7);
        view.show();
    }

    QLineEdit *name() { return view.findChild<QLineEdit *>(QStringLiteral("WatchName")); }
    QPushButton *add() { return view.findChild<QPushButton *>(QStringLiteral("WatchAdd")); }
    QTreeWidget *list() { return view.findChild<QTreeWidget *>(QStringLiteral("WatchList")); }
    QString valueOf(int row) { return list()->topLevelItem(row)->text(1); }
    void addByButton(const QString &text)
    {
        name()->setText(text);
        QTest::mouseClick(add(), Qt::LeftButton);
    }

    app::WatchesView view;
};

TEST_F(WatchesViewTest, AKnownNameShowsItsValueAtItsRunningSegmentAndAnUnknownOneSaysSo)
{
    view.show(snapshot());
    addByButton(QStringLiteral("count"));
    addByButton(QStringLiteral("missing"));
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(valueOf(0), QStringLiteral("Count at 4098: 7")) << "segment 1002h: the load segment plus the frame";
    EXPECT_EQ(valueOf(1), app::DebuggerTexts().noSuchVariable);

    memory.write8(machine::Memory::linear(loadSegment + 2, 0x0010), 9);
    view.show(snapshot());
    EXPECT_EQ(valueOf(0), QStringLiteral("Count at 4098: 9")) << "worked out again at each pause";
}

TEST_F(WatchesViewTest, NamesComeFromTheButtonOrEnterTrimmedAndBlanksAreNoName)
{
    view.show(snapshot());
    addByButton(QStringLiteral("  count "));
    name()->setText(QStringLiteral("other"));
    QTest::keyClick(name(), Qt::Key_Return);
    EXPECT_EQ(name()->text(), QString()) << "ready for the next name";
    addByButton(QStringLiteral("   "));
    addByButton(QString());
    EXPECT_EQ(view.names(), (QStringList{QStringLiteral("count"), QStringLiteral("other")}));
}

TEST_F(WatchesViewTest, DeleteRemovesTheSelectedWatchOnly)
{
    view.show(snapshot());
    for (const char *watch : {"a", "b", "c"})
        view.addWatch(QString::fromLatin1(watch));
    list()->clearSelection();
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(view.names().size(), 3) << "nothing selected";

    list()->topLevelItem(1)->setSelected(true);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(view.names(), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
}

TEST_F(WatchesViewTest, WithoutAProgramEveryWatchSaysSo)
{
    view.addWatch(QStringLiteral("count"));
    EXPECT_EQ(valueOf(0), app::DebuggerTexts().noProgram);
    view.show(snapshot());
    view.show(app::DebugSnapshot{});
    EXPECT_EQ(valueOf(0), app::DebuggerTexts().noProgram);
}

TEST_F(WatchesViewTest, NewTextsRelabelAtOnceTheValuesToo)
{
    view.show(snapshot());
    view.addWatch(QStringLiteral("missing"));
    app::DebuggerTexts texts;
    texts.watchesTitle = QStringLiteral(u"Наблюдение");
    texts.watchPlaceholder = QStringLiteral(u"Имя переменной");
    texts.addWatch = QStringLiteral(u"Добавить");
    texts.watchName = QStringLiteral(u"Имя");
    texts.watchValue = QStringLiteral(u"Значение");
    texts.watchesHint = QStringLiteral(u"Delete удаляет");
    texts.noSuchVariable = QStringLiteral(u"нет такой переменной");
    view.setTexts(texts);
    EXPECT_EQ(view.windowTitle(), texts.watchesTitle);
    EXPECT_EQ(name()->placeholderText(), texts.watchPlaceholder);
    EXPECT_EQ(add()->text(), texts.addWatch);
    EXPECT_EQ(list()->headerItem()->text(0), texts.watchName);
    EXPECT_EQ(list()->headerItem()->text(1), texts.watchValue);
    EXPECT_EQ(list()->toolTip(), texts.watchesHint);
    EXPECT_EQ(valueOf(0), texts.noSuchVariable);
}

} // namespace
} // namespace velmora::testing
