#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QThreadPool>

namespace vimora {

/// Runs jobs one at a time, in the order given, on a thread of its own, and hands each
/// result to its done on the thread that made the worker (the UI thread). Destroying the
/// worker waits for the job in hand; results not yet delivered are dropped.
class SerialWorker
{
public:
    SerialWorker()
        : m_pool(std::make_unique<QThreadPool>())
        , m_receiver(std::make_unique<QObject>())
    {
        m_pool->setMaxThreadCount(1);
    }
    ~SerialWorker() { m_pool->waitForDone(); }
    SerialWorker(const SerialWorker &) = delete;
    SerialWorker &operator=(const SerialWorker &) = delete;

    template <class Result> void run(std::function<Result()> job, std::function<void(const Result &)> done)
    {
        QObject *receiver = m_receiver.get();
        m_pool->start([job = std::move(job), done = std::move(done), receiver] {
            Result result = job();
            // Queued to the receiver's thread; dropped if the worker is gone by then.
            QMetaObject::invokeMethod(
                receiver,
                [done, result = std::move(result)] {
                    if (done)
                        done(result);
                },
                Qt::QueuedConnection);
        });
    }

    /// Blocks until every job given so far has run (their results are then on their way).
    void waitForIdle() { m_pool->waitForDone(); }

private:
    std::unique_ptr<QThreadPool> m_pool;
    std::unique_ptr<QObject> m_receiver; // lives on the creating thread
};

} // namespace vimora
