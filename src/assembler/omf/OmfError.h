// The failure of reading an object file: what is wrong and the file offset of the record
// where it was found.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace velmora::assembler::omf
{

class OmfError : public std::runtime_error
{
public:
    OmfError(const std::string &what, std::size_t offset)
        : std::runtime_error(what + " (record at offset " + std::to_string(offset) + ")"), offset_(offset)
    {
    }
    std::size_t offset() const { return offset_; }

private:
    std::size_t offset_;
};

} // namespace velmora::assembler::omf
