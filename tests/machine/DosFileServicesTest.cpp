#include "machine/DosErrors.h"
#include "machine/ServicesFixture.h"

#include <sys/stat.h>

#include <filesystem>

namespace
{

using namespace velmora::machine;

class DosFileServicesTest : public velmora::testing::ServicesFixture
{
protected:
    static constexpr uint16_t kName = 0x100;
    static constexpr uint16_t kBuffer = 0x200;

    // Calls function ah on the ASCIIZ name with AL = al.
    void onName(uint8_t ah, const std::string &name, uint8_t al = 0)
    {
        put(kName, name + '\0');
        regs().dx = kName;
        dos(uint16_t(ah << 8 | al));
    }
    uint16_t open(const std::string &name, uint8_t access)
    {
        onName(0x3D, name, access);
        EXPECT_FALSE(carry()) << name;
        return regs().ax;
    }
    void write(uint16_t handle, const std::string &bytes)
    {
        put(kBuffer, bytes);
        regs().bx = handle;
        regs().cx = uint16_t(bytes.size());
        regs().dx = kBuffer;
        dos(0x4000);
    }
    std::string read(uint16_t handle, uint16_t count)
    {
        regs().bx = handle;
        regs().cx = count;
        regs().dx = kBuffer;
        dos(0x3F00);
        return carry() ? std::string() : get(kBuffer, regs().ax);
    }
    void seek(uint16_t handle, uint8_t origin, int32_t distance)
    {
        regs().bx = handle;
        regs().cx = uint16_t(uint32_t(distance) >> 16);
        regs().dx = uint16_t(distance);
        dos(uint16_t(0x4200 | origin));
    }
    void close(uint16_t handle)
    {
        regs().bx = handle;
        dos(0x3E00);
    }
    void expectError(uint16_t error)
    {
        EXPECT_TRUE(carry());
        EXPECT_EQ(regs().ax, error);
    }
};

TEST_F(DosFileServicesTest, CreateWriteCloseThenOpenAndReadBack)
{
    regs().cx = 0;
    onName(0x3C, "out.txt");
    ASSERT_FALSE(carry());
    const uint16_t handle = regs().ax;
    EXPECT_EQ(handle, 5); // the first after the standard handles
    write(handle, "line 1\r\n");
    EXPECT_FALSE(carry());
    EXPECT_EQ(regs().ax, 8);
    close(handle);
    EXPECT_FALSE(carry());
    EXPECT_EQ(folder.read("OUT.TXT"), "line 1\r\n");

    const uint16_t again = open("OUT.TXT", 0);
    EXPECT_EQ(read(again, 4), "line");
    EXPECT_EQ(read(again, 100), " 1\r\n");
    EXPECT_EQ(read(again, 100), ""); // at the end: AX = 0, no error
    EXPECT_FALSE(carry());
    EXPECT_EQ(regs().ax, 0);
}

TEST_F(DosFileServicesTest, CreateTruncatesAnExistingFileFoundWithoutRegardToCase)
{
    folder.write("Data.txt", "old contents");
    regs().cx = 0;
    onName(0x3C, "DATA.TXT");
    ASSERT_FALSE(carry());
    close(regs().ax);
    EXPECT_EQ(folder.read("Data.txt"), "");
    EXPECT_FALSE(folder.exists("DATA.TXT"));
}

TEST_F(DosFileServicesTest, OpenErrors)
{
    onName(0x3D, "missing.txt", 0);
    expectError(dos_error::kFileNotFound);
    folder.write("a.txt", "a");
    onName(0x3D, "a.txt", 3);
    expectError(dos_error::kInvalidAccessCode);
    onName(0x3D, "..\\a.txt", 0);
    expectError(dos_error::kPathNotFound);
    onName(0x3D, "/etc/passwd", 0);
    expectError(dos_error::kPathNotFound);
    onName(0x3D, "D:A.TXT", 0);
    expectError(dos_error::kPathNotFound);
    std::filesystem::create_directory(folder.path() / "SUB");
    onName(0x3D, "sub", 0);
    expectError(dos_error::kAccessDenied);
}

TEST_F(DosFileServicesTest, CreateErrors)
{
    regs().cx = 0;
    onName(0x3C, "C:\\X.TXT");
    expectError(dos_error::kPathNotFound);
    EXPECT_FALSE(folder.exists("X.TXT"));
    regs().cx = 0x10; // a directory
    onName(0x3C, "x.txt");
    expectError(dos_error::kAccessDenied);
}

TEST_F(DosFileServicesTest, AReadOnlyFileIsNeitherCreatedAnewNorDeleted)
{
    folder.write("RO.TXT", "keep");
    std::filesystem::permissions(folder.path() / "RO.TXT", std::filesystem::perms::owner_read);
    if (::access(folder.file("RO.TXT").c_str(), W_OK) == 0)
        GTEST_SKIP() << "running with the right to write read-only files";
    regs().cx = 0;
    onName(0x3C, "ro.txt");
    expectError(dos_error::kAccessDenied);
    onName(0x41, "ro.txt");
    expectError(dos_error::kAccessDenied);
    EXPECT_EQ(folder.read("RO.TXT"), "keep");
}

TEST_F(DosFileServicesTest, AFileOpenedForReadingCannotBeWrittenAndTheOtherWayRound)
{
    folder.write("A.TXT", "abc");
    const uint16_t reading = open("a.txt", 0);
    write(reading, "x");
    expectError(dos_error::kAccessDenied);
    const uint16_t writing = open("a.txt", 1);
    read(writing, 1);
    expectError(dos_error::kAccessDenied);
    const uint16_t both = open("a.txt", 2);
    EXPECT_EQ(read(both, 1), "a");
    write(both, "Z");
    EXPECT_FALSE(carry());
    close(both);
    EXPECT_EQ(folder.read("A.TXT"), "aZc");
}

TEST_F(DosFileServicesTest, ClosedOrUnknownHandlesGiveError6)
{
    close(7);
    expectError(dos_error::kInvalidHandle);
    read(19, 1);
    expectError(dos_error::kInvalidHandle);
    write(200, "x");
    expectError(dos_error::kInvalidHandle);
    seek(7, 0, 0);
    expectError(dos_error::kInvalidHandle);
    folder.write("A.TXT", "abc");
    const uint16_t handle = open("a.txt", 0);
    close(handle);
    EXPECT_FALSE(carry());
    close(handle);
    expectError(dos_error::kInvalidHandle);
}

TEST_F(DosFileServicesTest, TheSixteenthOpenFileGivesError4)
{
    folder.write("A.TXT", "abc");
    for (int i = 5; i < 20; ++i)
        EXPECT_EQ(open("a.txt", 0), i);
    onName(0x3D, "a.txt", 0);
    expectError(dos_error::kTooManyOpenFiles);
    regs().cx = 0;
    onName(0x3C, "b.txt");
    expectError(dos_error::kTooManyOpenFiles);
}

TEST_F(DosFileServicesTest, SeekFromStartCurrentAndEndGivesTheNewPositionInDxAx)
{
    folder.write("A.TXT", "0123456789");
    const uint16_t handle = open("a.txt", 0);
    seek(handle, 2, 0);
    EXPECT_FALSE(carry());
    EXPECT_EQ(regs().ax, 10);
    EXPECT_EQ(regs().dx, 0);
    seek(handle, 2, -3);
    EXPECT_EQ(regs().ax, 7);
    EXPECT_EQ(read(handle, 1), "7");
    seek(handle, 1, -6);
    EXPECT_EQ(regs().ax, 2);
    EXPECT_EQ(read(handle, 2), "23");
    seek(handle, 0, 0x12345);
    EXPECT_EQ(regs().dx, 0x0001);
    EXPECT_EQ(regs().ax, 0x2345);
    seek(handle, 3, 0);
    expectError(dos_error::kInvalidFunction);
}

TEST_F(DosFileServicesTest, WritingNoBytesCutsTheFileAtThePosition)
{
    folder.write("A.TXT", "0123456789");
    const uint16_t handle = open("a.txt", 2);
    seek(handle, 0, 4);
    write(handle, "");
    EXPECT_FALSE(carry());
    EXPECT_EQ(regs().ax, 0);
    close(handle);
    EXPECT_EQ(folder.read("A.TXT"), "0123");
}

TEST_F(DosFileServicesTest, DeleteRemovesTheFileAndReportsErrors)
{
    folder.write("Gone.txt", "x");
    onName(0x41, "GONE.TXT");
    EXPECT_FALSE(carry());
    EXPECT_FALSE(folder.exists("Gone.txt"));
    onName(0x41, "GONE.TXT");
    expectError(dos_error::kFileNotFound);
    onName(0x41, "..\\GONE.TXT");
    expectError(dos_error::kPathNotFound);
    std::filesystem::create_directory(folder.path() / "SUB");
    onName(0x41, "SUB");
    expectError(dos_error::kAccessDenied);
}

TEST_F(DosFileServicesTest, TheCurrentDirectoryIsTheRootOfC)
{
    put(0x300, "garbage");
    regs().si = 0x300;
    regs().dx = 0;
    dos(0x4700);
    EXPECT_FALSE(carry());
    EXPECT_EQ(regs().ax, 0x0100);
    EXPECT_EQ(get(0x300, 1), std::string(1, '\0'));
    regs().dx = 3;
    dos(0x4700);
    EXPECT_FALSE(carry());
    regs().dx = 4; // D:
    dos(0x4700);
    expectError(dos_error::kInvalidDrive);
}

TEST_F(DosFileServicesTest, FilesStillOpenAreClosedWhenTheProgramEnds)
{
    regs().cx = 0;
    onName(0x3C, "x.txt");
    const uint16_t handle = regs().ax;
    dos(0x4C00);
    write(handle, "late");
    expectError(dos_error::kInvalidHandle);
}

} // namespace

// What a debugger cannot take back: every call that reached a file of the folder counts,
// the console and the devices do not.
TEST_F(DosFileServicesTest, CallsThatReachTheDiskAreCounted)
{
    uint64_t count = services.fileOperations();
    const auto expectCounted = [&](uint64_t more, const char *what) {
        EXPECT_EQ(services.fileOperations(), count + more) << what;
        count = services.fileOperations();
    };
    write(1, "console");
    write(4, "printer");
    read(3, 10);
    seek(1, 0, 0);
    expectCounted(0, "console and devices");
    onName(0x3C, "A.TXT");
    const uint16_t handle = regs().ax;
    expectCounted(1, "create");
    write(handle, "abc");
    seek(handle, 0, 0);
    read(handle, 3);
    expectCounted(3, "write, seek, read");
    close(handle);
    expectCounted(1, "close");
    onName(0x3D, "MISSING.TXT");
    onName(0x41, "A.TXT");
    expectCounted(2, "an open that fails still looks at the disk; delete");
    // Ending the program closes what it left open.
    folder.write("C.TXT", "x");
    open("C.TXT", 0);
    count = services.fileOperations();
    call(0x20, 0);
    expectCounted(1, "the end closing a file");
}
