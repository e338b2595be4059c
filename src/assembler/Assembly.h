// One assembly of a source file: the options TASM's switches give, the messages in TASM's
// words with their places, the listing lines and the module. `assemble` is the whole run:
// it reads the source once per pass and gives everything back as data.
#pragma once

#include "assembler/ObjectModule.h"
#include "assembler/SourceLines.h"
#include "assembler/Symbols.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::assembler
{

struct AssemblyOptions {
    // /m: passes until sizes settle (at most maxPasses), so forward references need no
    // padding. Without it the source is read as TASM's single pass reads it.
    bool multiPass = false;
    int maxPasses = 1;
    int warningLevel = 1;          // /w0 none, /w1 and /w2 the usual ones
    bool keepListing = false;      // fill Assembly::listing (for a listing file or its tests)
    std::string date = "01/01/00"; // ??DATE, mm/dd/yy
    std::string time = "00:00:00"; // ??TIME
};

enum class MessageKind { Warning, Error, Fatal };

struct Message {
    MessageKind kind = MessageKind::Error;
    std::string file; // empty for the command line
    int line = 0;
    std::string macroName; // the innermost macro, for "NAME(n)"
    int macroLine = 0;
    std::string text;
    // The source line TASM prints before the message under /z: the calling line for an
    // error in a macro expansion.
    std::string sourceText;
};

// A relocation mark as the listing prints it after a number: r, s, sr, e, se.
struct RelocationMark {
    int index = 0;  // first byte of the field in the line's bytes
    int length = 2; // bytes in the field
    std::string letters;
};

struct ListingLine {
    SourceLine source;
    bool hasOffset = false;
    std::uint32_t offset = 0;
    bool inStructure = false; // the offset is within a STRUC definition (listed "*nnn")
    std::vector<std::uint8_t> bytes;
    std::vector<bool> initialised; // false: listed "??"
    std::vector<RelocationMark> relocations;
    std::vector<std::string> shown; // the data field's pieces as TASM prints them
    std::string equate;             // "=000F" or the text of a text equate
    std::vector<int> messages;      // indices into the assembly's messages
};

struct Assembly {
    ObjectModule module;
    SymbolTable symbols;
    std::vector<Message> messages;
    std::vector<ListingLine> listing; // only with AssemblyOptions::keepListing
    std::vector<std::string> fileNames;
    std::vector<std::string> macroNames; // upper case, alphabetical
    int passes = 1;
    bool fatal = false;
};

// Assembles the main file (its text given, its path used for INCLUDE and messages); the
// reader supplies included files.
Assembly assemble(const std::string &path, const std::string &text, const FileReader &reader,
                  const AssemblyOptions &options = {});

} // namespace velmora::assembler
