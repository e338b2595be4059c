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
    // The preferences and about windows follow the main window, in that order; the info
    // window is created after them.
    window.createOtherWindows();
    window.show();
    return app.exec();
}

} // namespace velmora::app
