#include "app/Application.h"

#include <QApplication>
#include <QMainWindow>

namespace velmora::app {

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Untitled - Velmora 3.5f"));
    window.show();
    return app.exec();
}

} // namespace velmora::app
