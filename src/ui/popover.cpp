#include "ui/popover.h"

#include <algorithm>
#include <array>

#include "ui/host.h"
#include "ui/theme.h"
#include "ui/transition.h"

namespace vimora::ui {

namespace {

struct Side
{
    PopoverArrowDirection direction;
    double room;     // space for the panel along the arrow's axis
    double needed;   // the panel's extent along that axis
};

} // namespace

PopoverPlacement placePopover(QSizeF screen, const QRectF &anchor, QSizeF contentSize, PopoverArrowDirections permitted)
{
    const double m = Popover::kScreenMargin;
    const QRectF screenRect(QPointF(0, 0), screen);
    const QRectF onScreen = anchor.normalized() & screenRect;
    const QRectF a = onScreen.isEmpty() ? anchor.normalized() : onScreen;
    if ((permitted & PopoverArrowDirectionAny) == 0)
        permitted = PopoverArrowDirectionAny;
    contentSize = QSizeF(std::max(0.0, contentSize.width()), std::max(0.0, contentSize.height()));

    const QSizeF vertical = PopoverPanel::sizeForContent(contentSize, PopoverArrowDirectionUp);
    const QSizeF horizontal = PopoverPanel::sizeForContent(contentSize, PopoverArrowDirectionLeft);
    const std::array<Side, 4> sides{{
        {PopoverArrowDirectionUp, screen.height() - m - a.bottom(), vertical.height()},
        {PopoverArrowDirectionDown, a.top() - m, vertical.height()},
        {PopoverArrowDirectionLeft, screen.width() - m - a.right(), horizontal.width()},
        {PopoverArrowDirectionRight, a.left() - m, horizontal.width()},
    }};
    const Side *chosen = nullptr;
    for (const Side &s : sides)
        if ((permitted & s.direction) && s.room >= s.needed) {
            chosen = &s;
            break;
        }
    if (!chosen)
        for (const Side &s : sides)
            if ((permitted & s.direction) && (!chosen || s.room / s.needed > chosen->room / chosen->needed))
                chosen = &s;

    PopoverPlacement p;
    p.direction = chosen->direction;
    const ThemeStyle look = Theme::current().style(ThemeElement::PopoverPanel);
    const bool isVertical = p.direction == PopoverArrowDirectionUp || p.direction == PopoverArrowDirectionDown;
    QSizeF size = PopoverPanel::sizeForContent(contentSize, p.direction);
    // Too little room: the content gives way, along the arrow's axis and across it.
    const double room = std::max(0.0, chosen->room);
    if (isVertical) {
        const double shrink = std::max(0.0, size.height() - room);
        contentSize.rheight() = std::max(0.0, contentSize.height() - shrink);
        const double across = std::max(0.0, size.width() - (screen.width() - 2 * m));
        contentSize.rwidth() = std::max(0.0, contentSize.width() - across);
    } else {
        const double shrink = std::max(0.0, size.width() - room);
        contentSize.rwidth() = std::max(0.0, contentSize.width() - shrink);
        const double across = std::max(0.0, size.height() - (screen.height() - 2 * m));
        contentSize.rheight() = std::max(0.0, contentSize.height() - across);
    }
    size = PopoverPanel::sizeForContent(contentSize, p.direction);
    p.contentSize = contentSize;

    auto slide = [](double centre, double extent, double lo, double hi) {
        return std::clamp(centre - extent / 2, lo, std::max(lo, hi - extent));
    };
    QPointF tip;
    QPointF origin;
    switch (p.direction) {
    case PopoverArrowDirectionUp:
        tip = QPointF(a.center().x(), a.bottom());
        origin = QPointF(slide(tip.x(), size.width(), m, screen.width() - m), tip.y());
        break;
    case PopoverArrowDirectionDown:
        tip = QPointF(a.center().x(), a.top());
        origin = QPointF(slide(tip.x(), size.width(), m, screen.width() - m), tip.y() - size.height());
        break;
    case PopoverArrowDirectionLeft:
        tip = QPointF(a.right(), a.center().y());
        origin = QPointF(tip.x(), slide(tip.y(), size.height(), m, screen.height() - m));
        break;
    default:
        tip = QPointF(a.left(), a.center().y());
        origin = QPointF(tip.x() - size.width(), slide(tip.y(), size.height(), m, screen.height() - m));
        break;
    }
    p.frame = QRectF(origin, size);
    const double clear = look.radius + look.size.width() / 2;
    const double along = isVertical ? tip.x() - origin.x() : tip.y() - origin.y();
    const double extent = isVertical ? size.width() : size.height();
    p.arrowOffset = std::clamp(along, std::min(clear, extent / 2), std::max(extent / 2, extent - clear));
    return p;
}

Popover::Popover(const ViewPtr &contentView)
    : m_panel(std::make_shared<PopoverPanel>())
{
    m_panel->setContentView(contentView);
}

Popover::~Popover()
{
    if (m_layer) {
        OverlayStack::of(m_layer.get()).closed(m_panel.get());
        m_layer->setTouchHandler({});
        m_layer->removeAllSubviews();
        m_layer->removeFromSuperview();
    }
}

void Popover::setContentView(const ViewPtr &view)
{
    m_panel->setContentView(view);
}

void Popover::setPopoverContentSize(QSizeF size, bool)
{
    m_contentSize = size;
    if (m_visible)
        place();
}

PopoverArrowDirection Popover::popoverArrowDirection() const
{
    return m_visible ? m_panel->arrowDirection() : PopoverArrowDirectionUnknown;
}

void Popover::presentPopoverFromRect(const QRectF &rect, View *view, PopoverArrowDirections directions, bool animated)
{
    Host *host = view ? view->host() : nullptr;
    if (!host)
        host = Host::current();
    if (!host)
        return;
    if (m_visible && m_layer && m_layer->host() != host)
        takeDown(false);
    m_anchor = view ? view->convertRectTo(rect, nullptr) : rect;
    m_permitted = directions;
    if (!m_layer) {
        // A clear layer over the whole screen catches the taps outside the panel.
        m_layer = std::make_shared<View>(host->window().bounds());
        m_layer->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
        m_layer->setTouchHandler([this](TouchPhase phase, const TouchSet &) {
            if (phase == TouchPhase::Began)
                tappedOutside();
        });
        m_layer->addSubview(m_panel);
    }
    const bool appearing = !m_visible;
    m_visible = true;
    place();
    if (appearing && animated) {
        m_layer->setHidden(true);
        host->window().addSubview(m_layer);
        m_layer->addTransition(Transition(TransitionType::Fade, TransitionSubtype::FromLeft, kFadeDuration));
        m_layer->setHidden(false);
    } else if (appearing) {
        host->window().addSubview(m_layer);
    }
    // Escape closes it as an outside tap does; its own layer takes the outside taps.
    if (appearing)
        host->overlays().open(m_panel, [this] { tappedOutside(); }, OverlayStack::OutsideTap::Ignored);
}

void Popover::place()
{
    if (!m_layer)
        return;
    const PopoverPlacement p = placePopover(m_layer->bounds().size(), m_anchor, m_contentSize, m_permitted);
    m_panel->setFrame(p.frame);
    m_panel->setArrow(p.direction, p.arrowOffset);
}

void Popover::dismissPopoverAnimated(bool animated)
{
    if (m_visible)
        takeDown(animated);
}

void Popover::takeDown(bool animated)
{
    m_visible = false;
    const ViewPtr layer = std::move(m_layer);
    m_layer.reset();
    if (!layer)
        return;
    layer->setTouchHandler({});
    OverlayStack::of(layer.get()).closed(m_panel.get());
    if (Host *host = layer->host())
        if (View *focus = host->focusView(); focus && focus->isDescendantOf(m_panel.get()))
            focus->resignFirstResponder();
    if (!animated) {
        layer->removeAllSubviews();
        layer->removeFromSuperview();
        return;
    }
    // Hidden at once (no touches reach it), drawn fading out, then taken away; the panel is
    // taken out of the fading layer first if the popover is shown again meanwhile.
    layer->addTransition(Transition(TransitionType::Fade, TransitionSubtype::FromLeft, kFadeDuration));
    layer->setHidden(true);
    std::weak_ptr<View> weak = layer;
    Clock::current().schedule(kFadeDuration, [weak]() {
        if (ViewPtr l = weak.lock()) {
            l->removeAllSubviews();
            l->removeFromSuperview();
        }
    });
}

void Popover::tappedOutside()
{
    if (!m_visible)
        return;
    PopoverDelegate *delegate = m_delegate;
    if (delegate && !delegate->popoverControllerShouldDismissPopover(*this))
        return;
    takeDown(true);
    // Last: the delegate may let go of this popover.
    if (delegate)
        delegate->popoverControllerDidDismissPopover(*this);
}

} // namespace vimora::ui
