// The memory dump: rows of 16 bytes with their address and their characters as the DOS
// screen shows them, following DS until an address is typed, and byte edits reported as a
// linear address and a value. The typed address is worked out by the parser the view is
// given; here a stand-in that knows one name.
#include "DebugViewTesting.h"

#include "app/debug/MemoryDumpView.h"

#include <QLabel>
#include <QPushButton>

#include <vector>

namespace velmora::testing
{
namespace
{

constexpr int kAddressColumn = 0;
constexpr int kFirstByteColumn = 1;
constexpr int kCharactersColumn = 17;

struct ParseCall {
    std::string text;
    std::uint16_t ds = 0;
    const debugger::DebugInfo *info = nullptr;
    std::uint16_t loadSegment = 0;
};

class MemoryDumpViewTest : public DebugViewTest
{
protected:
    MemoryDumpViewTest()
        : view([this](const std::string &text, const machine::Registers &registers, const debugger::DebugInfo &i,
                      std::uint16_t segment) -> std::optional<std::uint32_t> {
              parses.push_back({text, registers.ds, &i, segment});
              const auto found = places.find(text);
              return found == places.end() ? std::nullopt : std::optional(found->second);
          })
    {
        now.ds = 0x3000;
        before = now;
        view.OnByteEdited = [this](std::uint32_t linear, std::uint8_t value) { edits.push_back({linear, value}); };
        view.show();
    }

    QTableWidget *table() { return view.findChild<QTableWidget *>(QStringLiteral("MemoryTable")); }
    QLineEdit *address() { return view.findChild<QLineEdit *>(QStringLiteral("MemoryAddress")); }
    QPushButton *followDs() { return view.findChild<QPushButton *>(QStringLiteral("MemoryFollowDs")); }
    QLabel *message() { return view.findChild<QLabel *>(QStringLiteral("MemoryMessage")); }
    void type(const QString &text)
    {
        address()->setText(text);
        QTest::keyClick(address(), Qt::Key_Return);
    }
    QString bytesOfRow(int row)
    {
        QStringList bytes;
        for (int i = 0; i < 16; ++i)
            bytes.append(textAt(table(), row, kFirstByteColumn + i));
        return bytes.join(QLatin1Char(' '));
    }

    std::map<std::string, std::uint32_t> places{{"msg", 0x30010}, {"screen", 0xB8000}};
    std::vector<ParseCall> parses;
    std::vector<std::pair<std::uint32_t, std::uint8_t>> edits;
    app::MemoryDumpView view;
};

TEST_F(MemoryDumpViewTest, RowsShowAddressBytesAndTheScreensCharactersFromDsOnward)
{
    const std::uint8_t bytes[16] = {'H',  'i',  '!',  0x00, 0x01, 0x07, 0x7F, 0x80,
                                    0xA0, 0xAF, 0xB0, 0xDB, 0xE0, 0xF0, 0xFC, 0xFF};
    for (int i = 0; i < 16; ++i)
        memory.write8(0x30000 + i, bytes[i]);
    memory.write8(0x30010, 0x5A);
    view.show(snapshot());

    ASSERT_EQ(table()->rowCount(), app::MemoryDumpView::kRows);
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QStringLiteral("3000:0000"));
    EXPECT_EQ(bytesOfRow(0), QStringLiteral("48 69 21 00 01 07 7F 80 A0 AF B0 DB E0 F0 FC FF"));
    EXPECT_EQ(textAt(table(), 0, kCharactersColumn), QStringLiteral(u"Hi! ☺•⌂Аап░█рЁ№\u00A0"));
    EXPECT_EQ(textAt(table(), 1, kAddressColumn), QStringLiteral("3000:0010"));
    EXPECT_EQ(textAt(table(), 1, kFirstByteColumn), QStringLiteral("5A"));
    EXPECT_EQ(textAt(table(), 15, kAddressColumn), QStringLiteral("3000:00F0"));

    now.ds = 0x3001; // the dump follows DS
    view.show(snapshot());
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QStringLiteral("3001:0000"));
    EXPECT_EQ(textAt(table(), 0, kFirstByteColumn), QStringLiteral("5A"));
    EXPECT_FALSE(followDs()->isEnabled()) << "it already follows DS";
}

TEST_F(MemoryDumpViewTest, ATypedAddressHoldsTheDumpUntilFollowDsOrAnEmptyAddress)
{
    view.show(snapshot());
    type(QStringLiteral("msg"));
    ASSERT_EQ(parses.size(), 1u);
    EXPECT_EQ(parses[0].text, "msg");
    EXPECT_EQ(parses[0].ds, 0x3000);
    EXPECT_EQ(parses[0].info, &info);
    EXPECT_EQ(parses[0].loadSegment, loadSegment);
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QStringLiteral("3000:0010")) << "inside DS it shows as DS:offset";
    EXPECT_TRUE(followDs()->isEnabled());

    now.ds = 0x4000;
    view.show(snapshot());
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QStringLiteral("3000:0010")) << "a step does not move it";

    type(QStringLiteral("screen"));
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QStringLiteral("B800:0000")) << "outside DS: its own paragraph";

    QTest::mouseClick(followDs(), Qt::LeftButton);
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QStringLiteral("4000:0000"));
    EXPECT_EQ(address()->text(), QString());
    EXPECT_FALSE(followDs()->isEnabled());

    type(QStringLiteral("msg"));
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QStringLiteral("3001:0000"));
    type(QStringLiteral("  "));
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QStringLiteral("4000:0000")) << "an empty address follows DS";
    EXPECT_EQ(parses.size(), 3u) << "blanks are not parsed";
}

TEST_F(MemoryDumpViewTest, AnUnknownAddressSaysSoAndLeavesTheDumpWhereItWas)
{
    view.show(snapshot());
    type(QStringLiteral("msg"));
    type(QStringLiteral("nowhere"));
    EXPECT_FALSE(message()->isHidden());
    EXPECT_EQ(message()->text(), app::DebuggerTexts().unknownAddress.arg(QStringLiteral("nowhere")));
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QStringLiteral("3000:0010"));

    type(QStringLiteral("screen"));
    EXPECT_TRUE(message()->isHidden()) << "a good address clears the message";
}

TEST_F(MemoryDumpViewTest, AnEditedByteIsReportedByItsLinearAddressAndNotWritten)
{
    memory.write8(0x30012, 0x11);
    view.show(snapshot());
    ASSERT_TRUE(editCell(table(), 1, kFirstByteColumn + 2, QStringLiteral("7f")));
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0], std::make_pair(std::uint32_t(0x30012), std::uint8_t(0x7F)));
    EXPECT_EQ(memory.read8(0x30012), 0x11);
    EXPECT_EQ(textAt(table(), 1, kFirstByteColumn + 2), QStringLiteral("11"));

    edits.clear();
    ASSERT_TRUE(editCell(table(), 1, kFirstByteColumn + 2, QStringLiteral("11")));
    EXPECT_TRUE(edits.empty()) << "the value it holds changes nothing";
    for (const char *typed : {"100", "zz", ""}) {
        ASSERT_TRUE(editCell(table(), 0, kFirstByteColumn, QString::fromLatin1(typed)));
        EXPECT_TRUE(edits.empty()) << typed;
        EXPECT_EQ(message()->text(), app::DebuggerTexts().badHex.arg(QString::fromLatin1(typed), QStringLiteral("FF")));
    }
    EXPECT_FALSE(editCell(table(), 0, kAddressColumn, QStringLiteral("1"))) << "addresses are not edited";
    EXPECT_FALSE(editCell(table(), 0, kCharactersColumn, QStringLiteral("1")));
}

TEST_F(MemoryDumpViewTest, RowsAndEditsWrapWithinTheSegment)
{
    places["end"] = 0x30000 + 0xFFF8;
    memory.write8(0x30000, 0xC3);
    view.show(snapshot());
    type(QStringLiteral("end"));
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QStringLiteral("3000:FFF8"));
    EXPECT_EQ(textAt(table(), 0, kFirstByteColumn + 8), QStringLiteral("C3")) << "FFF8h+8 is the segment's first byte";
    EXPECT_EQ(textAt(table(), 1, kAddressColumn), QStringLiteral("3000:0008"));
    ASSERT_TRUE(editCell(table(), 0, kFirstByteColumn + 9, QStringLiteral("1")));
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].first, 0x30001u);
}

TEST_F(MemoryDumpViewTest, WithoutAProgramItShowsNothingAndTakesNoAddress)
{
    view.show(app::DebugSnapshot{});
    EXPECT_EQ(textAt(table(), 0, kAddressColumn), QString());
    EXPECT_EQ(textAt(table(), 0, kFirstByteColumn), QString());
    EXPECT_FALSE(address()->isEnabled());
    EXPECT_FALSE(followDs()->isEnabled());
    EXPECT_FALSE(editCell(table(), 0, kFirstByteColumn, QStringLiteral("1")));
}

TEST_F(MemoryDumpViewTest, NewTextsRelabelAtOnce)
{
    app::DebuggerTexts texts;
    texts.memoryTitle = QStringLiteral(u"Память");
    texts.addressPlaceholder = QStringLiteral(u"Адрес");
    texts.followDs = QStringLiteral(u"За DS");
    texts.memoryHint = QStringLiteral(u"Подсказка");
    texts.unknownAddress = QStringLiteral(u"нет адреса %1");
    view.setTexts(texts);
    EXPECT_EQ(view.windowTitle(), texts.memoryTitle);
    EXPECT_EQ(address()->placeholderText(), texts.addressPlaceholder);
    EXPECT_EQ(followDs()->text(), texts.followDs);
    EXPECT_EQ(table()->toolTip(), texts.memoryHint);
    view.show(snapshot());
    type(QStringLiteral("x"));
    EXPECT_EQ(message()->text(), QStringLiteral(u"нет адреса x"));
}

} // namespace
} // namespace velmora::testing
