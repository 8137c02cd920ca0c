#include "app/termination_signals.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include "platform/log.h"

namespace vimora {

namespace {
int g_sockets[2] = {-1, -1};
QPointer<TerminationSignals> g_installed;

void onSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe calls here.
    [[maybe_unused]] const ssize_t written = ::write(g_sockets[0], &byte, 1);
}
} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    m_notifier = new QSocketNotifier(g_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
}

bool TerminationSignals::install()
{
    if (g_installed)
        return true;
    if (!QCoreApplication::instance())
        return false;
    if (g_sockets[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_sockets) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGINT, &action, nullptr) != 0 || ::sigaction(SIGTERM, &action, nullptr) != 0)
        return false;
    g_installed = new TerminationSignals(QCoreApplication::instance());
    return true;
}

void TerminationSignals::readSignal()
{
    m_notifier->setEnabled(false);
    char byte = 0;
    [[maybe_unused]] const ssize_t got = ::read(g_sockets[1], &byte, 1);
    m_notifier->setEnabled(true);
    logLine(QStringLiteral("termination signal"));
    QCoreApplication::quit();
}

} // namespace vimora
