#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/StartCheck.h"
#include "platform/Paths.h"

#include <QTimer>

#include <cstdio>
#include <cstring>

namespace velmora::app
{

namespace
{

const char *const Usage = "Usage: velmora [--check-start] [FILE]\n"
                          "Edit, assemble, link and run 16-bit assembler programs.\n"
                          "\n"
                          "  FILE           the assembler source to open at start\n"
                          "  --check-start  start as usual, print where the program found its files\n"
                          "                 and close again; the exit status is 1 when the language\n"
                          "                 pack, the help file or the tools folder is missing\n"
                          "  --help         print this text\n";

const QString CheckStartOption = QStringLiteral("--check-start");

} // namespace

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    TVelmora::runCommand([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

int runApplication(int argc, char **argv)
{
    // Answered before the application object exists, so that it needs no display.
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(Usage, stdout);
        return 0;
    }
    TApplication app(argc, argv);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const bool checkStart = !arguments.isEmpty() && arguments.first() == CheckStartOption;
    if (checkStart)
        arguments.removeFirst();
    TVelmora window(StartUp{platform::exeDir(), arguments, platform::userStateFolder() + QStringLiteral("velmora/")});
    // The preferences and about windows follow the main window, in that order; the info
    // window is created after them.
    window.createOtherWindows();
    window.show();
    bool complete = true;
    if (checkStart) {
        QTimer::singleShot(0, &window, [&window, &complete] {
            const StartReport report = startReport(window);
            std::fputs(qPrintable(report.lines.join(QLatin1Char('\n')) + QLatin1Char('\n')), stdout);
            complete = report.complete;
            window.ExitA();
        });
    } else {
        // Text that a run which ended without a clean exit left unsaved is offered over the window.
        QTimer::singleShot(0, &window,
                           [&window] { TVelmora::runCommand([&window] { window.offerRecoveryCopies(); }); });
    }
    const int result = app.exec();
    return result == 0 && !complete ? 1 : result;
}

} // namespace velmora::app
