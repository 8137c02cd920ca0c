#include "screenkit/notices.h"

#include "platform/device.h"
#include "platform/resources.h"
#include "ui/clock.h"

namespace vimora {

std::shared_ptr<ui::AlertView> showNotice(const QString &title, const QString &message)
{
    auto alert = std::make_shared<ui::AlertView>(title, message, nullptr, QStringLiteral("OK"));
    alert->show();
    return alert;
}

void showBusy(const std::shared_ptr<ui::ActivityIndicator> &spinner, bool busy, SpinnerOrder order)
{
    ui::postToMainThread([weak = std::weak_ptr<ui::ActivityIndicator>(spinner), busy, order] {
        const auto indicator = weak.lock();
        if (!indicator)
            return;
        if (!busy) {
            indicator->stopAnimating();
            return;
        }
        if (ui::View *parent = indicator->superview(); parent && order == SpinnerOrder::ToFront)
            parent->bringSubviewToFront(indicator.get());
        indicator->startAnimating();
    });
}

BusyNotice::BusyNotice(QString title)
    : m_title(std::move(title))
{
}

BusyNotice::~BusyNotice()
{
    stop();
}

void BusyNotice::start()
{
    stop();
    m_due = ui::Timer::scheduled(kDelay, false, [this] {
        // A blank message leaves room under the title for the spinner.
        m_alert = std::make_shared<ui::AlertView>(m_title, QStringLiteral(" "));
        auto spinner = std::make_shared<ui::ActivityIndicator>(ui::ActivityIndicatorStyle::WhiteLarge);
        spinner->setFrame(QRectF(ui::AlertView::kWidth / 2 - 15, 60, 30, 30));
        m_alert->addSubview(spinner);
        m_alert->show();
        spinner->startAnimating();
    });
}

void BusyNotice::stop()
{
    if (m_due)
        m_due->invalidate();
    m_due.reset();
    if (m_alert && m_alert->isVisible())
        m_alert->dismissWithClickedButtonIndex(0, false);
    m_alert.reset();
}

Picture homePicture()
{
    return Resources::imageNamed(isDeviceiPad() ? QStringLiteral("mainB1.png") : QStringLiteral("mainB1iphone.png"));
}

} // namespace vimora
