#include "toolchain/ToolsCopy.h"

#include "platform/AtomicFile.h"
#include "platform/FileNames.h"
#include "toolchain/ToolsFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstdint>
#include <map>

namespace velmora::toolchain
{

namespace
{

// The record of the copies the tools folder holds: copy name (lower case) -> source path.
const QString recordName = QStringLiteral(".velmora-copies");

using CopyRecord = std::map<QString, QString>;

bool isDosCharacter(QChar c)
{
    static const QString signs = QStringLiteral("_$~!#%&'(){}@^-`");
    return c.unicode() < 0x80 && (c.isLetterOrNumber() || signs.contains(c));
}

bool allDosCharacters(const QString &text)
{
    return std::all_of(text.begin(), text.end(), isDosCharacter);
}

CopyRecord readRecord(const QString &toolsDir)
{
    CopyRecord record;
    QFile file(QDir(toolsDir).filePath(recordName));
    if (!file.open(QIODevice::ReadOnly))
        return record;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab > 0)
            record[line.left(tab)] = line.mid(tab + 1);
    }
    return record;
}

void writeRecord(const QString &toolsDir, const CopyRecord &record)
{
    QByteArray bytes;
    for (const auto &[name, source] : record)
        bytes += name.toUtf8() + '\t' + source.toUtf8() + '\n';
    try {
        platform::writeFileAtomically(QDir(toolsDir).filePath(recordName),
                                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const platform::FileWriteError &) {
        // Without the record the copy is still made; the next build only picks its name anew.
    }
}

QString sourceKey(const QString &currentFile)
{
    return QDir::cleanPath(QFileInfo(currentFile).absoluteFilePath());
}

// A name is free for this source's copy when nothing of that name (any letter case) is
// in the tools folder, or what is there is recorded as a copy of this same source.
bool freeFor(const QString &name, const QString &key, const QString &toolsDir, const CopyRecord &record)
{
    if (!QFileInfo::exists(platform::findIgnoringCase(toolsDir, name)))
        return true;
    const auto found = record.find(name.toLower());
    return found != record.end() && found->second == key;
}

std::uint32_t pathHash(const QString &key)
{
    std::uint32_t hash = 2166136261u;
    for (const char byte : key.toUtf8()) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 16777619u;
    }
    return hash;
}

// The alias for the source: up to three plain characters of its base, five hex digits.
QString aliasName(const SourceNames &source, const QString &key, const QString &toolsDir, const CopyRecord &record)
{
    QString prefix;
    for (QChar c : source.B)
        if (prefix.size() < 3 && c.unicode() < 0x80 && c.isLetterOrNumber())
            prefix += c.toLower();
    if (prefix.isEmpty())
        prefix = QStringLiteral("src");
    const QString suffix = QFileInfo(source.N).suffix().toLower();
    const QString extension =
        suffix.size() <= 3 && allDosCharacters(suffix) && !suffix.isEmpty() ? suffix : QStringLiteral("asm");
    for (std::uint32_t hash = pathHash(key);; ++hash) {
        const QString name =
            prefix + QStringLiteral("%1").arg(hash & 0xFFFFFu, 5, 16, QLatin1Char('0')) + QLatin1Char('.') + extension;
        if (freeFor(name, key, toolsDir, record))
            return name;
    }
}

SourceNames namesInTools(const QString &toolsDir, const QString &name)
{
    return sourceNames(toolsDir + QLatin1Char('/') + name);
}

} // namespace

bool isDosName(const QString &name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
    return !base.isEmpty() && base.size() <= 8 && extension.size() <= 3 && allDosCharacters(base) &&
           allDosCharacters(extension) && (dot < 0 || !extension.isEmpty());
}

ToolsCopy prepareToolsCopy(const QString &currentFile, const QString &toolsDir)
{
    if (currentFile.isEmpty())
        return {};
    const SourceNames source = sourceNames(currentFile);
    const bool outside = sourceOutsideTools(currentFile, toolsDir);
    const bool dosName = isDosName(source.N);
    if (!outside && dosName)
        return {namesInTools(toolsDir, source.N), false};

    const QString key = sourceKey(currentFile);
    CopyRecord record = readRecord(toolsDir);
    const bool ownNameFree = dosName && freeFor(source.N.toLower(), key, toolsDir, record);
    const QString copyName = ownNameFree ? source.N.toLower() : aliasName(source, key, toolsDir, record);
    std::erase_if(record, [&key](const auto &entry) { return entry.second == key; });
    record[copyName] = key;
    writeRecord(toolsDir, record);
    copyReplacing(currentFile, toolsDir + QLatin1Char('/') + copyName);
    // The tools are given the source's own name as written where it is kept: DOS ignores case.
    return {namesInTools(toolsDir, ownNameFree ? source.N : copyName), true};
}

ToolsCopy recordedToolsCopy(const QString &currentFile, const QString &toolsDir)
{
    if (currentFile.isEmpty())
        return {};
    const SourceNames source = sourceNames(currentFile);
    const QString key = sourceKey(currentFile);
    const bool outside = sourceOutsideTools(currentFile, toolsDir);
    for (const auto &[name, path] : readRecord(toolsDir))
        if (path == key)
            return {namesInTools(toolsDir, name.compare(source.N, Qt::CaseInsensitive) == 0 ? source.N : name), true};
    return {namesInTools(toolsDir, source.N), outside};
}

QString withSourceNames(const QString &text, const ToolsCopy &copy, const SourceNames &source)
{
    if (!copy.copied || copy.tools.B.compare(source.B, Qt::CaseInsensitive) == 0 || copy.tools.B.isEmpty())
        return text;
    const QRegularExpression alias(
        QStringLiteral("(?<![\\w.])%1(?=\\.\\w|[^\\w]|$)").arg(QRegularExpression::escape(copy.tools.B)),
        QRegularExpression::CaseInsensitiveOption);
    QString ownBase = source.B;
    ownBase.replace(QLatin1Char('\\'), QLatin1String("\\\\")); // a backslash in the replacement is literal
    QString result = text;
    return result.replace(alias, ownBase);
}

} // namespace velmora::toolchain
