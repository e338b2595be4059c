#include "machine/ProgramLoader.h"

#include <gtest/gtest.h>

#include <random>

#include <string>
#include <vector>

namespace
{

using namespace velmora::machine;

void putWord(std::vector<uint8_t> &bytes, size_t offset, uint16_t value)
{
    bytes[offset] = uint8_t(value);
    bytes[offset + 1] = uint8_t(value >> 8);
}

// An .exe of a 30h-byte header and a 30h-byte image whose words at 0002h and 0016h
// (segment 1, offset 6) are segment fixups, with the byte ABh at its end.
struct ExeFile {
    uint16_t minExtra = 0x10;
    uint16_t maxExtra = 0xFFFF;

    std::vector<uint8_t> bytes() const
    {
        std::vector<uint8_t> file(0x60, 0);
        file[0] = 'M';
        file[1] = 'Z';
        putWord(file, 0x02, 0x60); // bytes in the last page
        putWord(file, 0x04, 1);    // pages
        putWord(file, 0x06, 2);    // relocations
        putWord(file, 0x08, 3);    // header paragraphs
        putWord(file, 0x0A, minExtra);
        putWord(file, 0x0C, maxExtra);
        putWord(file, 0x0E, 0x0002); // SS
        putWord(file, 0x10, 0x0100); // SP
        putWord(file, 0x14, 0x0004); // IP
        putWord(file, 0x16, 0x0001); // CS
        putWord(file, 0x18, 0x1C);   // relocation table
        putWord(file, 0x1C, 0x0002);
        putWord(file, 0x1E, 0x0000);
        putWord(file, 0x20, 0x0006);
        putWord(file, 0x22, 0x0001);
        putWord(file, 0x30 + 0x02, 0x0001);
        putWord(file, 0x30 + 0x16, 0x1234);
        file[0x30 + 0x2F] = 0xAB;
        return file;
    }
};

class ProgramLoaderTest : public ::testing::Test
{
protected:
    LoadedProgram load(const std::vector<uint8_t> &file, std::string_view tail = {}, std::string_view name = "SRC.EXE")
    {
        arena.reset(kFirstMcbSegment, kConventionalMemoryEnd);
        return loadProgram(memory, arena, file, name, tail, regs);
    }
    uint8_t pspByte(uint16_t psp, uint16_t offset) const { return memory.read8(Memory::linear(psp, offset)); }
    uint16_t pspWord(uint16_t psp, uint16_t offset) const { return memory.read16(Memory::linear(psp, offset)); }
    std::string bytesAt(uint16_t segment, uint16_t offset, size_t count) const
    {
        std::string text;
        for (size_t i = 0; i < count; ++i)
            text += char(memory.read8(Memory::linear(segment, uint16_t(offset + i))));
        return text;
    }

    Memory memory;
    MemoryArena arena{memory};
    Registers regs;
};

TEST_F(ProgramLoaderTest, ExeIsLoadedAfterThePspWithItsFixupsAndEntryPoints)
{
    const LoadedProgram loaded = load(ExeFile{}.bytes());
    ASSERT_EQ(loaded.error, "");
    const uint16_t start = loaded.psp + 0x10;
    EXPECT_EQ(regs.cs, start + 1);
    EXPECT_EQ(regs.ip, 0x0004);
    EXPECT_EQ(regs.ss, start + 2);
    EXPECT_EQ(regs.sp, 0x0100);
    EXPECT_EQ(regs.ds, loaded.psp);
    EXPECT_EQ(regs.es, loaded.psp);
    EXPECT_TRUE(regs.flag(IF));
    EXPECT_EQ(memory.read16(Memory::linear(start, 0x02)), start + 0x0001);
    EXPECT_EQ(memory.read16(Memory::linear(start, 0x16)), start + 0x1234);
    EXPECT_EQ(memory.read8(Memory::linear(start, 0x2F)), 0xAB);
}

TEST_F(ProgramLoaderTest, PspHoldsInt20hTheMemoryTopAndTheCommandTailWithItsBlank)
{
    const LoadedProgram loaded = load(ExeFile{}.bytes(), "one two");
    ASSERT_EQ(loaded.error, "");
    EXPECT_EQ(pspByte(loaded.psp, 0), 0xCD);
    EXPECT_EQ(pspByte(loaded.psp, 1), 0x20);
    // Maximum allocation FFFFh: the program gets all memory up to 640 KB.
    EXPECT_EQ(pspWord(loaded.psp, 2), kConventionalMemoryEnd);
    EXPECT_EQ(pspByte(loaded.psp, 0x80), 8);
    EXPECT_EQ(bytesAt(loaded.psp, 0x81, 9), " one two\r");
    EXPECT_EQ(bytesAt(loaded.psp, 0x50, 3), "\xCD\x21\xCB");
}

TEST_F(ProgramLoaderTest, TheFirstTwoWordsOfTheTailBecomeTheFcbNames)
{
    LoadedProgram loaded = load(ExeFile{}.bytes(), "c:data.txt  *.asm more");
    ASSERT_EQ(loaded.error, "");
    EXPECT_EQ(bytesAt(loaded.psp, 0x5C, 12), "\x03"
                                             "DATA    TXT");
    EXPECT_EQ(bytesAt(loaded.psp, 0x6C, 12), std::string(1, '\0') + "????????ASM");
    EXPECT_EQ(regs.ax, 0x0000);

    loaded = load(ExeFile{}.bytes(), "/x d:longfilename.text");
    EXPECT_EQ(bytesAt(loaded.psp, 0x5C, 12), std::string(1, '\0') + std::string(11, ' '));
    EXPECT_EQ(bytesAt(loaded.psp, 0x6C, 12), "\x04"
                                             "LONGFILETEX");
    EXPECT_EQ(regs.al(), 0x00);
    EXPECT_EQ(regs.ah(), 0xFF); // D: is no drive of this PC
}

TEST_F(ProgramLoaderTest, EnvironmentHoldsComspecPathAndAfterTheDoubleZeroTheProgramsName)
{
    const LoadedProgram loaded = load(ExeFile{}.bytes());
    ASSERT_EQ(loaded.error, "");
    const uint16_t environment = pspWord(loaded.psp, 0x2C);
    const std::string expected = std::string("COMSPEC=C:\\COMMAND.COM\0PATH=C:\\\0\0\1\0C:\\SRC.EXE\0", 46);
    EXPECT_EQ(bytesAt(environment, 0, expected.size()), expected);
    EXPECT_EQ(arena.owner(environment), loaded.psp);
    EXPECT_EQ(arena.owner(loaded.psp), loaded.psp);
}

TEST_F(ProgramLoaderTest, MaximumAllocationLimitsTheBlockAndLeavesTheRestFree)
{
    ExeFile exe;
    exe.maxExtra = 0x100;
    const LoadedProgram loaded = load(exe.bytes());
    ASSERT_EQ(loaded.error, "");
    // PSP (10h) + image (3 paragraphs) + 100h.
    EXPECT_EQ(pspWord(loaded.psp, 2), loaded.psp + 0x10 + 3 + 0x100);
    EXPECT_EQ(arena.size(loaded.psp), 0x10 + 3 + 0x100);
    EXPECT_GT(arena.largestFree(), 0x9000);
}

TEST_F(ProgramLoaderTest, MinimumAllocationBeyondFreeMemoryIsRefused)
{
    ExeFile exe;
    exe.minExtra = 0xF000;
    const LoadedProgram loaded = load(exe.bytes());
    EXPECT_NE(loaded.error.find("Not enough memory"), std::string::npos) << loaded.error;
}

TEST_F(ProgramLoaderTest, ComIsLoadedAtOffset100hWithAZeroWordOnTopOfItsStack)
{
    memory.write16(Memory::linear(0x1000, 0xFFFE), 0xFFFF); // to see the zero written
    const std::vector<uint8_t> file = {0x90, 0xB4, 0x4C, 0xCD, 0x21};
    const LoadedProgram loaded = load(file, "", "T.COM");
    ASSERT_EQ(loaded.error, "");
    EXPECT_EQ(regs.cs, loaded.psp);
    EXPECT_EQ(regs.ds, loaded.psp);
    EXPECT_EQ(regs.es, loaded.psp);
    EXPECT_EQ(regs.ss, loaded.psp);
    EXPECT_EQ(regs.ip, 0x100);
    EXPECT_EQ(regs.sp, 0xFFFE);
    EXPECT_EQ(memory.read16(Memory::linear(loaded.psp, 0xFFFE)), 0);
    EXPECT_EQ(bytesAt(loaded.psp, 0x100, 5), std::string(file.begin(), file.end()));
    EXPECT_EQ(pspByte(loaded.psp, 0x80), 0);
    EXPECT_EQ(pspByte(loaded.psp, 0x81), '\r');
}

TEST_F(ProgramLoaderTest, ComWithAnMzSignatureIsLoadedAsExe)
{
    const LoadedProgram loaded = load(ExeFile{}.bytes(), "", "T.COM");
    ASSERT_EQ(loaded.error, "");
    EXPECT_EQ(regs.cs, loaded.psp + 0x10 + 1);
}

TEST_F(ProgramLoaderTest, BadFilesGiveAnErrorText)
{
    EXPECT_NE(load({}).error, "");
    EXPECT_NE(load({'M', 'Z', 0, 0}).error, "");

    std::vector<uint8_t> headerTooLong = ExeFile{}.bytes();
    putWord(headerTooLong, 0x08, 0x100);
    EXPECT_NE(load(headerTooLong).error, "");

    std::vector<uint8_t> noPages = ExeFile{}.bytes();
    putWord(noPages, 0x04, 0);
    EXPECT_NE(load(noPages).error, "");

    std::vector<uint8_t> relocationsOutside = ExeFile{}.bytes();
    putWord(relocationsOutside, 0x06, 0x4000);
    EXPECT_NE(load(relocationsOutside).error, "");

    EXPECT_NE(load(std::vector<uint8_t>(0xFF01, 0x90)).error, "");
    EXPECT_NE(load(ExeFile{}.bytes(), std::string(127, 'x')).error, "");
    EXPECT_EQ(load(ExeFile{}.bytes(), std::string(125, 'x')).error, "");
}

TEST_F(ProgramLoaderTest, RandomHeaderFieldsGiveAnErrorOrAProgramWithItsPsp)
{
    std::mt19937 random(25);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> file = ExeFile{}.bytes();
        file.resize(random() % 2 ? file.size() : random() % file.size());
        for (int change = 0; change < 3 && file.size() > 0x1C; ++change)
            file[2 + random() % 0x1A] = uint8_t(random());
        const LoadedProgram loaded = load(file);
        if (!loaded.error.empty())
            continue;
        EXPECT_EQ(regs.ds, loaded.psp);
        EXPECT_GE(pspWord(loaded.psp, 2), loaded.psp + 0x10);
    }
}

} // namespace
