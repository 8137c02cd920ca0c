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

Picture homePicture()
{
    return Resources::imageNamed(isDeviceiPad() ? QStringLiteral("mainB1.png") : QStringLiteral("mainB1iphone.png"));
}

} // namespace vimora
