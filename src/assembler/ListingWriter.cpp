#include "assembler/ListingWriter.h"

#include "assembler/Encoder.h"
#include "assembler/Lexer.h"

#include <algorithm>
#include <cstdio>

namespace velmora::assembler
{

namespace
{

constexpr int linesPerPage = 57;
constexpr std::size_t offsetColumn = 8, dataColumn = 14, continuationColumn = 34, sourceColumn = 37;
constexpr std::size_t dataWidth = 20;

class PageWriter
{
public:
    PageWriter(const ListingOptions &options) : options_(options) {}

    void startPage(const std::string &title)
    {
        if (page_ > 0)
            text_ += "\f";
        ++page_;
        text_ += retab("Velmora Assembler  Version 1.0   " + options_.date + " " + options_.time) + "\t    Page " +
                 std::to_string(page_) + "\r\n";
        text_ += title + "\r\n\r\n\r\n\r\n";
        lines_ = 0;
        title_ = title;
    }

    void line(const std::string &content)
    {
        if (lines_ == linesPerPage)
            startPage(title_);
        std::string trimmed = content;
        while (!trimmed.empty() && trimmed.back() == ' ')
            trimmed.pop_back();
        text_ += retab(trimmed) + "\r\n";
        ++lines_;
    }

    std::string finish() { return text_ + "\f"; }

private:
    const ListingOptions &options_;
    std::string text_;
    std::string title_;
    int page_ = 0;
    int lines_ = 0;
};

void place(std::string &line, std::size_t column, const std::string &text)
{
    if (line.size() < column)
        line.resize(column, ' ');
    line.replace(column, std::min(text.size(), line.size() - column), text);
}

std::string messageText(const Message &message)
{
    std::string line = message.kind == MessageKind::Warning ? "*Warning* "
                       : message.kind == MessageKind::Error ? "**Error** "
                                                            : "**Fatal** ";
    line += message.file + "(" + std::to_string(message.line) + ") ";
    if (!message.macroName.empty())
        line += message.macroName + "(" + std::to_string(message.macroLine) + ") ";
    return line + message.text;
}

// The data field's pieces split into listing lines of at most 20 columns.
std::vector<std::string> dataLines(const ListingLine &line)
{
    std::vector<std::string> lines;
    if (!line.equate.empty()) {
        lines.push_back(line.equate);
        return lines;
    }
    std::string current;
    for (const std::string &piece : line.shown) {
        if (!current.empty() && current.size() + 1 + piece.size() > dataWidth) {
            lines.push_back(current);
            current.clear();
        }
        current += current.empty() ? piece : " " + piece;
    }
    if (!current.empty())
        lines.push_back(current);
    return lines;
}

bool listed(const ListingLine &line, bool expanded)
{
    if (expanded)
        return true;
    if (line.source.skipped || line.source.conditional)
        return false;
    return line.source.level == 0 || !line.bytes.empty();
}

std::string typeName(int type)
{
    switch (type) {
    case 1:
        return "Byte";
    case 2:
        return "Word";
    case 4:
        return "Dword";
    case 8:
        return "Qword";
    case 10:
        return "Tbyte";
    case TypeNear:
        return "Near";
    case TypeFar:
        return "Far";
    default:
        return "Byte";
    }
}

// The structures with their fields, then the records with their fields' widths and shifts.
void writeStructures(PageWriter &pages, const SymbolTable &symbols)
{
    std::vector<const Symbol *> structures, records;
    for (const Symbol &symbol : symbols.all()) {
        if (symbol.definedAt < 0)
            continue;
        if (symbol.kind == SymbolKind::Struct)
            structures.push_back(&symbol);
        else if (symbol.kind == SymbolKind::Record)
            records.push_back(&symbol);
    }
    auto byName = [](const Symbol *a, const Symbol *b) { return upperCase(a->name) < upperCase(b->name); };
    std::sort(structures.begin(), structures.end(), byName);
    std::sort(records.begin(), records.end(), byName);
    if (!structures.empty()) {
        pages.line("");
        std::string header = "Structure Name";
        place(header, 34, "Type");
        place(header, 40, "Offset");
        pages.line(header);
        pages.line("");
        for (const Symbol *structure : structures) {
            pages.line(upperCase(structure->name));
            for (const StructFieldInfo &field : structure->fields) {
                std::string text = " " + upperCase(field.name);
                const bool nested = field.structIndex >= 0;
                place(text, 34, nested ? "Struct" : typeName(field.unit));
                std::string value = hexDigits(static_cast<std::uint64_t>(field.offset), 4);
                if (nested)
                    value += " " + upperCase(symbols[field.structIndex].name);
                place(text, 41, value);
                pages.line(text);
            }
        }
    }
    if (!records.empty()) {
        pages.line("");
        std::string header = "Record Name";
        place(header, 34, "Width");
        place(header, 40, "Shift");
        pages.line(header);
        pages.line("");
        for (const Symbol *record : records) {
            pages.line(upperCase(record->name));
            for (int index : record->recordFields) {
                const Symbol &field = symbols[index];
                std::string text = " " + upperCase(field.name);
                place(text, 34, hexDigits(static_cast<std::uint64_t>(field.width), 2));
                place(text, 40, hexDigits(static_cast<std::uint64_t>(field.value), 2));
                pages.line(text);
            }
        }
    }
}

} // namespace

std::string expandTabs(const std::string &line)
{
    std::string result;
    for (char c : line) {
        if (c == '\t')
            result.append(8 - result.size() % 8, ' ');
        else
            result += c;
    }
    return result;
}

std::string retab(const std::string &line)
{
    std::string result;
    std::size_t column = 0, blanks = 0;
    for (char c : line) {
        if (c == ' ') {
            ++blanks;
            ++column;
            if (column % 8 == 0) {
                result += '\t';
                blanks = 0;
            }
            continue;
        }
        result.append(blanks, ' ');
        blanks = 0;
        if (c == '\t') {
            result += '\t';
            column = (column / 8 + 1) * 8;
        } else {
            result += c;
            ++column;
        }
    }
    result.append(blanks, ' ');
    return result;
}

std::string writeListing(const Assembly &assembly, const ListingOptions &options)
{
    PageWriter pages(options);
    pages.startPage(options.title);
    int number = 0;
    for (const ListingLine &line : assembly.listing) {
        if (!listed(line, options.expanded))
            continue;
        const int depth = line.source.level + line.source.includeDepth;
        const std::vector<std::string> data = dataLines(line);
        const std::size_t count = std::max<std::size_t>(1, data.size());
        for (std::size_t i = 0; i < count; ++i) {
            char head[16];
            std::snprintf(head, sizeof head, "%c%6d ", depth > 0 ? static_cast<char>('0' + depth % 10) : ' ', ++number);
            std::string text = head;
            if (i == 0 && line.hasOffset)
                place(text, offsetColumn,
                      line.inStructure ? "*" + hexDigits(line.offset, 3) : hexDigits(line.offset, 4));
            if (i < data.size())
                place(text, dataColumn, data[i]);
            if (i + 1 < count)
                place(text, continuationColumn, "+");
            if (i == 0)
                place(text, sourceColumn, expandTabs(line.source.text));
            pages.line(text);
        }
        for (int index : line.messages)
            pages.line(messageText(assembly.messages[static_cast<std::size_t>(index)]));
    }
    pages.startPage("Symbol Table");
    pages.line("");
    std::string header = "Symbol Name";
    place(header, 34, "Type");
    place(header, 41, "Value");
    pages.line(header);
    pages.line("");
    std::vector<const Symbol *> symbols;
    for (const Symbol &symbol : assembly.symbols.all())
        if (symbol.definedAt >= 0 && symbol.kind != SymbolKind::SegmentName && symbol.kind != SymbolKind::GroupName &&
            symbol.kind != SymbolKind::Struct && symbol.kind != SymbolKind::StructField &&
            symbol.kind != SymbolKind::Record && symbol.kind != SymbolKind::RecordField)
            symbols.push_back(&symbol);
    std::sort(symbols.begin(), symbols.end(),
              [](const Symbol *a, const Symbol *b) { return upperCase(a->name) < upperCase(b->name); });
    const ObjectModule &module = assembly.module;
    for (const Symbol *symbol : symbols) {
        std::string name = upperCase(symbol->name);
        if (name.starts_with("@@"))
            name = name.substr(0, name.find('@', 2));
        std::string type, value;
        switch (symbol->kind) {
        case SymbolKind::Label:
        case SymbolKind::Variable: {
            type = symbol->structure >= 0 ? "Struct" : typeName(symbol->type);
            const Segment &segment = module.segments[static_cast<std::size_t>(symbol->segment)];
            const std::string frame =
                segment.group >= 0 ? module.groups[static_cast<std::size_t>(segment.group)].name : segment.name;
            value = frame + ":" + hexDigits(static_cast<std::uint64_t>(symbol->value), 4);
            if (symbol->structure >= 0)
                value += " " + upperCase(assembly.symbols[symbol->structure].name);
            break;
        }
        case SymbolKind::Text:
            type = "Text";
            value = symbol->text;
            break;
        case SymbolKind::Number:
            type = "Number";
            value = hexDigits(static_cast<std::uint64_t>(symbol->value) & 0xFFFF, 4);
            break;
        case SymbolKind::External:
            type = symbol->type == 0 ? "Abs" : typeName(symbol->type);
            value = symbol->type == 0 ? "---- Extern" : "----:---- Extern";
            break;
        default:
            type = "Number";
            value = hexDigits(static_cast<std::uint64_t>(symbol->value) & 0xFFFF, 4);
            break;
        }
        std::string text = name;
        place(text, std::max<std::size_t>(34, name.size() + 1), type);
        place(text, std::max<std::size_t>(41, text.size() + 1), value);
        pages.line(text);
    }
    writeStructures(pages, assembly.symbols);
    if (!assembly.macroNames.empty()) {
        pages.line("");
        pages.line("Macro Name");
        pages.line("");
        for (const std::string &name : assembly.macroNames)
            pages.line(name);
    }
    pages.line("");
    std::string segmentsHeader = "Groups & Segments";
    place(segmentsHeader, 34, "Bit Size Align  Combine Class");
    pages.line(segmentsHeader);
    pages.line("");
    auto segmentLine = [&](const Segment &segment, bool member) {
        static const char *const aligns[] = {"Byte", "Word", "Para", "Page"};
        static const char *const combines[] = {"none", "Public", "Stack", "Common"};
        std::string text = (member ? "  " : "") + segment.name;
        place(text, 34, "16");
        place(text, 38, hexDigits(segment.size, 4));
        place(text, 43, aligns[static_cast<int>(segment.align)]);
        place(text, 50, combines[static_cast<int>(segment.combine)]);
        place(text, 58, segment.className);
        pages.line(text);
    };
    std::vector<std::pair<std::string, int>> entries; // groups (-1 - index) and ungrouped segments
    for (std::size_t i = 0; i < module.groups.size(); ++i)
        entries.emplace_back(module.groups[i].name, -1 - static_cast<int>(i));
    for (std::size_t i = 0; i < module.segments.size(); ++i)
        if (module.segments[i].group < 0)
            entries.emplace_back(module.segments[i].name, static_cast<int>(i));
    std::sort(entries.begin(), entries.end());
    for (const auto &[name, index] : entries) {
        if (index >= 0) {
            segmentLine(module.segments[static_cast<std::size_t>(index)], false);
            continue;
        }
        std::string text = name;
        place(text, 34, "Group");
        pages.line(text);
        std::vector<std::string> members;
        for (int segment : module.groups[static_cast<std::size_t>(-1 - index)].segments)
            members.push_back(module.segments[static_cast<std::size_t>(segment)].name);
        std::sort(members.begin(), members.end());
        for (const std::string &member : members)
            for (const Segment &segment : module.segments)
                if (segment.name == member)
                    segmentLine(segment, true);
    }
    if (!assembly.messages.empty()) {
        pages.startPage("Error Summary");
        for (const Message &message : assembly.messages)
            pages.line(messageText(message));
    }
    return pages.finish();
}

} // namespace velmora::assembler
