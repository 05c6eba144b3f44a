#pragma once

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace kt730 {

// For the start-up benchmark: once `window` has been shown and the event loop has painted it,
// print the widget count and the peak resident memory, and quit.
inline void exitWhenShown(QWidget& window) {
    QTimer::singleShot(0, &window, [&window] {
        QFile status("/proc/self/status");
        QByteArray peak = "?";
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("VmHWM:")) peak = line.mid(6).trimmed();
            }
        }
        std::fprintf(stderr, "widgets=%lld peak_rss=%s\n",
                     static_cast<long long>(window.findChildren<QWidget*>().size() + 1),
                     peak.constData());
        QApplication::quit();
    });
}

}  // namespace kt730
