#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace revlane::ui {

// Ends the program right after a window has painted its first frame, and prints the process's
// peak memory then, so that start-up can be timed from outside. The benchmarks start Revlane
// and a bare Qt program this way and compare the two.
class QuitAfterFirstFrame : public QObject {
public:
    explicit QuitAfterFirstFrame(QWidget* window) : QObject(window) { window->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // The frame reaches the screen when the paint has returned and been flushed.
            QTimer::singleShot(0, this, [] {
                std::printf("first frame painted; peak memory %ld KiB\n", PeakKiB());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

    // The most memory the process has had resident, in KiB. On Linux that is the high-water mark
    // of its own address space: the resource usage counter also keeps that of whatever process
    // it was started from.
    static long PeakKiB()
    {
        long kib = 0;
#if defined(Q_OS_LINUX)
        if (FILE* status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, status))
                if (std::strncmp(line, "VmHWM:", 6) == 0)
                    kib = std::strtol(line + 6, nullptr, 10);
            std::fclose(status);
        }
#elif defined(Q_OS_UNIX)
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        kib = usage.ru_maxrss;
#endif
        return kib;
    }

private:
    bool seen_ = false;
};

}  // namespace revlane::ui
