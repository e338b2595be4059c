// What the built-in PC command finds to run beside a source, and a program's output held in
// memory bounded for its page as an output file is.
#include "toolchain/ProgramBesideSource.h"
#include "toolchain/OutputExcerpt.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora::toolchain;

namespace
{

class ProgramBesideSourceTest : public ::testing::Test
{
protected:
    QString make(const char *name, const QDateTime &written = QDateTime::currentDateTime()) const
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("MZ");
        file.flush(); // a write after the time was set would set it again
        EXPECT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
        return path;
    }
    QString source() const { return dir.filePath(QStringLiteral("prog.asm")); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ProgramBesideSourceTest, NoProgramOrNoFileGivesNothing)
{
    make("prog.asm");
    make("other.exe");
    make("prog.obj");
    EXPECT_EQ(programBesideSource(source()), QString());
    EXPECT_EQ(programBesideSource(QString()), QString());
}

TEST_F(ProgramBesideSourceTest, EitherKindIsFoundInAnyLetterCase)
{
    make("prog.asm");
    const QString com = make("PROG.COM");
    EXPECT_EQ(programBesideSource(source()), com);
    QFile::remove(com);
    const QString exe = make("Prog.Exe");
    EXPECT_EQ(programBesideSource(source()), exe);
}

TEST_F(ProgramBesideSourceTest, OfBothTheOneWrittenLastWins)
{
    const QDateTime earlier = QDateTime::currentDateTime().addSecs(-60);
    const QDateTime later = earlier.addSecs(30);
    make("prog.asm");
    const QString exe = make("prog.exe", earlier);
    const QString com = make("prog.com", later);
    EXPECT_EQ(programBesideSource(source()), com);
    make("prog.exe", later.addSecs(1));
    EXPECT_EQ(programBesideSource(source()), exe);
    make("prog.com", later.addSecs(1));
    EXPECT_EQ(programBesideSource(source()), exe) << "a tie goes to the .exe";
}

TEST(OutputExcerptInMemory, CutsExactlyAsTheFileExcerptDoes)
{
    QTemporaryDir dir;
    const qint64 bound = 100;
    QByteArray lines;
    for (int i = 0; lines.size() < 1000; ++i)
        lines += "line " + QByteArray::number(i) + "\r\n";
    for (const QByteArray &output : {QByteArray(), QByteArray("short\r\n"), lines.first(200), lines,
                                     QByteArray(1000, 'x') /* no line end at all */}) {
        const QString path = dir.filePath(QStringLiteral("run.out"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(output);
        file.close();

        const OutputExcerpt fromFile = readOutputExcerpt(path, bound);
        const OutputExcerpt inMemory = outputExcerpt(output, bound);
        EXPECT_TRUE(inMemory.read);
        EXPECT_EQ(inMemory.head, fromFile.head) << output.size();
        EXPECT_EQ(inMemory.tail, fromFile.tail) << output.size();
        EXPECT_EQ(inMemory.omitted, fromFile.omitted) << output.size();
        EXPECT_EQ(inMemory.head.size() + inMemory.omitted + inMemory.tail.size(), output.size());
    }
    const OutputExcerpt cut = outputExcerpt(lines, bound);
    EXPECT_GT(cut.omitted, 0);
    EXPECT_TRUE(cut.head.endsWith("\r\n"));
    EXPECT_TRUE(lines.endsWith(cut.tail));
    EXPECT_TRUE(cut.tail.startsWith("line "));
}
