#include "text/tips_panel.h"

#include "platform/device.h"
#include "platform/resources.h"
#include "platform/settings.h"
#include "text/text_controls.h"
#include "ui/theme.h"

namespace vimora::text {

TipsPanel::TipsPanel(WordTableViews views)
    : m_views(std::move(views))
{
}

void TipsPanel::show()
{
    const bool tablet = isDeviceiPad();
    ui::ImageView &panel = *m_views.wordView;
    panel.removeAllSubviews();
    if (tablet) {
        panel.setFrame(QRectF(Device::isLandscape() ? 212 : 84, 50, 600, 600));
        panel.setImage(Resources::imageNamed(QStringLiteral("descriptionIpad3.png")));
    } else {
        panel.setFrame(Device::isLandscape() ? QRectF(90, 10, 300, 300) : QRectF(10, 90, 300, 300));
        panel.setImage(Resources::imageNamed(QStringLiteral("descriptionIphone3.png")));
    }
    panel.setBackgroundColor(Qt::transparent);
    panel.setAlpha(1);
    panel.setHidden(false);
    panel.setUserInteractionEnabled(true);
    if (ui::View *parent = panel.superview())
        parent->bringSubviewToFront(&panel);

    panel.addSubview(roundButton(
        tablet ? QRectF(520, 530, 60, 60) : QRectF(245, 245, 50, 50), QStringLiteral("OK"), [this] { hide(); }));
    auto never = longButton(tablet ? QRectF(20, 535, 220, 50) : QRectF(5, 250, 150, 44),
        QStringLiteral("Never show this"), [this] { neverShow(); });
    never->setFont(ui::Theme::systemFont(tablet ? 18 : 14, true));
    panel.addSubview(never);
    m_shown = true;
}

void TipsPanel::hide()
{
    m_views.wordView->setHidden(true);
    m_shown = false;
}

void TipsPanel::neverShow()
{
    Settings::shared().setString(QString::fromLatin1(kNeverKey), QString::fromLatin1(kNeverValue));
    hide();
}

bool TipsPanel::isDeclined()
{
    return Settings::shared().stringForKey(QString::fromLatin1(kNeverKey)) == QLatin1String(kNeverValue);
}

} // namespace vimora::text
