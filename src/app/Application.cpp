#include "app/Application.h"

#include "app/MainWindow.h"
#include "platform/Paths.h"

#include <QTimer>

namespace velmora::app
{

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    TVelmora::runCommand([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

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
