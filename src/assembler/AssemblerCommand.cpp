#include "assembler/AssemblerCommand.h"

#include "assembler/Assembly.h"
#include "assembler/FileLookup.h"
#include "assembler/Lexer.h"
#include "assembler/ListingWriter.h"
#include "assembler/ObjectFile.h"

#include <cctype>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace velmora::assembler
{

namespace
{

// What the summary shows as free memory; the DOS figure has no meaning here.
constexpr int remainingMemoryKilobytes = 470;

struct CommandOptions {
    bool showSourceLines = false; // /z
    bool listing = false;         // /l or /la
    bool expandedListing = false; // /la
    bool quietWhenClean = false;  // /t
    DebugInfoLevel debugInfo = DebugInfoLevel::None; // /zi, /zd, /zn
    AssemblyOptions assembly;
    std::vector<std::string> files; // source, object, listing, cross-reference
};

const char *const helpLines[] = {
    "Syntax:  TASM [options] source [,object] [,listing]",
    "/h,/?         Display this help screen",
    "/l,/la        Generate listing: l=normal listing, la=expanded listing",
    "/ml,/mx,/mu   Accepted; symbols are always compared without regard to case",
    "/m#           Allow # multiple passes to resolve forward references",
    "/t            Suppress messages if successful assembly",
    "/w0,/w1,/w2   Set warning level: w0=none, w1=w2=warnings on",
    "/z            Display source line with error message",
    "/zi,/zd,/zn   Debug info: zi=full, zd=line numbers only, zn=none",
};

// Reads one switch; false for one this assembler does not know.
bool readSwitch(const std::string &text, CommandOptions &options)
{
    const std::string name = upperCase(text.substr(1));
    if (name == "Z") {
        options.showSourceLines = true;
    } else if (name == "ZI") {
        options.debugInfo = DebugInfoLevel::Full;
    } else if (name == "ZD") {
        options.debugInfo = DebugInfoLevel::Lines;
    } else if (name == "ZN") {
        options.debugInfo = DebugInfoLevel::None;
    } else if (name == "ML" || name == "N" || name == "Q" || name == "MU" ||
               name == "MX" || name == "W1" || name == "W2" || name == "X" || name == "C" || name == "A" ||
               name == "S") {
        // Accepted; they change nothing this assembler produces.
    } else if (name == "L") {
        options.listing = true;
        options.assembly.keepListing = true;
    } else if (name == "LA") {
        options.listing = true;
        options.expandedListing = true;
        options.assembly.keepListing = true;
    } else if (name == "T") {
        options.quietWhenClean = true;
    } else if (name == "W0") {
        options.assembly.warningLevel = 0;
    } else if (name[0] == 'M' && std::all_of(name.begin() + 1, name.end(), [](char c) { return std::isdigit(c); })) {
        options.assembly.multiPass = true;
        options.assembly.maxPasses = name.size() > 1 ? std::stoi(name.substr(1)) : 5;
    } else {
        return false;
    }
    return true;
}

std::optional<std::string> readWholeFile(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string withExtension(const std::string &name, const std::string &extension)
{
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return name;
    return name + extension;
}

std::string replaceExtension(const std::string &name, const std::string &extension)
{
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t dot = name.find_last_of('.');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::string base =
        name.substr(start, dot == std::string::npos || dot < start ? std::string::npos : dot - start);
    return base + extension;
}

std::string countText(int count)
{
    return count == 0 ? "None" : std::to_string(count);
}

std::string messageLine(const Message &message)
{
    std::string line = message.kind == MessageKind::Warning ? "*Warning* "
                       : message.kind == MessageKind::Error ? "**Error** "
                                                            : "**Fatal** ";
    if (message.file.empty())
        line += "Command line: ";
    else
        line += message.file + "(" + std::to_string(message.line) + ") ";
    if (!message.macroName.empty())
        line += message.macroName + "(" + std::to_string(message.macroLine) + ") ";
    return line + message.text;
}

} // namespace

ToolRun runAssembler(const std::vector<std::string> &arguments, const std::string &folder)
{
    ToolRun run;
    CommandOptions options;
    std::string operands;
    for (const std::string &argument : arguments) {
        if (!argument.empty() && (argument[0] == '/' || argument[0] == '-')) {
            if (argument == "/?" || upperCase(argument) == "/H") {
                operands.clear();
                break;
            }
            if (!readSwitch(argument, options)) {
                run.console = "**Fatal** Bad switch: " + argument + "\r\n";
                run.exitCode = 1;
                return run;
            }
        } else {
            operands += operands.empty() ? argument : " " + argument;
        }
    }
    const std::time_t now = std::time(nullptr);
    char date[16], time[16];
    std::strftime(date, sizeof date, "%m/%d/%y", std::localtime(&now));
    std::strftime(time, sizeof time, "%H:%M:%S", std::localtime(&now));
    options.assembly.date = date;
    options.assembly.time = time;
    std::string out = std::string(assemblerBanner) + "\r\n";
    if (operands.empty()) {
        for (const char *line : helpLines)
            out += std::string(line) + "\r\n";
        run.console = out;
        return run;
    }
    std::stringstream fields(operands);
    for (std::string field; std::getline(fields, field, ',');) {
        while (!field.empty() && field.back() == ' ')
            field.pop_back();
        while (!field.empty() && field.front() == ' ')
            field.erase(0, 1);
        options.files.push_back(field);
    }
    if (options.files.size() > 2 && !options.files[2].empty()) {
        options.listing = true;
        options.assembly.keepListing = true;
    }
    const std::string sourceName = withExtension(options.files[0], ".asm");
    out += "\r\nAssembling file:   " + sourceName + "\r\n";

    const std::filesystem::path root(folder);
    Assembly assembly;
    const std::optional<std::filesystem::path> sourcePath = findFileIgnoringCase(root, sourceName);
    const std::optional<std::string> text = sourcePath ? readWholeFile(*sourcePath) : std::nullopt;
    if (!text) {
        Message missing;
        missing.kind = MessageKind::Fatal;
        missing.text = "Can't locate file: " + sourceName;
        assembly.messages.push_back(missing);
        assembly.fatal = true;
    } else {
        const FileReader reader = [&root](const std::string &path) -> std::optional<std::string> {
            std::string name = path;
            for (char &c : name)
                if (c == '\\')
                    c = '/';
            const std::filesystem::path relative = std::filesystem::path(name).lexically_relative(root);
            const std::optional<std::filesystem::path> found =
                findFileIgnoringCase(root, relative.empty() || relative.string().starts_with("..") ? name : relative.string());
            return found ? readWholeFile(*found) : std::nullopt;
        };
        // Messages name the source as typed; DOS file names ignore letter case.
        const std::string typedPath =
            (sourcePath->parent_path() / std::filesystem::path(sourceName).filename()).string();
        assembly = assemble(typedPath, *text, reader, options.assembly);
    }

    int errors = 0, warnings = 0;
    for (const Message &message : assembly.messages) {
        // Under /z TASM reports an unexpected end of file with no message and no count.
        if (options.showSourceLines && message.kind == MessageKind::Fatal &&
            message.text == "Unexpected end of file encountered")
            continue;
        if (options.showSourceLines)
            out += message.sourceText + "\r\n";
        out += messageLine(message) + "\r\n";
        (message.kind == MessageKind::Warning ? warnings : errors)++;
    }
    out += "Error messages:    " + countText(errors) + "\r\n";
    out += "Warning messages:  " + countText(warnings) + "\r\n";
    out += "Passes:            " + std::to_string(assembly.passes) + "\r\n";
    out += "Remaining memory:  " + std::to_string(remainingMemoryKilobytes) + "k\r\n\r\n";
    run.exitCode = assembly.fatal ? 2 : errors > 0 ? 1 : 0;

    // The object file, when the source assembled without errors.
    if (text && errors == 0 && !assembly.fatal) {
        const std::string objectName = options.files.size() > 1 && !options.files[1].empty()
                                           ? withExtension(options.files[1], ".obj")
                                           : replaceExtension(sourceName, ".obj");
        const std::vector<std::uint8_t> bytes = objectFileBytes(assembly.module, options.debugInfo);
        std::ofstream(root / objectName, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        run.filesWritten.push_back(objectName);
    }

    // The listing: asked for with /l or /la, or by naming it as the third file.
    const std::string listingName = options.files.size() > 2 && !options.files[2].empty()
                                        ? withExtension(options.files[2], ".lst")
                                        : replaceExtension(sourceName, ".lst");
    if (text && options.listing) {
        ListingOptions listing;
        listing.title = sourceName;
        listing.expanded = options.expandedListing;
        listing.date = options.assembly.date;
        listing.time = options.assembly.time;
        std::ofstream(root / listingName, std::ios::binary) << writeListing(assembly, listing);
        run.filesWritten.push_back(listingName);
    }
    run.console = options.quietWhenClean && errors == 0 && warnings == 0 ? std::string() : out;
    return run;
}

} // namespace velmora::assembler
