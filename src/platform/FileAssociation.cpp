#include "platform/FileAssociation.h"

#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <functional>
#include <stdexcept>

namespace velmora::platform
{

namespace
{

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

// One argument of an Exec line: quoted, with the characters that quoting reserves escaped,
// and "%" doubled so that it is no field code.
QString quotedExecArgument(const QString &argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A desktop entry string value: backslashes doubled, line breaks written as escapes.
QString escapedStringValue(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    escaped.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    escaped.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return escaped;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        fail(QStringLiteral("Cannot create the folder of ") + path);
    try {
        writeFileAtomically(path, std::string_view(bytes.constData(), std::size_t(bytes.size())));
    } catch (const FileWriteError &e) {
        fail(dialogTexts().unableToWrite.arg(path, e.cause()));
    }
}

// Sets key=value in the section of an INI-form text, adding the section or the key when
// missing; value receives the key's current value (empty when absent).
void setIniValue(QStringList &lines, const QString &section, const QString &key,
                 const std::function<QString(const QString &)> &value)
{
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    qsizetype at = lines.indexOf(header);
    if (at < 0) {
        if (!lines.isEmpty() && !lines.last().isEmpty())
            lines.append(QString());
        lines.append(header);
        lines.append(key + QLatin1Char('=') + value(QString()));
        return;
    }
    qsizetype insertAt = at + 1;
    for (qsizetype i = at + 1; i < lines.size() && !lines[i].startsWith(QLatin1Char('[')); ++i) {
        const QString line = lines[i].trimmed();
        if (!line.isEmpty())
            insertAt = i + 1;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && line.left(equals).trimmed() == key) {
            lines[i] = key + QLatin1Char('=') + value(line.mid(equals + 1).trimmed());
            return;
        }
    }
    lines.insert(insertAt, key + QLatin1Char('=') + value(QString()));
}

// Records the default application in mimeapps.list, keeping every other line.
void writeMimeAppsList(const QString &desktopFile, const QString &mimeType)
{
    const QString path = userConfigFolder() + QStringLiteral("mimeapps.list");
    QStringList lines;
    if (QFile file(path); file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("Cannot read ") + path);
        lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
    }
    setIniValue(lines, QStringLiteral("Default Applications"), mimeType, [&](const QString &) { return desktopFile; });
    setIniValue(lines, QStringLiteral("Added Associations"), mimeType, [&](const QString &current) {
        QStringList entries = current.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        entries.removeAll(desktopFile);
        entries.prepend(desktopFile);
        return entries.join(QLatin1Char(';')) + QLatin1Char(';');
    });
    writeFile(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

void runXdgMime(const QString &program, const QString &desktopFile, const QString &mimeType)
{
    QProcess process;
    process.start(program, {QStringLiteral("default"), desktopFile, mimeType});
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        fail(program + QStringLiteral(" did not finish: ") + process.errorString());
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        fail(program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
}

} // namespace

QString asmDesktopEntry(const QString &programPath)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Velmora\n"
                          "Comment=Edit, assemble, link and run 16-bit assembler programs\n"
                          "Icon=") +
           QLatin1String(DesktopId) + QStringLiteral("\nExec=") + escapedStringValue(quotedExecArgument(programPath)) +
           QStringLiteral(" %f\n"
                          "Terminal=false\n"
                          "MimeType=") +
           QLatin1String(AsmMimeType) +
           QStringLiteral(";\n"
                          "Categories=Development;IDE;\n");
}

void associateAsmFiles(const QString &programPath)
{
    const QString desktopFile = QString::fromLatin1(DesktopId) + QStringLiteral(".desktop");
    const QString mimeType = QString::fromLatin1(AsmMimeType);
    writeFile(userApplicationsFolder() + desktopFile, asmDesktopEntry(programPath).toUtf8());
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        writeMimeAppsList(desktopFile, mimeType);
    else
        runXdgMime(xdgMime, desktopFile, mimeType);
}

} // namespace velmora::platform
