#include "platform/DosRunner.h"

#include "platform/AtomicFile.h"
#include "platform/CommandLine.h"
#include "platform/FileNames.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <cerrno>

namespace velmora::platform
{

namespace
{

// Fast and silent: the tools and the students' programs need no sound, and a slow
// emulated processor would only make the user wait.
constexpr char dosBoxConfiguration[] = R"([sdl]
fullscreen=false
[dosbox]
memsize=16
[cpu]
core=auto
cycles=max
[mixer]
nosound=true
[midi]
mpu401=none
mididevice=none
[sblaster]
sbtype=none
[gus]
gus=false
[speaker]
pcspeaker=false
tandy=off
disney=false
)";

// The configuration file, rewritten on each start (atomically, so that a DOSBox still
// starting never reads half of it) in the user's cache folder.
QString writeConfiguration()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        return QString();
    const QString path = QDir(dir).filePath(QStringLiteral("velmora-dosbox.conf"));
    try {
        writeFileAtomically(path, dosBoxConfiguration);
    } catch (const FileWriteError &) {
        return QString();
    }
    return path;
}

// Characters the DOS shell would act on rather than pass to the program: line ends and
// other control characters, pipes and redirections.
bool dosTakesLiterally(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c == QLatin1Char('|') || c == QLatin1Char('<') || c == QLatin1Char('>'))
            return false;
    return true;
}

bool mountable(const QString &folder)
{
    return dosTakesLiterally(folder) && !folder.contains(QLatin1Char('"'));
}

// DOSBox runs its start commands as lines of a batch file, where "%" starts a variable.
QString batchLine(QString command)
{
    return command.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

// The drive letter the tools folder is mapped to (mapToolsDrive); none while unset.
struct MappedDrive {
    QChar letter;
    QString folder;
};

MappedDrive &mappedDrive()
{
    static MappedDrive mapped;
    return mapped;
}

// The host folders DOS sees, one drive each: the current directory is C: (or the mapped
// letter when it is the mapped folder), the mapped folder keeps its letter, the others take
// the free letters from C: on in the order they are met.
class DosDrives
{
public:
    explicit DosDrives(const QString &current)
    {
        const MappedDrive &mapped = mappedDrive();
        const bool currentIsMapped = !mapped.letter.isNull() && QDir(mapped.folder) == QDir(current);
        add(current, currentIsMapped ? mapped.letter : QChar());
        if (!mapped.letter.isNull() && !currentIsMapped && mountable(mapped.folder))
            add(mapped.folder, mapped.letter);
    }

    QChar currentDrive() const { return letters_.first(); }

    // The DOS name of a host file: its bare name on the current drive, else drive and name.
    // Empty when its folder cannot be mounted or no drive letter is left.
    QString dosName(const QFileInfo &file)
    {
        const QString folder = file.absolutePath();
        qsizetype index = 0;
        while (index < folders_.size() && QDir(folders_[index]) != QDir(folder))
            ++index;
        if (index == folders_.size() && (!mountable(folder) || !add(folder, QChar())))
            return QString();
        return index == 0 ? file.fileName() : QString(letters_[index]) + QStringLiteral(":\\") + file.fileName();
    }

    QStringList mountCommands() const
    {
        QStringList commands;
        for (qsizetype i = 0; i < folders_.size(); ++i)
            commands << QStringLiteral("mount %1 \"%2\"").arg(letters_[i], folders_[i]);
        return commands;
    }

private:
    // Mounts folder under letter, or under the first free letter from C: when letter is null.
    bool add(const QString &folder, QChar letter)
    {
        for (char c = 'C'; letter.isNull() && c <= 'Z'; ++c)
            if (!letters_.contains(QLatin1Char(c)) && QLatin1Char(c) != mappedDrive().letter)
                letter = QLatin1Char(c);
        if (letter.isNull())
            return false;
        folders_ << folder;
        letters_ << letter;
        return true;
    }

    QStringList folders_;
    QList<QChar> letters_;
};

// The command tail with every word that names an existing host file by its absolute path
// replaced by the file's DOS name, so that DOS can open it. Other words stay as written.
QString dosTail(const QString &tail, DosDrives &drives)
{
    QString out;
    qsizetype i = 0;
    while (i < tail.size()) {
        const qsizetype start = i;
        while (i < tail.size() && isBlank(tail[i]) == isBlank(tail[start]))
            ++i;
        const QString run = tail.mid(start, i - start);
        const QFileInfo file(run.startsWith(QLatin1Char('/')) ? resolveIgnoringCase(run) : QString());
        const QString dosName = file.isFile() ? drives.dosName(file) : QString();
        out += dosName.isEmpty() ? run : dosName;
    }
    return out;
}

// The console capture helper that ships with the program's data (src/platform/dos): it
// runs a program so that its console output shows in the window and also lands in a file.
// Empty when it is missing.
QString consoleCaptureHelper()
{
    const QString helper = programFolders(exeDir()).data + QStringLiteral("contee.com");
    return QFileInfo::exists(helper) ? helper : QString();
}

// The DOS line that runs command (program and tail) with its console output in
// outputFile: through the capture helper when the window shows, so that the user sees what
// the program prints while it runs, else by DOS redirection. In a window the user can see,
// the helper clears the screen first and afterwards waits for a key.
QString capturingCommand(const QString &command, const QString &outputFile, DosWindow window, DosDrives &drives)
{
    const QString helper = window == DosWindow::Shown ? consoleCaptureHelper() : QString();
    const QString helperName = helper.isEmpty() ? QString() : drives.dosName(QFileInfo(helper));
    if (helperName.isEmpty())
        return command + QStringLiteral(" >") + outputFile;
    const QString keepOpen = canShowDosWindow() ? QStringLiteral(" /K ") : QStringLiteral(" ");
    return helperName + keepOpen + outputFile + QLatin1Char(' ') + command;
}

} // namespace

void mapToolsDrive(const QString &letter, const QString &folder)
{
    const QChar c = letter.trimmed().isEmpty() ? QChar() : letter.trimmed().at(0).toUpper();
    if (c < QLatin1Char('C') || c > QLatin1Char('Z'))
        mappedDrive() = MappedDrive{};
    else
        mappedDrive() = MappedDrive{c, folder};
}

bool isDosProgram(const QString &path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("com"), Qt::CaseInsensitive) == 0)
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

bool canShowDosWindow()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen"))
        return false;
    return !qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ||
           QGuiApplication::platformName() != QLatin1String("offscreen");
}

DosBoxStart dosBoxStart(const QString &program, const QString &tail, const QString &outputFile, DosWindow window)
{
    DosBoxStart start;
    start.program = QStandardPaths::findExecutable(QStringLiteral("dosbox"));
    if (start.program.isEmpty()) {
        start.error = ENOENT;
        return start;
    }
    const QString current = QDir::currentPath();
    DosDrives drives(current);
    const QString name = mountable(current) ? drives.dosName(QFileInfo(program)) : QString();
    QString command = name + dosTail(tail, drives);
    if (name.isEmpty() || name.contains(QLatin1Char(' ')) || !dosTakesLiterally(command + outputFile)) {
        start.error = EINVAL;
        return start;
    }
    if (!outputFile.isEmpty())
        command = capturingCommand(command, outputFile, window, drives);
    const QString configuration = writeConfiguration();
    if (configuration.isEmpty()) {
        start.error = EIO;
        return start;
    }
    const QStringList commands = drives.mountCommands() + QStringList{QString(drives.currentDrive()) + QLatin1Char(':'),
                                                                      command, QStringLiteral("exit")};

    start.arguments << QStringLiteral("-conf") << configuration;
    for (const QString &c : commands)
        start.arguments << QStringLiteral("-c") << batchLine(c);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    if (window == DosWindow::Hidden || !canShowDosWindow())
        environment.insert(QStringLiteral("SDL_VIDEODRIVER"), QStringLiteral("dummy"));
    else
        environment.insert(QStringLiteral("SDL_VIDEO_CENTERED"), QStringLiteral("1")); // wholly on the screen
    start.environment = environment.toStringList();
    return start;
}

void removeOutputFile(const QString &dir, const QString &name)
{
    const QStringList entries = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            QFile::remove(QDir(dir).filePath(entry));
}

void adoptOutputName(const QString &dir, const QString &name)
{
    const QString written = findIgnoringCase(dir, name);
    const QString wanted = QDir(dir).filePath(name);
    if (written != wanted)
        QFile::rename(written, wanted);
}

} // namespace velmora::platform
