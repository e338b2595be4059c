#include "machine/Memory.h"

#include <cstring>

namespace velmora::machine
{

Memory::Memory() : bytes_(new uint8_t[kSize])
{
    clear();
}

void Memory::clear()
{
    std::memset(bytes_.get(), 0, kSize);
}

} // namespace velmora::machine
