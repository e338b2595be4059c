// The layer between the source files and the statement assembler: it reads lines from the
// main file and its INCLUDE files, records MACRO definitions, expands macro calls, REPT,
// IRP and IRPC, and decides IF/IFE/IFDEF/IFNDEF/IFB/IFNB/ELSE/ENDIF blocks. Every line it
// hands out keeps its file, line and nesting level; lines it consumed itself (definitions,
// conditions, skipped blocks) come out marked so that a listing can still show them.
#pragma once

#include "assembler/SourceLines.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::assembler
{

class IExpansionHost
{
public:
    virtual ~IExpansionHost() = default;
    // The value of a condition or repeat count; empty after the host reported an error.
    virtual std::optional<std::int64_t> evaluate(const std::string &expression, const SourceLine &where) = 0;
    virtual bool isDefined(const std::string &name) = 0;
    virtual void error(const std::string &text, const SourceLine &where) = 0;
    // A file that cannot be read ends the assembly ("**Fatal**").
    virtual void fatal(const std::string &text, const SourceLine &where) = 0;
};

class Expander
{
public:
    Expander(IExpansionHost &host, FileReader reader);
    ~Expander();

    // Starts over with the main file (each pass reads the source again).
    void start(const std::string &path, const std::string &text);
    // The next line, or false at the end of the main file.
    bool next(SourceLine &line);
    // END: nothing more is read.
    void stop();

    const std::vector<std::string> &fileNames() const { return fileNames_; }
    // Whether the input ended inside a MACRO, REPT or IRP definition.
    bool endedInDefinition() const { return collecting_ != nullptr; }
    int openConditionals() const { return static_cast<int>(conditions_.size()); }
    // The names of the macros defined so far, upper case, in alphabetical order.
    std::vector<std::string> macroNames() const;

private:
    struct Frame;
    struct Macro {
        std::vector<std::string> parameters;
        std::vector<std::string> body;
    };
    struct Collecting; // a definition being read up to its ENDM

    bool readRaw(SourceLine &line);
    bool handleConditional(const std::string &keyword, const std::string &operands, SourceLine &line);
    void startCollecting(int kind, std::string name, std::vector<std::string> header, const SourceLine &line);
    void finishCollecting(const SourceLine &line);
    void pushExpansion(std::vector<std::string> lines, const SourceLine &caller, const std::string &macroName);
    void callMacro(const Macro &macro, const std::string &name, const std::string &arguments, const SourceLine &line);
    bool activeBlock() const;

    IExpansionHost &host_;
    FileReader reader_;
    std::vector<std::string> fileNames_;
    std::vector<std::unique_ptr<Frame>> frames_;
    std::map<std::string, Macro> macros_;
    std::unique_ptr<Collecting> collecting_;
    // One entry per open IF: whether its current branch is assembled, whether a branch was
    // already taken, and whether the whole IF sits in an assembled block.
    struct Condition {
        bool active;
        bool taken;
        bool outerActive;
    };
    std::vector<Condition> conditions_;
    int localCounter_ = 0;
};

// Splits macro arguments at commas outside quotes and angle brackets; the brackets around
// an argument are removed ("<1,2>" is the single argument "1,2").
std::vector<std::string> splitArguments(const std::string &text);

// Replaces whole-word parameter names in a body line with their arguments. Inside quotes a
// name is replaced only next to '&'; the '&' joining a name to its neighbours is removed.
std::string substituteParameters(const std::string &line, const std::vector<std::string> &names,
                                 const std::vector<std::string> &values);

} // namespace velmora::assembler
