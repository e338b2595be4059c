#include "assembler/omf/OmfFraming.h"

#include "assembler/omf/OmfError.h"
#include "assembler/omf/OmfRecords.h"

#include <stdexcept>

namespace velmora::assembler::omf
{

std::vector<RawRecord> splitRecords(std::span<const std::uint8_t> file)
{
    std::vector<RawRecord> records;
    std::size_t pos = 0;
    while (pos < file.size()) {
        if (file.size() - pos < 3)
            throw OmfError("Truncated record header", pos);
        const std::size_t length = file[pos + 1] | file[pos + 2] << 8;
        if (length == 0)
            throw OmfError("Record without checksum byte", pos);
        if (file.size() - pos - 3 < length)
            throw OmfError("Truncated record", pos);
        const std::uint8_t checksum = file[pos + 2 + length];
        if (checksum != 0) {
            std::uint8_t sum = 0;
            for (std::size_t k = pos; k < pos + 3 + length; ++k)
                sum = static_cast<std::uint8_t>(sum + file[k]);
            if (sum != 0)
                throw OmfError("Bad checksum", pos);
        }
        records.push_back({file[pos], file.subspan(pos + 3, length - 1), pos});
        pos += 3 + length;
        if (records.back().type == MODEND)
            return records;
    }
    throw OmfError("Object file ends without MODEND", pos);
}

void appendRecord(std::vector<std::uint8_t> &out, std::uint8_t type, std::span<const std::uint8_t> body)
{
    const std::size_t length = body.size() + 1;
    if (length > 0xFFFF)
        throw std::invalid_argument("OMF record body too long: " + std::to_string(body.size()) + " bytes");
    const std::size_t start = out.size();
    out.push_back(type);
    out.push_back(static_cast<std::uint8_t>(length));
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.insert(out.end(), body.begin(), body.end());
    std::uint8_t sum = 0;
    for (std::size_t k = start; k < out.size(); ++k)
        sum = static_cast<std::uint8_t>(sum + out[k]);
    out.push_back(static_cast<std::uint8_t>(-sum));
}

} // namespace velmora::assembler::omf
