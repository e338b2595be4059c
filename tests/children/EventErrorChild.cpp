// Velmora's application object in a process of its own, with an event handler that runs out
// of memory: the dispatch must end that event with a message and the program go on. Prints
// the messages shown, then "went on" once a later event has run.
#include "app/Application.h"
#include "support/ScriptedDialogs.h"

#include <QTimer>

#include <cstdio>
#include <new>

int main(int argc, char **argv)
{
    velmora::app::TApplication application(argc, argv);
    velmora::testing::ScriptedDialogs dialogs;
    QTimer::singleShot(0, [] { throw std::bad_alloc(); });
    QTimer::singleShot(10, [&] {
        for (const auto &shown : dialogs.messages)
            std::puts(qPrintable(shown.text));
        std::puts("went on");
        QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}
