#pragma once
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

// Runs the event loop in slices of `sliceMs` until `done` or `ms` have passed.
inline bool wait(const std::function<bool()> &done, int ms, int sliceMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, sliceMs);
    }
    return true;
}
