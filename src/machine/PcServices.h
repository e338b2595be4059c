// The DOS and BIOS services of the built-in PC, behind the CPU's interrupt vectors: INT 20h
// and the INT 21h functions a student program uses, the BIOS video (10h), keyboard (16h),
// clock (1Ah), equipment (11h) and memory size (12h) services. Each function sets DOS's
// or the BIOS's documented register results; a DOS function that fails sets CF and AX =
// the DOS error code. Anything not provided ends the run with a message naming it and the
// caller's CS:IP.
//
// What the program writes to standard output through DOS (functions 02h, 06h, 09h, 40h to
// handle 1 and the echo of 0Ah) is shown on the screen and kept in output(), byte for byte
// as a redirected run's file holds it. Echo of 01h and of console reads through 3Fh, and
// writes to handle 2, go to the screen only, as they do not go to a redirection file.
//
// Keyboard reads with no key waiting call Cpu::waitAndRetry(): the run returns, and the
// same call comes again after a key has been pressed.
//
// For a debugger's steps back, state() and restore() take and put back what the services
// keep between calls apart from the open files; fileOperations() counts the calls that
// reached the disk, which no restore can take back.
#pragma once

#include "machine/Cpu.h"
#include "machine/FileTable.h"
#include "machine/FolderSandbox.h"
#include "machine/KeyboardQueue.h"
#include "machine/LineInput.h"
#include "machine/MemoryArena.h"
#include "machine/TextScreen.h"
#include "machine/WallClock.h"

#include <cstdint>
#include <string>

namespace velmora::machine
{

class PcServices : public ServiceHost
{
public:
    enum class Outcome { Running, Ended, Stopped };

    struct State {
        // The output only grows while a program runs: its length is enough.
        size_t outputLength = 0;
        std::string consoleLine;
        int pendingScanCode = -1;
        bool waiting = false;
        bool retry = false;
        Outcome outcome = Outcome::Running;
        uint8_t exitCode = 0;
        std::string message;
        LineInput lineInput;
        uint16_t psp = 0;
    };

    PcServices(Memory &memory, TextScreen &screen, KeyboardQueue &keyboard, MemoryArena &arena);

    void service(uint8_t vector, Cpu &cpu) override;

    // Starts a new program: its PSP, the folder its files live in; files closed, output,
    // outcome and pending input cleared.
    void startProgram(uint16_t psp, const std::string &folder);
    void setClock(WallClock clock) { clock_ = std::move(clock); }

    State state() const;
    void restore(const State &state);
    // Creates, opens, closes, reads, writes, seeks and deletes of files in the folder so far.
    uint64_t fileOperations() const { return fileOperations_; }
    uint16_t psp() const { return psp_; }

    const std::string &output() const { return output_; }
    Outcome outcome() const { return outcome_; }
    // The program's exit code once it has ended.
    uint8_t exitCode() const { return exitCode_; }
    // Why the run was stopped.
    const std::string &message() const { return message_; }

private:
    // Dispatch by vector and function.
    void dos(Cpu &cpu);
    void video(Cpu &cpu);
    void keyboardService(Cpu &cpu);
    void timer(Cpu &cpu);
    void terminate(Cpu &cpu, uint8_t exitCode);
    void stopWith(Cpu &cpu, const std::string &message);
    // Stops with "Unsupported function INT nnh AH=nnh at CS:IP".
    void unsupportedFunction(Cpu &cpu, uint8_t vector);
    void waitForKey(Cpu &cpu);
    // Closes every file handle (a disk operation when a file was open).
    void closeAllFiles();

    // Console input and output (DosConsoleServices.cpp).
    void writeStandardOutput(uint8_t character);
    void showOnScreen(uint8_t character);
    // DOS's character input: an extended key comes as 0, then its scan code. False when no
    // key is there; with wait, the call is then retried.
    bool takeCharacter(Cpu &cpu, uint8_t &character, bool wait);
    bool keyWaiting() const;
    void characterInput(Cpu &cpu, bool echo);
    void directConsole(Cpu &cpu);
    void printString(Cpu &cpu);
    void bufferedInput(Cpu &cpu);
    void flushAndInput(Cpu &cpu);
    // Reads from the console handle: a line edited as in 0Ah, with CR LF, given out in parts.
    void readConsole(Cpu &cpu);

    // Files (DosFileServices.cpp).
    void createFile(Cpu &cpu);
    void openFile(Cpu &cpu);
    // The result of opening or creating: the handle now holding fd in AX, or DOS's error
    // for a failed open (errno) or a full handle table (fd is closed).
    void giveHandle(Registers &regs, int fd, bool readable, bool writable);
    void closeFile(Cpu &cpu);
    void readFile(Cpu &cpu);
    void writeFile(Cpu &cpu);
    void deleteFile(Cpu &cpu);
    void seekFile(Cpu &cpu);
    void currentDirectory(Cpu &cpu);
    std::string fileName(const Registers &regs) const;

    // Memory, vectors, clock, version, process (DosSystemServices.cpp).
    void allocateMemory(Cpu &cpu);
    void freeMemory(Cpu &cpu);
    void resizeMemory(Cpu &cpu);
    void setVector(Cpu &cpu);
    void getVector(Cpu &cpu);
    void date(Cpu &cpu);
    void time(Cpu &cpu);
    void version(Cpu &cpu);

    // BIOS video (BiosServices.cpp).
    void setVideoMode(Cpu &cpu);
    void writeCells(Cpu &cpu, bool withAttribute);

    Memory &memory_;
    TextScreen &screen_;
    KeyboardQueue &keyboard_;
    MemoryArena &arena_;
    FileTable files_;
    FolderSandbox sandbox_;
    LineInput lineInput_;
    WallClock clock_ = hostLocalTime;

    uint16_t psp_ = 0;
    std::string output_;
    // The rest of a console line read through 3Fh that the program has not taken yet.
    std::string consoleLine_;
    // The scan code DOS's character input gives after the 0 of an extended key.
    int pendingScanCode_ = -1;
    // Whether the last call waited for a key, and whether the current one is its retry.
    bool waiting_ = false;
    bool retry_ = false;
    Outcome outcome_ = Outcome::Running;
    uint8_t exitCode_ = 0;
    std::string message_;
    uint64_t fileOperations_ = 0;
};

// DOS's register conventions for a function's result.
inline void succeed(Registers &regs)
{
    regs.setFlag(CF, false);
}

inline void fail(Registers &regs, uint16_t error)
{
    regs.ax = error;
    regs.setFlag(CF, true);
}

} // namespace velmora::machine
