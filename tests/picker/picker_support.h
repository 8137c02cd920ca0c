#pragma once

// Photo folders for the picker tests, and a wait for the worker threads' answers.

#include <functional>

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QString>
#include <QThread>

#include "ui/headless_host.h"

namespace vimora::test {

inline void writePhoto(const QString &path, const QColor &colour = Qt::darkCyan, QSize size = QSize(40, 30))
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path);
}

/// Runs Qt's events and the posted main-thread work until the condition holds (or gives up after a while).
inline bool waitUntil(ui::HeadlessHost &host, const std::function<bool()> &condition)
{
    for (int i = 0; i < 4000; ++i) {
        QCoreApplication::processEvents();
        host.runPending();
        if (condition())
            return true;
        QThread::msleep(2);
    }
    return condition();
}

} // namespace vimora::test
