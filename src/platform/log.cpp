#include "platform/log.h"

#include <cstdio>
#include <mutex>

namespace vimora {

namespace {
std::mutex g_logMutex;
LogSink g_sink;
} // namespace

void logLine(const QString &message)
{
    const QByteArray bytes = message.toUtf8();
    std::lock_guard lock(g_logMutex);
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
    if (g_sink)
        g_sink(message);
}

void setLogSink(LogSink sink)
{
    std::lock_guard lock(g_logMutex);
    g_sink = std::move(sink);
}

} // namespace vimora
