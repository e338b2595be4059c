// The value of an expression or operand: a number, possibly relative to a segment or an
// external name, possibly an address in memory (with base and index registers), or a
// register. Type sizes follow TASM's TYPE values: 1, 2, 4, 8, 10, a structure's size,
// 0FFFFh for NEAR and 0FFFEh for FAR.
#pragma once

#include <cstdint>

namespace velmora::assembler
{

enum class RegClass { None, Byte, Word, Segment };

// Register numbers as the ModRM byte encodes them.
namespace reg
{
inline constexpr int AX = 0, CX = 1, DX = 2, BX = 3, SP = 4, BP = 5, SI = 6, DI = 7;
inline constexpr int AL = 0, CL = 1;
inline constexpr int ES = 0, CS = 1, SS = 2, DS = 3;
} // namespace reg

inline constexpr int TypeNear = 0xFFFF;
inline constexpr int TypeFar = 0xFFFE;

// What a relocatable value is relative to.
enum class Relocation {
    None,         // a plain number
    Offset,       // an offset in segment `target`
    SegmentBase,  // the paragraph of segment (or group, `targetIsGroup`) `target`
    External,     // the offset of external `target` plus the number
    ExternalBase, // the paragraph of external `target`
};

enum class Distance { Default, Short, Near, Far };

struct Value {
    std::int64_t number = 0;
    Relocation relocation = Relocation::None;
    int target = -1;
    bool targetIsGroup = false;

    bool memory = false; // an address to read or write
    int base = -1;       // BX or BP inside brackets
    int index = -1;      // SI or DI inside brackets
    int override = -1;   // a segment register written before ':'
    int type = 0;        // size of the addressed item, 0 when not known

    RegClass regClass = RegClass::None; // a register operand
    int reg = -1;

    bool unknown = false;                  // refers to a symbol not defined (yet)
    bool isCode = false;                   // a code label or procedure (a jump target, not a variable)
    bool isExternAbs = false;              // an external constant (EXTRN name:ABS)
    Distance distance = Distance::Default; // SHORT, NEAR PTR, FAR PTR
    bool explicitType = false;             // typed with PTR

    bool isRegister() const { return regClass != RegClass::None; }
    bool isImmediate() const { return !memory && !isRegister(); }
    bool relocatable() const { return relocation != Relocation::None; }
    bool hasIndex() const { return base >= 0 || index >= 0; }
};

} // namespace velmora::assembler
