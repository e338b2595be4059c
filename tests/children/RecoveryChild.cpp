// A Velmora that the recovery tests start as a child process and kill: it opens the source
// named on its command line, types into the editor as a user would, waits for the recovery
// copy that the typing causes, says "written" on its standard output and then runs until
// it is killed.
//
// Arguments: program folder, recovery folder, source file, text to type.
#include "app/MainWindow.h"
#include "editor/widget/SourceMemo.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 5)
        return 2;
    velmora::app::TVelmora window(velmora::app::StartUp{arguments[1], {arguments[3]}, arguments[2]});
    window.show();
    if (!QTest::qWaitForWindowActive(&window))
        return 3;
    window.editor->setFocus();
    QTest::keyClicks(window.editor, arguments[4]);
    const bool written = QTest::qWaitFor(
        [&] { return !QDir(arguments[2]).entryList({QStringLiteral("*.recovery")}, QDir::Files).isEmpty(); }, 20000);
    std::puts(written ? "written" : "no copy");
    std::fflush(stdout);
    return written ? QApplication::exec() : 4;
}
