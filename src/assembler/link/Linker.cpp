#include "assembler/link/Linker.h"

#include "assembler/FileLookup.h"
#include "assembler/link/ExeFile.h"
#include "assembler/link/ImageBuilder.h"
#include "assembler/link/LinkCommandLine.h"
#include "assembler/link/LinkLog.h"
#include "assembler/link/MapFile.h"
#include "assembler/link/NameCase.h"
#include "assembler/omf/OmfReader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace velmora::assembler::link
{

namespace
{

const char *const Banner = "Velmora Linker  Version 1.0";

const char *const UsageLines[] = {
    "Syntax: [options] objfiles[,exefile[,mapfile[,libfiles]]]",
    "Object names are separated by blanks or '+'; options may stand anywhere.",
    "Options: /m = map file with publics",
    "         /x = no map file at all",
    "         /s = detailed map of segments",
    "         /l = include source line numbers",
    "         /i = initialize all segments",
    "         /c = lower case significant in symbols",
    "         /t = create COM file (same as /Tdc)",
    "         /Tde = create EXE file (default)",
    "         /v = debug information: line numbers and symbols",
    "         /3, /n, /d, /e = accepted, no effect",
};

class Session
{
public:
    Session(const LinkOptions &options, const std::filesystem::path &folder, LinkLog &log, ToolRun &result)
        : options_(options), folder_(folder), log_(log), result_(result)
    {
    }

    void run()
    {
        loadModules();
        const SegmentLayout layout = layOutSegments(modules_, options_.caseSensitive);
        if (layout.end > MaxProgramSize)
            log_.fatal("Program exceeds 1024K");
        const SymbolTable symbols(modules_, layout, options_.caseSensitive, log_);
        const OutputSegment *stack = stackSegment(layout);
        if (options_.com && stack)
            log_.fatal("Cannot generate COM file : stack segment present");
        if (options_.com && layout.end > 0x10000)
            log_.fatal("Cannot generate COM file : program exceeds 64K");

        log_.mapText(mapSegmentList(layout));
        if (options_.mapSegments)
            log_.mapText(mapDetailedSegments(layout, modules_));
        if (options_.mapPublics)
            log_.mapText(mapPublics(symbols.publics()));
        if (options_.mapLines || options_.mapDebugInfo)
            log_.mapText(mapLineNumbers(layout, modules_));
        if (options_.mapDebugInfo)
            log_.mapText(mapDebugSymbols(layout, modules_));
        symbols.reportUndefined(log_);
        LinkedImage image = buildImage(modules_, layout, symbols, log_);
        const std::uint32_t imageEnd = options_.initializeAll ? layout.end : image.initializedEnd;
        image.bytes.resize(imageEnd);

        ResolvedAddress start;
        const bool hasStart = startAddress(layout, symbols, start);
        const std::uint16_t ip = static_cast<std::uint16_t>(start.target - start.frame * 16u);
        if (options_.com) {
            if (!image.relocations.empty())
                log_.fatal("Cannot generate COM file : segment-relocatable items present");
            if (!hasStart || start.frame != 0 || ip != 0x100)
                log_.fatal("Cannot generate COM file : invalid initial entry point address");
            writeFile(options_.program, writeComFile(image.bytes));
            return;
        }
        if (hasStart)
            log_.mapText(mapEntryPoint(start.frame, ip));
        ExeProgram program;
        program.image = std::move(image.bytes);
        program.memorySize = layout.end;
        for (std::uint32_t linear : image.relocations)
            program.relocations.push_back(relocationAt(layout, linear));
        if (hasStart) {
            program.cs = start.frame;
            program.ip = ip;
        }
        if (stack) {
            program.ss = stack->frame();
            program.sp = static_cast<std::uint16_t>(stack->start + stack->length - stack->frame() * 16u);
        } else {
            log_.warning("No stack");
        }
        writeFile(options_.program, writeExeFile(program));
    }

    void writeFile(const std::string &name, const std::vector<std::uint8_t> &bytes)
    {
        writeFile(name, std::string(bytes.begin(), bytes.end()));
    }

    void writeFile(const std::string &name, const std::string &bytes)
    {
        const std::filesystem::path path = folder_ / name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            log_.fatal("Unable to create file '" + name + "'");
        result_.filesWritten.push_back(name);
    }

private:
    void loadModules()
    {
        for (const std::string &name : options_.objects) {
            const auto path = findFileIgnoringCase(folder_, name);
            if (!path)
                log_.fatal("Unable to open file '" + name + "'");
            std::ifstream in(*path, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            try {
                modules_.push_back(indexModule(name, omf::readObject(bytes)));
            } catch (const std::runtime_error &error) {
                throw std::runtime_error("'" + name + "': " + error.what());
            }
        }
        for (const std::string &name : options_.libraries)
            if (!findFileIgnoringCase(folder_, name))
                log_.fatal("Unable to open file '" + name + "'");
    }

    static const OutputSegment *stackSegment(const SegmentLayout &layout)
    {
        for (const OutputSegment &segment : layout.segments)
            if (segment.combine == omf::Combine::Stack && !segment.absolute)
                return &segment;
        return nullptr;
    }

    // The start address of the first module that gives one.
    bool startAddress(const SegmentLayout &layout, const SymbolTable &symbols, ResolvedAddress &start) const
    {
        const AddressResolver resolver(modules_, layout, symbols);
        for (std::size_t m = 0; m < modules_.size(); ++m) {
            const omf::Modend *end = modules_[m].end;
            if (!end || !end->hasStart)
                continue;
            if (!end->logicalStart) {
                start.frame = end->start.frameDatum;
                start.target = end->start.frameDatum * 16u + end->start.displacement;
                return true;
            }
            try {
                start = resolver.resolve(m, end->start, FixupThreads{}, 0);
            } catch (const std::runtime_error &error) {
                throw std::runtime_error("'" + modules_[m].fileName + "': start address: " + error.what());
            }
            return !start.undefined;
        }
        return false;
    }

    // A relocation entry addresses the word through the frame of the segment that holds it.
    static ExeRelocation relocationAt(const SegmentLayout &layout, std::uint32_t linear)
    {
        for (const OutputSegment &segment : layout.segments)
            if (!segment.absolute && linear >= segment.start && linear < segment.start + segment.length)
                return {static_cast<std::uint16_t>(linear - segment.frame() * 16u), segment.frame()};
        return {static_cast<std::uint16_t>(linear & 0xF), static_cast<std::uint16_t>(linear >> 4)};
    }

    const LinkOptions &options_;
    const std::filesystem::path &folder_;
    LinkLog &log_;
    ToolRun &result_;
    std::vector<LinkModule> modules_;
};

} // namespace

ToolRun link(const std::vector<std::string> &arguments, const std::filesystem::path &folder)
{
    ToolRun result;
    LinkLog log;
    log.line(Banner);
    const ParsedCommandLine parsed = parseLinkCommandLine(arguments);
    if (parsed.kind == ParsedCommandLine::Kind::Usage) {
        for (const char *line : UsageLines)
            log.line(line);
        result.console = log.console();
        result.exitCode = 2;
        return result;
    }
    const LinkOptions &options = parsed.options;
    if (options.map)
        log.openMap();
    Session session(options, folder, log, result);
    try {
        if (parsed.kind == ParsedCommandLine::Kind::UnknownOption)
            log.fatal("Unknown option");
        session.run();
    } catch (const LinkFatal &) {
    } catch (const std::runtime_error &error) {
        log.fatalMessage(std::string("Bad object file ") + error.what());
    }
    if (options.map) {
        log.mapText("\r\n");
        try {
            session.writeFile(*options.map, log.map());
        } catch (const LinkFatal &) {
        }
    }
    result.console = log.console();
    result.exitCode = log.exitCode();
    return result;
}

} // namespace velmora::assembler::link
