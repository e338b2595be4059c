// Instruction encoding for the 8086 and 80186 with TASM's choices where several encodings
// exist: register-to-register forms with the first operand in the ModRM reg field, the
// accumulator short forms, sign-extended byte immediates, short jumps where they reach,
// an 8-bit zero displacement for [bp], dropped default segment overrides, LEA of a direct
// address as MOV, and the JUMPS expansions of conditional jumps.
#pragma once

#include "assembler/ObjectModule.h"
#include "assembler/Value.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmora::assembler
{

enum class Cpu { I8086, I186, I286 };

// A field of the encoded bytes that the linker fills in.
struct EncodedFixup {
    int position = 0;
    int length = 2;
    FixupKind kind = FixupKind::Offset16;
    Relocation relocation = Relocation::Offset;
    int target = -1;
    bool targetIsGroup = false;
};

struct Encoded {
    std::vector<std::uint8_t> bytes;
    std::vector<EncodedFixup> fixups;
    // The data field as a listing shows it: one text per byte, word, pointer or prefix
    // ("B8", "0003r", "00000000sr", "26:", "F3>", "03*(05*(2E) 00)" pieces).
    std::vector<std::string> shown;
};

// The listing's relocation letters for a fixup: r, s, sr, e or se.
std::string relocationLetters(const EncodedFixup &fixup);

// Hexadecimal digits, upper case, zero-padded to `digits`.
std::string hexDigits(std::uint64_t value, int digits);

struct EncodeContext {
    int segment = -1;
    std::uint32_t offset = 0; // where the instruction starts
    Cpu cpu = Cpu::I8086;
    bool jumps = false;        // JUMPS: conditional jumps that cannot reach are expanded
    bool farProcedure = false; // RET inside a FAR procedure is RETF
    // The one-pass reading: forward references are unknown and get room for their
    // largest form. Later passes know every symbol.
    bool forwardStatement = false; // a reference of this statement was forward in the first pass
    // Whether the segment register reaches a segment (ASSUMEd to it or its group).
    std::function<bool(int segmentRegister, int segment)> reaches;
    std::function<void(const std::string &)> warn;
};

// Encodes one instruction (mnemonic upper-case) with its parsed operands.
Encoded encodeInstruction(const std::string &mnemonic, const std::vector<Value> &operands,
                          const EncodeContext &context);

// Whether the name is an instruction mnemonic or prefix this encoder knows.
bool isMnemonic(const std::string &upperName);
// A prefix that may stand alone or before an instruction on the same line.
bool isPrefix(const std::string &upperName);

// Whether a 16-bit value fits a sign-extended byte (0FF80h..0FFFFh count as negative).
bool fitsSignedByte(std::int64_t value);

} // namespace velmora::assembler
