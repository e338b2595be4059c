#include "platform/DosRunner.h"

#include "platform/CommandLine.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcessEnvironment>
#include <QSaveFile>
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
    QSaveFile file(QDir(dir).filePath(QStringLiteral("velmora-dosbox.conf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(dosBoxConfiguration) < 0 || !file.commit())
        return QString();
    return file.fileName();
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

// The host folders DOS sees, one drive each: the current directory is C:, the others take
// D:, E:, ... in the order they are met.
class DosDrives
{
public:
    explicit DosDrives(const QString &current) : folders_{current} {}

    // The DOS name of a host file: its bare name on C:, else drive and name. Empty when its
    // folder cannot be mounted or no drive letter is left.
    QString dosName(const QFileInfo &file)
    {
        const QString folder = file.absolutePath();
        qsizetype index = 0;
        while (index < folders_.size() && QDir(folders_[index]) != QDir(folder))
            ++index;
        if (index == folders_.size()) {
            if (!mountable(folder) || index >= lastDrive - firstDrive + 1)
                return QString();
            folders_ << folder;
        }
        return index == 0 ? file.fileName() : QString(drive(index)) + QStringLiteral(":\\") + file.fileName();
    }

    QStringList mountCommands() const
    {
        QStringList commands;
        for (qsizetype i = 0; i < folders_.size(); ++i)
            commands << QStringLiteral("mount %1 \"%2\"").arg(drive(i), folders_[i]);
        return commands;
    }

private:
    static constexpr char firstDrive = 'C';
    static constexpr char lastDrive = 'Z';
    static QChar drive(qsizetype index) { return QLatin1Char(char(firstDrive + index)); }

    QStringList folders_;
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

} // namespace

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
        command += QStringLiteral(" >") + outputFile;
    const QString configuration = writeConfiguration();
    if (configuration.isEmpty()) {
        start.error = EIO;
        return start;
    }
    const QStringList commands =
        drives.mountCommands() + QStringList{QStringLiteral("C:"), command, QStringLiteral("exit")};

    start.arguments << QStringLiteral("-conf") << configuration;
    for (const QString &c : commands)
        start.arguments << QStringLiteral("-c") << batchLine(c);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    if (window == DosWindow::Hidden || !canShowDosWindow())
        environment.insert(QStringLiteral("SDL_VIDEODRIVER"), QStringLiteral("dummy"));
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
