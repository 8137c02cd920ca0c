#include "platform/log.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#include <QFile>

namespace vimora {

namespace {
std::mutex g_logMutex;
LogSink g_sink;
bool g_toStandardError = false;
QString g_path;
qint64 g_maxBytes = kLogFileMaxBytes;
std::unique_ptr<QFile> g_file;

// Called with the mutex held.
bool openLogFile()
{
    g_file = std::make_unique<QFile>(g_path);
    if (g_file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return true;
    g_file.reset();
    return false;
}

// Called with the mutex held.
void writeToFile(const QByteArray &line)
{
    if (!g_file)
        return;
    if (g_file->size() > 0 && g_file->size() + line.size() > g_maxBytes) {
        g_file->close();
        const QString previous = g_path + QStringLiteral(".1");
        QFile::remove(previous);
        QFile::rename(g_path, previous);
        if (!openLogFile())
            return;
    }
    g_file->write(line);
    g_file->flush();
}

void qtMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    logLine(message);
    if (type == QtFatalMsg)
        std::abort();
}
} // namespace

void logLine(const QString &message)
{
    const QByteArray line = message.toUtf8() + '\n';
    std::lock_guard lock(g_logMutex);
    if (g_toStandardError) {
        std::fputs(line.constData(), stderr);
        std::fflush(stderr);
    }
    writeToFile(line);
    if (g_sink)
        g_sink(message);
}

void setLogSink(LogSink sink)
{
    std::lock_guard lock(g_logMutex);
    g_sink = std::move(sink);
}

bool setLogFile(const QString &path, qint64 maxBytes)
{
    std::lock_guard lock(g_logMutex);
    g_file.reset();
    g_path = path;
    g_maxBytes = maxBytes;
    if (path.isEmpty())
        return true;
    return openLogFile();
}

QString logFilePath()
{
    std::lock_guard lock(g_logMutex);
    return g_path;
}

void setLogToStandardError(bool on)
{
    std::lock_guard lock(g_logMutex);
    g_toStandardError = on;
}

void routeQtMessagesToLog()
{
    qInstallMessageHandler(qtMessage);
}

} // namespace vimora
