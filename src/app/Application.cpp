#include "app/Application.h"

#include "app/MainWindow.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QTimer>

namespace velmora::app
{

namespace
{

// The application whose event dispatch is the central error handler: an error that leaves
// an event handler (memory running out while typing, painting or laying out) ends that
// event with a message instead of ending the program.
class TApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        bool handled = false;
        TVelmora::runCommand([&] { handled = QApplication::notify(receiver, event); });
        return handled;
    }
};

} // namespace

int runApplication(int argc, char **argv)
{
    TApplication app(argc, argv);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TVelmora window(StartUp{platform::exeDir(), arguments, platform::userStateFolder() + QStringLiteral("velmora/")});
    // The preferences and about windows follow the main window, in that order; the info
    // window is created after them.
    window.createOtherWindows();
    window.show();
    // Text that a run which ended without a clean exit left unsaved is offered over the window.
    QTimer::singleShot(0, &window, [&window] { TVelmora::runCommand([&window] { window.offerRecoveryCopies(); }); });
    return app.exec();
}

} // namespace velmora::app
