#include "compositor/panel_minimiser.h"

#include "platform/resources.h"
#include "ui/transaction.h"
#include "ui/transition.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
const QString kResultTool = QStringLiteral("resultTool");
} // namespace

PanelMinimiser::PanelMinimiser(ScreenViews &views)
    : m_views(views)
{
}

void PanelMinimiser::smallTheButton(const QString &senderTitle)
{
    if (m_smallBtns)
        m_smallBtns->removeFromSuperview();
    m_smallBtns = std::make_shared<ui::Button>(QRectF(0, 0, kCornerSide, kCornerSide));
    m_smallBtns->setTitle(senderTitle);
    m_smallBtns->setTitleColor(Qt::transparent);
    m_smallBtns->setImage(Resources::imageNamed(QStringLiteral("buttonY.png")));
    m_smallBtns->addAction(ui::ControlEventTouchUpInside,
                           [this](ui::Control &b) { scaleTool(static_cast<ui::Button &>(b).title()); });
    // Over every layer of the screen, the text overlay's help included: the way back to the
    // toolbar stays in reach whatever opened over the background.
    auto &background = *m_views.mainView;
    background.addSubview(m_smallBtns);
    m_smallBtns->setHidden(false);
    m_smallBtns->setAlpha(0);

    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    ui::Transaction::setAnimationDuration(kSeconds);
    const ui::Transition fade(ui::TransitionType::Fade, ui::TransitionSubtype::FromLeft, kSeconds);
    if (senderTitle == kResultTool) {
        m_views.selectTopView->addTransition(fade);
        m_views.selectTopView->setAlpha(0);
    }
    m_smallBtns->setAlpha(1.0);
    ui::Transaction::commit();
    background.bringSubviewToFront(m_smallBtns.get());
}

void PanelMinimiser::putAway()
{
    if (m_smallBtns)
        m_smallBtns->removeFromSuperview();
    m_smallBtns.reset();
}

void PanelMinimiser::scaleTool(const QString &senderTitle)
{
    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    ui::Transaction::setAnimationDuration(kSeconds);
    const ui::Transition ripple(ui::TransitionType::Ripple, ui::TransitionSubtype::FromLeft, kSeconds);
    if (m_smallBtns)
        m_smallBtns->addTransition(ripple);
    if (senderTitle == kResultTool) {
        m_views.selectTopView->addTransition(ripple);
        m_views.selectTopView->setAlpha(1.0);
    }
    if (m_smallBtns)
        m_smallBtns->setAlpha(0);
    ui::Transaction::commit();
}

} // namespace vimora
