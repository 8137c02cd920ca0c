#include "editor/panel_parts.h"

#include <utility>

#include <QKeyEvent>

#include "editor/view_tags.h"
#include "platform/resources.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/overlay_stack.h"
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
    // The earlier alert's buttons would call the delegate replaced below (a key can ask again
    // while the question is up): it leaves the screen first.
    withdraw();
    auto delegate = std::make_unique<ConfirmationDelegate>(std::move(confirmed));
    auto alert = std::make_shared<ui::AlertView>(title, message, delegate.get(), QStringLiteral("Cancel"),
                                                 QStringList{confirmTitle});
    m_delegate = std::move(delegate);
    m_alert = alert;
    alert->show();
}

Confirmation::~Confirmation()
{
    withdraw();
}

void Confirmation::withdraw()
{
    if (const auto alert = std::exchange(m_alert, nullptr)) {
        alert->setDelegate(nullptr);
        alert->dismissWithClickedButtonIndex(alert->cancelButtonIndex(), false);
    }
}

ClosablePanel::~ClosablePanel()
{
    release();
}

void ClosablePanel::open(ui::View &panel, std::function<void()> close)
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

    ui::OverlayStack::of(&panel).open(panel.sharedFromThis(), [this] { closeNow(); });
}

void ClosablePanel::release()
{
    if (!m_panel)
        return;
    ui::View *panel = std::exchange(m_panel, nullptr);
    ui::OverlayStack::of(panel).closed(panel);
}

void ClosablePanel::closeNow()
{
    if (!m_panel)
        return;
    // Taken first: the close action may reopen this panel.
    const auto close = std::move(m_close);
    ui::View *panel = m_panel;
    release();
    panel->setHidden(true);
    if (close)
        close();
}

std::shared_ptr<ui::Button> makeBarButton(const QRectF &frame, const QString &title, int tag,
                                          std::function<void()> action)
{
    auto button = std::make_shared<ui::Button>(frame);
    button->setBackgroundImage(ui::StretchableImage::resizable(Resources::imageNamed(QStringLiteral("longBtn.png")),
                                                               ui::EdgeInsets{0, 40, 0, 40}, ui::StretchableImage::ResizingMode::Stretch));
    button->setTitle(title);
    button->setTitleColor(Qt::white);
    button->setTitleShadowColor(QColor(0, 0, 0, 160));
    button->setTitleShadowOffset(QPointF(1, 1));
    button->setTag(tag);
    button->addAction(ui::ControlEventTouchUpInside, [action = std::move(action)](ui::Control &) { action(); });
    return button;
}

std::shared_ptr<ui::Label> makeShadowedLabel(const QRectF &frame, const QString &text, double pixelSize)
{
    auto label = std::make_shared<ui::Label>(frame, text);
    label->setBackgroundColor(Qt::transparent);
    label->setTextColor(Qt::white);
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setShadowColor(Qt::black);
    label->setShadowOffset(QPointF(2, 2));
    if (pixelSize > 0) {
        QFont font = label->font();
        font.setPixelSize(int(pixelSize));
        label->setFont(font);
    }
    return label;
}

} // namespace vimora
