// DOS's error codes, as INT 21h returns them in AX with the carry flag set.
#pragma once

#include <cstdint>

namespace velmora::machine::dos_error
{

constexpr uint16_t kNone = 0x00;
constexpr uint16_t kInvalidFunction = 0x01;
constexpr uint16_t kFileNotFound = 0x02;
constexpr uint16_t kPathNotFound = 0x03;
constexpr uint16_t kTooManyOpenFiles = 0x04;
constexpr uint16_t kAccessDenied = 0x05;
constexpr uint16_t kInvalidHandle = 0x06;
constexpr uint16_t kArenaTrashed = 0x07;
constexpr uint16_t kInsufficientMemory = 0x08;
constexpr uint16_t kInvalidBlock = 0x09;
constexpr uint16_t kInvalidAccessCode = 0x0C;
constexpr uint16_t kInvalidDrive = 0x0F;

} // namespace velmora::machine::dos_error
