#pragma once

#include <cmath>
#include <cstdlib>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>

#include "imaging/codec.h"
#include "imaging/picture.h"

namespace vimora::bench {

/// The process's GUI application, made on first use; offscreen unless a platform is chosen.
inline QGuiApplication &offscreenApplication(const char *name)
{
    static int argc = 1;
    static char *argv[] = {const_cast<char *>(name), nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(argc, argv);
    return application;
}

/// The real 2000 x 1500 photo the peer benchmarks use ($PEERBENCH_DIR/data), else a
/// synthetic stand-in of the same size with photo-like variation.
inline Picture benchPhoto(const char *name = "photo_2000x1500.jpg", int w = 2000, int h = 1500)
{
    const QString dir = qEnvironmentVariable("PEERBENCH_DIR", QStringLiteral("/tmp/peerbench"));
    Picture photo = readPicture(dir + "/data/" + name);
    if (!photo.isNull())
        return photo;
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qRgb(int(127 + 120 * std::sin(x * 0.013 + y * 0.002)), (x * 7 + y * 3) & 0xff,
                          int(127 + 120 * std::cos(y * 0.011)));
    }
    return Picture(image);
}

/// The bench photo, read once for the whole suite.
inline const Picture &sharedBenchPhoto()
{
    static const Picture picture = benchPhoto();
    return picture;
}

/// With VIMORA_BENCH_BUSY_CORE=n in the environment, a spinning process pinned to core n by
/// taskset runs while the suite does: the machine as it is when another program holds a core.
/// Two threads must then still be no slower than one.
class CompetingLoad
{
public:
    CompetingLoad()
    {
        const char *core = std::getenv("VIMORA_BENCH_BUSY_CORE");
        if (!core || !*core)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            execlp("taskset", "taskset", "-c", core, "sh", "-c", "while :; do :; done", static_cast<char *>(nullptr));
            _exit(127);
        }
    }
    ~CompetingLoad()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    CompetingLoad(const CompetingLoad &) = delete;
    CompetingLoad &operator=(const CompetingLoad &) = delete;

private:
    pid_t m_pid = -1;
};

} // namespace vimora::bench
