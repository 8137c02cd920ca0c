#include "ui/toolbar.h"

#include <QPainter>

#include "ui/button.h"
#include "ui/navigation_bar.h"
#include "ui/theme.h"
#include "ui/transition.h"

namespace vimora::ui {

namespace {
constexpr double kAnimationDuration = 0.3;
}

Toolbar::Toolbar() = default;

Toolbar::Toolbar(const QRectF &frame)
    : Toolbar()
{
    setFrame(frame);
}

Toolbar::~Toolbar()
{
    for (const BarButtonItemPtr &item : m_items)
        item->setChangeHandler({});
}

void Toolbar::setBarStyle(BarStyle style)
{
    m_style = style;
    setNeedsDisplay();
}

void Toolbar::setTranslucent(bool translucent)
{
    m_translucent = translucent;
    setNeedsDisplay();
}

void Toolbar::setItems(const std::vector<BarButtonItemPtr> &items, bool animated)
{
    if (animated)
        addTransition(Transition(TransitionType::Fade, TransitionSubtype::FromLeft, kAnimationDuration));
    for (const BarButtonItemPtr &item : m_items) {
        item->setChangeHandler({});
        if (auto button = item->button())
            if (button->superview() == this)
                button->removeFromSuperview();
    }
    m_items.clear();
    for (const BarButtonItemPtr &item : items) {
        if (!item)
            continue;
        m_items.push_back(item);
        item->setChangeHandler([this]() { layoutItems(); });
        if (auto button = item->button())
            addSubview(button);
    }
    layoutItems();
}

void Toolbar::layoutItems()
{
    const QRectF b = bounds();
    double fixed = 0;
    int flexible = 0;
    for (const BarButtonItemPtr &item : m_items) {
        if (item->isFlexibleSpace())
            ++flexible;
        else
            fixed += item->sizeThatFits().width();
    }
    const double gaps = m_items.empty() ? 0 : kItemGap * double(m_items.size() - 1);
    const double spare = std::max(0.0, b.width() - 2 * kEdgeMargin - fixed - gaps);
    const double flexWidth = flexible > 0 ? spare / flexible : 0;
    double x = b.left() + kEdgeMargin;
    for (const BarButtonItemPtr &item : m_items) {
        const QSizeF size = item->sizeThatFits();
        const double width = item->isFlexibleSpace() ? flexWidth : size.width();
        if (auto button = item->button())
            button->setFrame(QRectF(x, b.top() + (b.height() - size.height()) / 2, width, size.height()));
        x += width + kItemGap;
    }
}

void Toolbar::drawContent(QPainter &painter) const
{
    const ThemeStyle look =
        Theme::current().style(m_style == BarStyle::Black ? ThemeElement::ToolbarBlack : ThemeElement::Toolbar);
    const QRectF b = bounds();
    painter.save();
    if (m_translucent)
        painter.setOpacity(painter.opacity() * NavigationBar::kTranslucentAlpha);
    painter.fillRect(b, look.brush);
    if (look.pen.style() != Qt::NoPen)
        painter.fillRect(QRectF(b.left(), b.top(), b.width(), look.pen.widthF()), look.pen.color());
    painter.restore();
}

} // namespace vimora::ui
