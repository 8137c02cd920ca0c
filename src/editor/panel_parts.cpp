#include "editor/panel_parts.h"

#include <QKeyEvent>

#include "editor/view_tags.h"
#include "ui/button.h"
#include "ui/host.h"
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

bool KeyView::keyPressEvent(QKeyEvent *event)
{
    return (m_keyHandler && m_keyHandler(*event)) || ui::View::keyPressEvent(event);
}

namespace {
class ConfirmationDelegate : public ui::AlertViewDelegate
{
public:
    explicit ConfirmationDelegate(std::function<void()> confirmed)
        : m_confirmed(std::move(confirmed))
    {
    }
    void alertViewClickedButtonAtIndex(ui::AlertView &alert, int index) override
    {
        // Taken first: going ahead may ask another question, which replaces this delegate.
        auto confirmed = std::move(m_confirmed);
        if (index != alert.cancelButtonIndex() && confirmed)
            confirmed();
    }

private:
    std::function<void()> m_confirmed;
};
} // namespace

void Confirmation::ask(const QString &title, const QString &message, const QString &confirmTitle,
                       std::function<void()> confirmed)
{
    auto delegate = std::make_unique<ConfirmationDelegate>(std::move(confirmed));
    auto alert = std::make_shared<ui::AlertView>(title, message, delegate.get(), QStringLiteral("Cancel"),
                                                 QStringList{confirmTitle});
    m_delegate = std::move(delegate);
    alert->show();
}

namespace {
/// Clear, screen-sized, under an open panel: a touch or Escape closes the panel.
std::shared_ptr<KeyView> outsideLayer(const QRectF &frame, std::function<void()> close)
{
    auto layer = std::make_shared<KeyView>(frame);
    layer->setBackgroundColor(Qt::transparent);
    layer->setTouchHandler([close](ui::TouchPhase phase, const ui::TouchSet &) {
        if (phase == ui::TouchPhase::Ended)
            close();
    });
    layer->setKeyHandler([close](const QKeyEvent &event) {
        if (event.key() != Qt::Key_Escape)
            return false;
        close();
        return true;
    });
    return layer;
}
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

    m_layer = outsideLayer(mainView.bounds(), [this] { closeNow(); });
    mainView.insertSubviewBelow(m_layer, &panel);
    ui::Host *host = ui::Host::current();
    ui::View *focused = host ? host->focusView() : nullptr;
    m_focusBefore = focused ? focused->sharedFromThis() : nullptr;
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
    // Keys go back to whoever had them before the panel opened.
    if (const auto before = m_focusBefore.lock())
        before->becomeFirstResponder();
    m_focusBefore.reset();
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
