#pragma once

#include <QObject>

class QSocketNotifier;

namespace vimora {

/// Turns SIGINT and SIGTERM into a quit of the event loop, so that the application's
/// termination clean-up runs as it does when the window closes. The handler only writes a
/// byte to a socket; the event loop reads it and quits.
class TerminationSignals : public QObject
{
public:
    /// Installs the handlers once per application object; false when the socket or the
    /// handlers cannot be set up.
    static bool install();

private:
    explicit TerminationSignals(QObject *parent);
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace vimora
