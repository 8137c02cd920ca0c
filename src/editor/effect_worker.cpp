#include "editor/effect_worker.h"

#include "platform/log.h"
#include "ui/clock.h"

namespace vimora {

EffectWorker::EffectWorker() = default;

EffectWorker::~EffectWorker()
{
    m_life.reset();
    waitForWork();
}

bool EffectWorker::run(Work work)
{
    if (m_busy)
        return false;
    waitForWork(); // the previous thread has finished its work; join it
    m_busy = true;
    std::weak_ptr<int> life = m_life;
    m_thread = std::thread([this, life, work = std::move(work)] {
        Apply apply;
        try {
            apply = work();
        } catch (const std::exception &error) {
            logLine(QStringLiteral("effect job failed: %1").arg(QString::fromLocal8Bit(error.what())));
        }
        ui::postToMainThread([this, life, apply = std::move(apply)] {
            if (life.expired())
                return;
            m_busy = false;
            if (apply)
                apply();
        });
    });
    return true;
}

void EffectWorker::waitForWork()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace vimora
