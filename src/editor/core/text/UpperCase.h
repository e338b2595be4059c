// Upper-casing of single-byte text, chosen by TsmUpperCase. The editor text, the keyword
// lists and the folded-text cache all fold through foldUpper().
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::core {

enum TsmUpperCase : std::uint8_t {
    smuAscii = 0,       // a-z only
    smuAnsi = 1,        // the locale's rule: Windows-1251 letters, Latin and Cyrillic
    smuUserDefined = 2, // the application's hook; the ASCII rule while none is installed
};

// The application-installed routine for smuUserDefined: folds a NUL-terminated buffer in place.
using UserUpperCaseHook = void (*)(char *zeroTerminated);

void setUserUpperCaseHook(UserUpperCaseHook hook);
UserUpperCaseHook userUpperCaseHook();

// Folds len bytes in place with the given routine.
void foldUpper(char *text, std::size_t len, TsmUpperCase type);

// The one-byte rules, for callers that fold byte by byte.
std::uint8_t asciiUpper(std::uint8_t c);
std::uint8_t ansiUpper(std::uint8_t c);

} // namespace velmora::core
