#include "app/Application.h"

#include "app/MainWindow.h"
#include "platform/Paths.h"

#include <QApplication>

namespace velmora::app
{

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TVelmora window(StartUp{platform::exeDir(), arguments});
    // The preferences, about and info windows are created here, in that order.
    window.show();
    return app.exec();
}

} // namespace velmora::app
