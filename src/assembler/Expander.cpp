#include "assembler/Expander.h"

#include "assembler/Lexer.h"

#include <cctype>
#include <cstdio>

namespace velmora::assembler
{

namespace
{

enum CollectKind { CollectMacro, CollectRept, CollectIrp, CollectIrpc };

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '$' || c == '?';
}

// The first one or two words of a line and the text after them.
struct LineWords {
    std::string first, second; // upper case
    std::string firstSpelling;
    std::string afterFirst, afterSecond;
};

LineWords wordsOf(const std::string &text)
{
    LineWords words;
    const std::string code = text.substr(0, commentStart(text));
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < code.size() && (code[i] == ' ' || code[i] == '\t'))
            ++i;
    };
    auto word = [&] {
        const std::size_t start = i;
        if (i < code.size() && (code[i] == '.' || isWordChar(code[i])))
            ++i;
        while (i < code.size() && isWordChar(code[i]))
            ++i;
        return code.substr(start, i - start);
    };
    skipBlanks();
    words.firstSpelling = word();
    words.first = upperCase(words.firstSpelling);
    skipBlanks();
    words.afterFirst = code.substr(i);
    words.second = upperCase(word());
    skipBlanks();
    words.afterSecond = code.substr(i);
    return words;
}

std::string trim(const std::string &text)
{
    std::size_t start = 0, end = text.size();
    while (start < end && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    while (end > start && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(start, end - start);
}

bool opensBlock(const std::string &first, const std::string &second)
{
    return second == "MACRO" || first == "REPT" || first == "IRP" || first == "IRPC";
}

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

struct Expander::Frame {
    std::vector<std::string> lines;
    std::size_t next = 0;
    // A file frame reads its own lines; an expansion frame reports its caller's position.
    bool isFile = true;
    int file = 0;
    int callerLine = 0;
    std::string callerText;
    int level = 0;
    std::string macroName;
    std::string folder;
    int includeDepth = 0;
};

struct Expander::Collecting {
    int kind = CollectMacro;
    std::string name;
    std::vector<std::string> header; // macro parameters, or IRP/IRPC name and list
    std::vector<std::string> body;
    int depth = 0;
    SourceLine caller;
};

Expander::Expander(IExpansionHost &host, FileReader reader) : host_(host), reader_(std::move(reader)) {}

Expander::~Expander() = default;

std::vector<std::string> Expander::macroNames() const
{
    std::vector<std::string> names;
    for (const auto &[name, macro] : macros_)
        names.push_back(name);
    return names;
}

void Expander::stop()
{
    frames_.clear();
}

void Expander::start(const std::string &path, const std::string &text)
{
    frames_.clear();
    macros_.clear();
    collecting_.reset();
    conditions_.clear();
    fileNames_.clear();
    localCounter_ = 0;
    auto frame = std::make_unique<Frame>();
    frame->lines = splitLines(text);
    frame->file = 0;
    frame->folder = folderOf(path);
    const std::size_t slash = path.find_last_of('/');
    fileNames_.push_back(slash == std::string::npos ? path : path.substr(slash + 1));
    frames_.push_back(std::move(frame));
}

bool Expander::readRaw(SourceLine &line)
{
    while (!frames_.empty()) {
        Frame &frame = *frames_.back();
        if (frame.next >= frame.lines.size()) {
            frames_.pop_back();
            continue;
        }
        line = SourceLine();
        line.text = frame.lines[frame.next++];
        line.includeDepth = frame.includeDepth;
        if (frame.isFile) {
            line.file = frame.file;
            line.line = static_cast<int>(frame.next);
        } else {
            line.file = frame.file;
            line.line = frame.callerLine;
            line.callerText = frame.callerText;
            line.level = frame.level;
            line.macroName = frame.macroName;
            line.macroLine = static_cast<int>(frame.next);
        }
        return true;
    }
    return false;
}

bool Expander::activeBlock() const
{
    return conditions_.empty() || conditions_.back().active;
}

bool Expander::next(SourceLine &line)
{
    while (readRaw(line)) {
        const LineWords words = wordsOf(line.text);
        if (collecting_) {
            line.quiet = true;
            if (opensBlock(words.first, words.second))
                ++collecting_->depth;
            if (words.first == "ENDM" || words.second == "ENDM") {
                if (collecting_->depth == 0) {
                    finishCollecting(line);
                    return true;
                }
                --collecting_->depth;
            }
            collecting_->body.push_back(line.text);
            return true;
        }
        if (handleConditional(words.first, words.afterFirst, line))
            return true;
        if (!activeBlock()) {
            line.skipped = true;
            return true;
        }
        if (words.second == "MACRO") {
            line.quiet = true;
            startCollecting(CollectMacro, words.first, splitArguments(words.afterSecond), line);
            return true;
        }
        if (words.first == "REPT" || words.first == "IRP" || words.first == "IRPC") {
            line.quiet = true;
            std::vector<std::string> header;
            if (words.first == "REPT") {
                header.push_back(words.afterFirst);
                startCollecting(CollectRept, "", header, line);
            } else {
                const std::string rest = words.afterFirst;
                const std::size_t comma = rest.find(',');
                header.push_back(trim(rest.substr(0, comma)));
                header.push_back(comma == std::string::npos ? std::string() : trim(rest.substr(comma + 1)));
                startCollecting(words.first == "IRP" ? CollectIrp : CollectIrpc, "", header, line);
            }
            return true;
        }
        if (words.first == "INCLUDE") {
            line.quiet = true;
            const std::string name = trim(words.afterFirst);
            const std::string folder = frames_.back()->folder;
            const std::string path = !name.empty() && name[0] == '/' ? name : folder + name;
            const std::optional<std::string> text = reader_(path);
            if (!text) {
                host_.fatal("Can't locate file: " + name, line);
                return true;
            }
            auto frame = std::make_unique<Frame>();
            frame->lines = splitLines(*text);
            // TASM lists one empty line after the last line of an included file.
            frame->lines.emplace_back();
            frame->file = static_cast<int>(fileNames_.size());
            frame->folder = folderOf(path);
            frame->includeDepth = frames_.back()->includeDepth + 1;
            const std::size_t slash = name.find_last_of("/\\");
            fileNames_.push_back(slash == std::string::npos ? name : name.substr(slash + 1));
            frames_.push_back(std::move(frame));
            return true;
        }
        if (words.first == "LOCAL" && line.level > 0) {
            line.quiet = true;
            continue;
        }
        const auto macro = macros_.find(words.first);
        if (macro != macros_.end()) {
            line.quiet = true;
            callMacro(macro->second, words.first, words.afterFirst, line);
            return true;
        }
        // "name: macro arguments": the label is defined here, then the macro expands.
        if (!words.afterFirst.empty() && words.afterFirst[0] == ':') {
            const LineWords called = wordsOf(words.afterFirst.substr(1));
            const auto labelled = macros_.find(called.first);
            if (labelled != macros_.end()) {
                line.labelOnly = true;
                callMacro(labelled->second, called.first, called.afterFirst, line);
                return true;
            }
        }
        return true;
    }
    return false;
}

bool Expander::handleConditional(const std::string &keyword, const std::string &operands, SourceLine &line)
{
    const bool isIf = keyword == "IF" || keyword == "IFE" || keyword == "IFDEF" || keyword == "IFNDEF" ||
                      keyword == "IFB" || keyword == "IFNB";
    if (!isIf && keyword != "ELSE" && keyword != "ENDIF")
        return false;
    line.quiet = true;
    line.conditional = true;
    if (isIf) {
        const bool outer = activeBlock();
        bool value = false;
        if (outer) {
            const std::string argument = trim(operands);
            if (keyword == "IF" || keyword == "IFE") {
                const std::optional<std::int64_t> number = host_.evaluate(argument, line);
                value = number && ((*number != 0) == (keyword == "IF"));
            } else if (keyword == "IFDEF" || keyword == "IFNDEF") {
                value = host_.isDefined(argument) == (keyword == "IFDEF");
            } else {
                std::string inner = argument;
                if (inner.size() >= 2 && inner.front() == '<' && inner.back() == '>')
                    inner = inner.substr(1, inner.size() - 2);
                value = trim(inner).empty() == (keyword == "IFB");
            }
        } else {
            line.skipped = true;
        }
        conditions_.push_back({outer && value, outer && value, outer});
        return true;
    }
    if (conditions_.empty()) {
        host_.error("ELSE or ENDIF without IF", line);
        return true;
    }
    Condition &condition = conditions_.back();
    if (!condition.outerActive)
        line.skipped = true;
    if (keyword == "ELSE") {
        condition.active = condition.outerActive && !condition.taken;
        condition.taken = true;
    } else {
        conditions_.pop_back();
    }
    return true;
}

void Expander::startCollecting(int kind, std::string name, std::vector<std::string> header, const SourceLine &line)
{
    collecting_ = std::make_unique<Collecting>();
    collecting_->kind = kind;
    collecting_->name = std::move(name);
    collecting_->header = std::move(header);
    collecting_->caller = line;
}

void Expander::finishCollecting(const SourceLine &line)
{
    std::unique_ptr<Collecting> done = std::move(collecting_);
    // A REPT or IRP block expands where its ENDM stands; its lines report that line.
    SourceLine caller = line;
    caller.quiet = false;
    switch (done->kind) {
    case CollectMacro: {
        Macro macro;
        for (const std::string &parameter : done->header)
            macro.parameters.push_back(upperCase(trim(parameter)));
        macro.body = std::move(done->body);
        macros_[done->name] = std::move(macro);
        return;
    }
    case CollectRept: {
        const std::optional<std::int64_t> count = host_.evaluate(done->header[0], done->caller);
        std::vector<std::string> lines;
        for (std::int64_t i = 0; count && i < *count; ++i)
            lines.insert(lines.end(), done->body.begin(), done->body.end());
        pushExpansion(std::move(lines), caller, "");
        return;
    }
    default: {
        const std::vector<std::string> names{upperCase(done->header[0])};
        std::vector<std::string> values;
        if (done->kind == CollectIrp) {
            const std::vector<std::string> list = splitArguments(done->header[1]);
            values = list.empty() ? list : splitArguments(list[0]);
        } else {
            std::string list = done->header[1];
            if (list.size() >= 2 && list.front() == '<' && list.back() == '>')
                list = list.substr(1, list.size() - 2);
            for (char c : list)
                values.emplace_back(1, c);
        }
        std::vector<std::string> lines;
        for (const std::string &value : values)
            for (const std::string &bodyLine : done->body)
                lines.push_back(substituteParameters(bodyLine, names, {value}));
        pushExpansion(std::move(lines), caller, "");
        return;
    }
    }
}

void Expander::pushExpansion(std::vector<std::string> lines, const SourceLine &caller, const std::string &macroName)
{
    if (lines.empty())
        return;
    auto frame = std::make_unique<Frame>();
    frame->lines = std::move(lines);
    frame->isFile = false;
    frame->file = caller.file;
    frame->callerLine = caller.line;
    frame->callerText = caller.level > 0 ? caller.callerText : caller.text;
    frame->level = caller.level + 1;
    frame->macroName = macroName.empty() ? caller.macroName : macroName;
    frame->folder = frames_.empty() ? std::string() : frames_.back()->folder;
    frame->includeDepth = caller.includeDepth;
    frames_.push_back(std::move(frame));
}

void Expander::callMacro(const Macro &macro, const std::string &name, const std::string &arguments,
                         const SourceLine &line)
{
    std::vector<std::string> values = splitArguments(arguments);
    values.resize(macro.parameters.size());
    std::vector<std::string> names = macro.parameters;
    // LOCAL names become ??0000, ??0001, ... numbered across the whole source.
    for (const std::string &bodyLine : macro.body) {
        const LineWords words = wordsOf(bodyLine);
        if (words.first != "LOCAL")
            continue;
        for (const std::string &local : splitArguments(words.afterFirst)) {
            char text[16];
            std::snprintf(text, sizeof text, "??%04X", localCounter_++ & 0xFFFF);
            names.push_back(upperCase(trim(local)));
            values.emplace_back(text);
        }
    }
    std::vector<std::string> lines;
    for (const std::string &bodyLine : macro.body)
        lines.push_back(substituteParameters(bodyLine, names, values));
    pushExpansion(std::move(lines), line, name);
}

std::vector<std::string> splitArguments(const std::string &text)
{
    std::vector<std::string> arguments;
    std::string code = trim(text.substr(0, commentStart(text)));
    if (code.empty())
        return arguments;
    std::string current;
    int depth = 0;
    char quote = 0;
    for (char c : code) {
        if (quote) {
            current += c;
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '<') {
            if (depth++ == 0)
                continue;
        } else if (c == '>') {
            if (--depth == 0)
                continue;
        } else if (c == ',' && depth == 0) {
            arguments.push_back(trim(current));
            current.clear();
            continue;
        }
        current += c;
    }
    arguments.push_back(trim(current));
    return arguments;
}

std::string substituteParameters(const std::string &line, const std::vector<std::string> &names,
                                 const std::vector<std::string> &values)
{
    std::string result;
    char quote = 0;
    std::size_t i = 0;
    const std::size_t end = line.size();
    while (i < end) {
        const char c = line[i];
        if (!quote && c == ';') {
            // ";;" comments are not copied into expansions.
            if (i + 1 < end && line[i + 1] == ';')
                break;
            result.append(line, i, std::string::npos);
            break;
        }
        if (c == '\'' || c == '"') {
            if (!quote)
                quote = c;
            else if (quote == c)
                quote = 0;
            result += c;
            ++i;
            continue;
        }
        if (isWordChar(c)) {
            std::size_t j = i;
            while (j < end && isWordChar(line[j]))
                ++j;
            const std::string word = line.substr(i, j - i);
            const std::string upper = upperCase(word);
            std::size_t found = names.size();
            for (std::size_t k = 0; k < names.size(); ++k)
                if (names[k] == upper)
                    found = k;
            const bool ampBefore = !result.empty() && result.back() == '&';
            const bool ampAfter = j < end && line[j] == '&';
            if (found < names.size() && (!quote || ampBefore || ampAfter)) {
                if (ampBefore)
                    result.pop_back();
                result += values[found];
                if (ampAfter)
                    ++j;
            } else {
                result += word;
            }
            i = j;
            continue;
        }
        result += c;
        ++i;
    }
    return result;
}

} // namespace velmora::assembler
