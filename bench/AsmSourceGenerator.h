// A deterministic generator of realistic TASM source text for benchmarks: labels, data and
// code lines with registers, decimal and hexadecimal numbers, DOS calls and comments after
// ";", separated by CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::bench
{

// About targetBytes of source (whole lines); the same seed always gives the same text.
std::string generateAsmSource(std::size_t targetBytes, std::uint32_t seed = 1);

} // namespace velmora::bench
