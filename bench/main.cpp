// Runs the registered benchmarks named on the command line (all when none is named) and
// prints one "name: value unit" line per figure.
#include "bench/BenchRegistry.h"

#include <QApplication>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    return velmora::bench::runAll(std::vector<std::string>(argv + 1, argv + argc));
}
