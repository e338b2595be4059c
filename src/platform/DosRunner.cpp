#include "platform/DosRunner.h"

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

QString mountCommand(QChar drive, const QString &folder)
{
    return QStringLiteral("mount %1 \"%2\"").arg(drive, folder);
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
    const QFileInfo info(program);
    const QString current = QDir::currentPath();
    const QString folder = info.absolutePath();
    const bool elsewhere = QDir(folder) != QDir(current);
    if (!mountable(current) || !mountable(folder) || !dosTakesLiterally(tail) || !dosTakesLiterally(outputFile) ||
        !dosTakesLiterally(info.fileName()) || info.fileName().contains(QLatin1Char(' '))) {
        start.error = EINVAL;
        return start;
    }
    const QString configuration = writeConfiguration();
    if (configuration.isEmpty()) {
        start.error = EIO;
        return start;
    }

    QString command = (elsewhere ? QStringLiteral("D:\\") : QString()) + info.fileName() + tail;
    if (!outputFile.isEmpty())
        command += QStringLiteral(" >") + outputFile;
    QStringList commands{mountCommand(QLatin1Char('C'), current)};
    if (elsewhere)
        commands << mountCommand(QLatin1Char('D'), folder);
    commands << QStringLiteral("C:") << command << QStringLiteral("exit");

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
