#pragma once

#include <QEventLoop>
#include <QPixmap>
#include <QString>
#include <QTimer>

#include <cstdio>

// Lets the event loop run for a while: layouts, paints and the sending thread's signals come in.
inline void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

inline void save(const QPixmap& picture, const QString& path) {
    if (!picture.save(path, "PNG", 9))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}
