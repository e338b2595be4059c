#include "machine/FolderSandbox.h"
#include "machine/DosErrors.h"

#include "machine/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{

using namespace velmora::machine;
using velmora::testing::TempFolder;

TEST(ShortDosNameTest, UpperCasesAndCutsToEightDotThree)
{
    EXPECT_EQ(shortDosName("data.txt"), "DATA.TXT");
    EXPECT_EQ(shortDosName("VeryLongName.text"), "VERYLONG.TEX");
    EXPECT_EQ(shortDosName("noext"), "NOEXT");
    EXPECT_EQ(shortDosName("a-b_c.1"), "A-B_C.1");
}

TEST(ShortDosNameTest, RefusesWhatIsNotAFileName)
{
    for (const char *name : {"", ".", "..", ".hidden", "a.b.c", "a b", "*.txt", "a?", "x/y", "x\\y", "c:x", "a|b"})
        EXPECT_EQ(shortDosName(name), "") << name;
}

class FolderSandboxTest : public ::testing::Test
{
protected:
    void SetUp() override { sandbox.setFolder(folder.path().string()); }

    TempFolder folder;
    FolderSandbox sandbox;
};

TEST_F(FolderSandboxTest, NamesMatchFilesWithoutRegardToLetterCase)
{
    folder.write("Input.txt", "x");
    for (const char *name : {"INPUT.TXT", "input.txt", "C:Input.Txt", "c:INPUT.TXT"}) {
        const FolderSandbox::Lookup lookup = sandbox.find(name);
        EXPECT_EQ(lookup.error, 0) << name;
        EXPECT_TRUE(lookup.exists) << name;
        EXPECT_EQ(lookup.hostPath, folder.file("Input.txt")) << name;
    }
}

TEST_F(FolderSandboxTest, ANewNameGoesIntoTheFolderInUpperCase)
{
    const FolderSandbox::Lookup lookup = sandbox.find("result.dat");
    EXPECT_EQ(lookup.error, 0);
    EXPECT_FALSE(lookup.exists);
    EXPECT_EQ(lookup.hostPath, folder.file("RESULT.DAT"));
}

TEST_F(FolderSandboxTest, PathsOtherDrivesAndDotDotAreRefused)
{
    folder.write("x.txt", "x");
    for (const char *name : {"..\\x.txt", "../x.txt", "..", "\\x.txt", "/x.txt", "C:\\x.txt", "/etc/passwd",
                             "sub\\x.txt", "D:x.txt", "a:x.txt", "C:..\\x.txt"}) {
        const FolderSandbox::Lookup lookup = sandbox.find(name);
        EXPECT_EQ(lookup.error, dos_error::kPathNotFound) << name;
        EXPECT_FALSE(lookup.exists) << name;
    }
}

TEST_F(FolderSandboxTest, ALinkLeadingOutOfTheFolderIsRefused)
{
    TempFolder outside("-outside");
    outside.write("secret.txt", "s");
    std::filesystem::create_symlink(outside.file("secret.txt"), folder.path() / "LINK.TXT");
    EXPECT_EQ(sandbox.find("link.txt").error, dos_error::kAccessDenied);

    folder.write("inside.txt", "i");
    std::filesystem::create_symlink(folder.file("inside.txt"), folder.path() / "ALIAS.TXT");
    EXPECT_EQ(sandbox.find("alias.txt").error, 0);
}

} // namespace
