#include "editor/panel_parts.h"

#include <QKeyEvent>

#include "editor/view_tags.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/transaction.h"
#include "ui/transition.h"

namespace vimora {

void reopenPanel(ui::View &mainView, ui::ImageView &panel)
{
    panel.setHidden(false);
    mainView.bringSubviewToFront(&panel);
    panel.removeAllSubviews();
    panel.setBackgroundColor(Qt::transparent);
    panel.setTransform({});
}

void fadeIn(ui::View &view, double seconds)
{
    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    view.addTransition(ui::Transition(ui::TransitionType::Fade, ui::TransitionSubtype::FromBottom, seconds));
    ui::Transaction::commit();
}

std::shared_ptr<ui::ScrollView> addPickerScroll(ui::View &panel, double top)
{
    const QSizeF size = panel.bounds().size();
    auto scroll = std::make_shared<ui::ScrollView>(QRectF(5, top, size.width() - 10, size.height() - top - 5));
    scroll->setBouncesZoom(true);
    scroll->setClipsToBounds(true);
    scroll->setUserInteractionEnabled(true);
    scroll->setMultipleTouchEnabled(true);
    scroll->setScrollEnabled(true);
    scroll->setShowsHorizontalScrollIndicator(false);
    scroll->setShowsVerticalScrollIndicator(false);
    panel.addSubview(scroll);
    return scroll;
}

void addPanelTitle(ui::View &panel, const QRectF &frame, const QString &text)
{
    auto title = std::make_shared<ui::Label>(frame, text);
    title->setTextColor(Qt::darkGray);
    title->setBackgroundColor(Qt::transparent);
    title->setTextAlignment(ui::TextAlignment::Left);
    panel.addSubview(title);
}

namespace {
/// Clear, screen-sized, under an open panel: a touch or Escape closes the panel.
class OutsideLayer : public ui::View
{
public:
    OutsideLayer(const QRectF &frame, std::function<void()> close)
        : ui::View(frame)
        , m_close(std::move(close))
    {
        setBackgroundColor(Qt::transparent);
        setTouchHandler([this](ui::TouchPhase phase, const ui::TouchSet &) {
            if (phase == ui::TouchPhase::Ended)
                m_close();
        });
    }
    bool canBecomeFirstResponder() const override { return true; }
    bool keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() != Qt::Key_Escape)
            return false;
        m_close();
        return true;
    }

private:
    std::function<void()> m_close;
};
} // namespace

void ClosablePanel::open(ui::View &mainView, ui::View &panel, std::function<void()> close)
{
    release();
    m_panel = &panel;
    m_close = std::move(close);

    auto button = std::make_shared<ui::Button>(
        QRectF(panel.bounds().width() - kCloseControlSide, 0, kCloseControlSide, kCloseControlSide));
    button->setTitle(QStringLiteral("\u00d7"));
    button->setTitleColor(Qt::darkGray);
    QFont font = button->font();
    font.setPixelSize(28);
    button->setFont(font);
    button->setTag(kPanelCloseTag);
    button->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { closeNow(); });
    panel.addSubview(button);

    // The layer may outlive this object's interest in it only until the next release().
    m_layer = std::make_shared<OutsideLayer>(mainView.bounds(), [this] { closeNow(); });
    mainView.insertSubviewBelow(m_layer, &panel);
    m_layer->becomeFirstResponder();
}

void ClosablePanel::release()
{
    if (!m_layer)
        return;
    const ui::ViewPtr layer = std::move(m_layer);
    m_layer.reset();
    layer->resignFirstResponder();
    layer->removeFromSuperview();
}

void ClosablePanel::closeNow()
{
    if (!m_layer)
        return;
    // Taken first: the layer running this may go with release().
    const auto close = std::move(m_close);
    const ui::ViewPtr keepAlive = m_layer;
    release();
    if (m_panel)
        m_panel->setHidden(true);
    if (close)
        close();
}

} // namespace vimora
