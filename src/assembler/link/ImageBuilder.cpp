#include "assembler/link/ImageBuilder.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace velmora::assembler::link
{

namespace
{

// The last data record of a module, which its fixups refer to.
struct DataRecord {
    bool present = false;
    std::size_t output = 0;  // output segment
    std::uint32_t start = 0; // linear address of the record's first byte
    // For LIDATA: each expanded byte's linear address and its offset in the record's data.
    std::vector<std::pair<std::uint32_t, std::uint16_t>> iterated;
    bool isIterated = false;
};

// Expands an iterated block, remembering where each byte came from in the record's data.
// `position` walks the block's encoding (repeat count, block count, then a length byte
// and content or the inner blocks); nothing is emitted when `emit` is false or the block
// repeats 0 times, but the position still moves past it.
void expand(const omf::IteratedBlock &block, std::uint16_t &position, bool emit, std::vector<std::uint8_t> &bytes,
            std::vector<std::uint16_t> &origins)
{
    position = static_cast<std::uint16_t>(position + 4);
    const std::uint16_t start = position;
    const int copies = emit ? block.repeat : 0;
    for (int k = 0; k < std::max(copies, 1); ++k) {
        const bool emitCopy = k < copies;
        position = start;
        if (block.inner.empty()) {
            ++position; // content length
            for (std::uint8_t byte : block.content) {
                if (emitCopy) {
                    bytes.push_back(byte);
                    origins.push_back(position);
                }
                ++position;
            }
        }
        for (const omf::IteratedBlock &inner : block.inner)
            expand(inner, position, emitCopy, bytes, origins);
    }
}

class Builder
{
public:
    Builder(const std::vector<LinkModule> &modules, const SegmentLayout &layout, const SymbolTable &symbols,
            LinkLog &log)
        : modules_(modules), layout_(layout), resolver_(modules, layout, symbols), log_(log)
    {
        image_.bytes.assign(layout.end, 0);
    }

    LinkedImage build()
    {
        for (std::size_t m = 0; m < modules_.size(); ++m) {
            try {
                buildModule(m);
            } catch (const std::runtime_error &error) {
                throw std::runtime_error("'" + modules_[m].fileName + "': " + error.what());
            }
        }
        return std::move(image_);
    }

private:
    void buildModule(std::size_t m)
    {
        DataRecord data;
        FixupThreads threads;
        for (const omf::Record &record : modules_[m].object.records) {
            if (auto *ledata = std::get_if<omf::Ledata>(&record)) {
                data = place(m, ledata->segmentIndex, ledata->offset);
                write(data.start, ledata->data);
            } else if (auto *lidata = std::get_if<omf::Lidata>(&record)) {
                data = place(m, lidata->segmentIndex, lidata->offset);
                writeIterated(data, *lidata);
            } else if (auto *fixupp = std::get_if<omf::Fixupp>(&record)) {
                for (const auto &item : fixupp->items) {
                    if (auto *thread = std::get_if<omf::FixupThread>(&item)) {
                        auto &slot = thread->frame ? threads.frames[thread->number] : threads.targets[thread->number];
                        slot = {true, thread->method, thread->datum};
                    } else {
                        applyAll(m, data, std::get<omf::Fixup>(item), threads);
                    }
                }
            }
        }
    }

    DataRecord place(std::size_t module, std::uint16_t segmentIndex, std::uint16_t offset) const
    {
        if (segmentIndex < 1 || segmentIndex > modules_[module].segments.size())
            throw std::runtime_error("data record for segment index " + std::to_string(segmentIndex) + " out of range");
        const SegmentPlace &where = layout_.place(module, segmentIndex);
        if (layout_.segments[where.output].absolute)
            throw std::runtime_error("data record for an absolute segment");
        DataRecord data;
        data.present = true;
        data.output = where.output;
        data.start = where.base + offset;
        return data;
    }

    void checkRange(std::uint32_t linear, std::size_t size) const
    {
        if (linear + size > image_.bytes.size())
            throw std::runtime_error("data outside its segment");
    }

    void write(std::uint32_t linear, const std::vector<std::uint8_t> &bytes)
    {
        checkRange(linear, bytes.size());
        std::copy(bytes.begin(), bytes.end(), image_.bytes.begin() + linear);
        if (!bytes.empty())
            image_.initializedEnd = std::max(image_.initializedEnd, static_cast<std::uint32_t>(linear + bytes.size()));
    }

    void writeIterated(DataRecord &data, const omf::Lidata &lidata)
    {
        std::vector<std::uint8_t> bytes;
        std::vector<std::uint16_t> origins;
        std::uint16_t position = 0;
        for (const omf::IteratedBlock &block : lidata.blocks)
            expand(block, position, true, bytes, origins);
        write(data.start, bytes);
        data.isIterated = true;
        for (std::size_t k = 0; k < bytes.size(); ++k)
            data.iterated.emplace_back(data.start + k, origins[k]);
    }

    void applyAll(std::size_t module, const DataRecord &data, const omf::Fixup &fixup, const FixupThreads &threads)
    {
        if (!data.present)
            throw std::runtime_error("fixup without a data record before it");
        if (!data.isIterated) {
            apply(module, data.output, data.start + fixup.dataOffset, fixup, threads);
            return;
        }
        for (const auto &[linear, origin] : data.iterated)
            if (origin == fixup.dataOffset)
                apply(module, data.output, linear, fixup, threads);
    }

    void apply(std::size_t module, std::size_t output, std::uint32_t location, const omf::Fixup &fixup,
               const FixupThreads &threads)
    {
        const OutputSegment &segment = layout_.segments[output];
        const ResolvedAddress address = resolver_.resolve(module, fixup.address, threads, segment.frame());
        if (address.undefined)
            return; // reported with the undefined symbols
        const std::uint8_t kind = fixup.location == omf::LoaderOffset16 ? std::uint8_t{omf::Offset16} : fixup.location;
        const std::size_t size = kind == omf::Pointer32 ? 4 : (kind == omf::Offset16 || kind == omf::Base16) ? 2 : 1;
        checkRange(location, size);
        const std::int64_t frameBase = static_cast<std::int64_t>(address.frame) * 16;
        const std::int64_t offset = static_cast<std::int64_t>(address.target) - frameBase;
        const bool offsetFits = offset >= 0 && offset <= 0xFFFF;

        if (!fixup.segmentRelative) {
            const std::int64_t from = static_cast<std::int64_t>(location) + static_cast<std::int64_t>(size);
            const std::int64_t displacement = static_cast<std::int64_t>(address.target) - from;
            const bool locationFits = from - frameBase >= 0 && from - frameBase <= 0x10000;
            const bool fits = size == 1 ? displacement >= -128 && displacement <= 127 : offsetFits && locationFits;
            if ((kind != omf::LowByte && kind != omf::Offset16) || !fits) {
                overflow(module, segment, location, address);
                return;
            }
            add(location, size, static_cast<std::uint32_t>(displacement));
            return;
        }
        switch (kind) {
        case omf::LowByte:
            add(location, 1, static_cast<std::uint32_t>(offset));
            break;
        case omf::HighByte:
            add(location, 1, static_cast<std::uint32_t>(offset >> 8));
            break;
        case omf::Offset16:
            if (!offsetFits)
                return overflow(module, segment, location, address);
            add(location, 2, static_cast<std::uint32_t>(offset));
            break;
        case omf::Base16:
            add(location, 2, address.frame);
            if (address.relocatable)
                image_.relocations.push_back(location);
            break;
        case omf::Pointer32:
            if (!offsetFits)
                return overflow(module, segment, location, address);
            add(location, 2, static_cast<std::uint32_t>(offset));
            add(location + 2, 2, address.frame);
            if (address.relocatable)
                image_.relocations.push_back(location + 2);
            break;
        default:
            throw std::runtime_error("fixup location type " + std::to_string(fixup.location) + " not supported");
        }
    }

    // Adds a value to the little-endian field of `size` bytes at `linear`.
    void add(std::uint32_t linear, std::size_t size, std::uint32_t value)
    {
        std::uint32_t field = 0;
        for (std::size_t k = 0; k < size; ++k)
            field |= static_cast<std::uint32_t>(image_.bytes[linear + k]) << (8 * k);
        field += value;
        for (std::size_t k = 0; k < size; ++k)
            image_.bytes[linear + k] = static_cast<std::uint8_t>(field >> (8 * k));
    }

    void overflow(std::size_t module, const OutputSegment &segment, std::uint32_t location,
                  const ResolvedAddress &address)
    {
        char where[16];
        std::snprintf(where, sizeof where, "%04X", (location - segment.start) & 0xFFFF);
        log_.error("Fixup overflow at " + segment.name + ":" + where + ", target = " + address.targetName +
                   " in module " + modules_[module].name);
    }

    const std::vector<LinkModule> &modules_;
    const SegmentLayout &layout_;
    AddressResolver resolver_;
    LinkLog &log_;
    LinkedImage image_;
};

} // namespace

LinkedImage buildImage(const std::vector<LinkModule> &modules, const SegmentLayout &layout, const SymbolTable &symbols,
                       LinkLog &log)
{
    return Builder(modules, layout, symbols, log).build();
}

} // namespace velmora::assembler::link
