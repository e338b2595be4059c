// Program start: the application object, the four windows in their order, the message loop.
#pragma once

#include <QApplication>

namespace velmora::app
{

// The application whose event dispatch is the central error handler: an error that leaves
// an event handler (memory running out while typing, painting or laying out) ends that
// event with a message instead of ending the program.
class TApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override;
};

int runApplication(int argc, char **argv);

} // namespace velmora::app
