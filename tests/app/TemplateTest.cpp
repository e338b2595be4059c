// The default template: CR LF line breaks and the parts of a small DOS .exe program.
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <gtest/gtest.h>

namespace
{

// The template's statements: comments removed, lower case, blanks collapsed, empty lines dropped.
QStringList statements(const QByteArray &bytes)
{
    QStringList result;
    for (QString line : QString::fromLatin1(bytes).split(QStringLiteral("\r\n"))) {
        bool quoted = false;
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (line[i] == QLatin1Char('\''))
                quoted = !quoted;
            else if (line[i] == QLatin1Char(';') && !quoted)
                line.truncate(i);
        }
        line = line.simplified().toLower().replace(QStringLiteral(" ,"), QStringLiteral(","));
        if (!line.isEmpty())
            result << line;
    }
    return result;
}

} // namespace

TEST(DefaultTemplate, IsASmallExeSkeletonWithCrLfBreaks)
{
    QFile file(QStringLiteral(VELMORA_SOURCE_DIR "/data/TTDIR/def_templ.asm"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));

    const QStringList code = statements(bytes);
    auto at = [&](const QString &pattern) {
        return code.indexOf(QRegularExpression(QStringLiteral("^") + pattern + QStringLiteral("$")));
    };
    const qsizetype model = at(R"(\.model small)"), stack = at(R"(\.stack( \w+)?)"), data = at(R"(\.data)"),
                    codeSeg = at(R"(\.code)");
    ASSERT_GE(model, 0);
    EXPECT_LT(model, stack);
    EXPECT_LT(stack, data);
    EXPECT_LT(data, codeSeg);
    EXPECT_GT(at(R"(\w+ db .*'\$')"), data) << "a '$'-terminated message in the data segment";

    const qsizetype loadData = at(R"(mov ax, ?@data)");
    EXPECT_GT(loadData, codeSeg);
    EXPECT_EQ(at(R"(mov ds, ?ax)"), loadData + 1);
    const qsizetype print = at(R"(mov ah, ?0?9h?)");
    EXPECT_GT(print, loadData);
    EXPECT_EQ(at(R"(mov dx, ?offset \w+)"), print + 1);
    EXPECT_EQ(code.value(print + 2), "int 21h");
    const qsizetype exit = at(R"(mov ax, ?4c00h)");
    EXPECT_GT(exit, print);
    EXPECT_EQ(code.value(exit + 1), "int 21h");

    // Ends with "end" naming the entry label, which starts the code.
    const QRegularExpressionMatch end = QRegularExpression(R"(^end (\w+)$)").match(code.last());
    ASSERT_TRUE(end.hasMatch()) << code.last().toStdString();
    EXPECT_EQ(code.value(codeSeg + 1), end.captured(1) + ":");
}

TEST(DefaultTemplate, TheRussianOneIsTheSameCodeWithCommentsEverySourceEncodingHolds)
{
    QFile english(QStringLiteral(VELMORA_SOURCE_DIR "/data/TTDIR/def_templ.asm"));
    QFile russian(QStringLiteral(VELMORA_SOURCE_DIR "/data/TTDIR/def_templ_rus.asm"));
    ASSERT_TRUE(english.open(QIODevice::ReadOnly));
    ASSERT_TRUE(russian.open(QIODevice::ReadOnly));
    const QByteArray bytes = russian.readAll();
    EXPECT_EQ(statements(bytes), statements(english.readAll()));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));

    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    ASSERT_FALSE(utf8.hasError());
    // Beyond ASCII only Cyrillic letters: Windows-1251, CP866 and UTF-8 all hold them.
    int cyrillic = 0;
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            continue;
        EXPECT_TRUE((c >= u'А' && c <= u'я') || c == u'ё' || c == u'Ё') << int(c.unicode());
        ++cyrillic;
    }
    EXPECT_GT(cyrillic, 200);
}
