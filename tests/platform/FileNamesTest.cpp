#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora::platform;

namespace {
void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}
} // namespace

TEST(FileNames, FindsEntriesWhateverTheirLetterCase)
{
    QTemporaryDir tmp;
    touch(tmp.filePath("TASM.OUT"));
    touch(tmp.filePath("prog.asm"));
    EXPECT_EQ(findIgnoringCase(tmp.path(), "tasm.out"), tmp.filePath("TASM.OUT"));
    EXPECT_EQ(findIgnoringCase(tmp.path(), "prog.asm"), tmp.filePath("prog.asm"));
    EXPECT_EQ(findIgnoringCase(tmp.path(), "missing.txt"), tmp.filePath("missing.txt"));
}

TEST(FileNames, ExactMatchWinsOverOtherCase)
{
    QTemporaryDir tmp;
    touch(tmp.filePath("Run.out"));
    touch(tmp.filePath("run.out"));
    EXPECT_EQ(findIgnoringCase(tmp.path(), "run.out"), tmp.filePath("run.out"));
}

TEST(FileNames, ResolvesEveryComponentOfAPath)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkpath("Build/TTDIR"));
    touch(tmp.filePath("Build/TTDIR/Def_Templ.asm"));
    EXPECT_EQ(resolveIgnoringCase(tmp.path() + "/build/ttdir/def_templ.ASM"), tmp.filePath("Build/TTDIR/Def_Templ.asm"));
    EXPECT_EQ(resolveIgnoringCase(tmp.path() + "/build/nothing/x"), tmp.path() + "/build/nothing/x");
}
