#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <memory>

namespace tolvimar::bench {

// The fastest of several runs, in milliseconds.
inline double fastest(int repeat, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// The whole number after "--name" on the command line, or the fallback.
inline int option(const QStringList &args, const QString &name, int fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}

// The application of a benchmark that draws (a QGuiApplication or a QApplication): it
// runs off-screen unless QT_QPA_PLATFORM names another platform.
template<typename Application>
std::unique_ptr<Application> offscreenApplication(int &argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<Application>(argc, argv);
}

} // namespace tolvimar::bench
