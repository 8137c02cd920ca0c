#include "ui/popover_panel.h"

#include <algorithm>

#include <QPainter>

#include "ui/theme.h"

namespace vimora::ui {

namespace {
// The content's own corners, inside the frame's.
constexpr double kContentCornerRadius = 4;

bool isVertical(PopoverArrowDirection d)
{
    return d == PopoverArrowDirectionUp || d == PopoverArrowDirectionDown;
}
} // namespace

PopoverPanel::PopoverPanel()
    : m_clip(std::make_shared<View>())
{
    const ThemeStyle look = Theme::current().style(ThemeElement::PopoverPanel);
    m_clip->setClipsToBounds(true);
    m_clip->setCornerRadius(kContentCornerRadius);
    addSubview(m_clip);
    setShadowColor(QColor(look.shadowColor.red(), look.shadowColor.green(), look.shadowColor.blue()));
    setShadowOpacity(look.shadowColor.alphaF());
    setShadowOffset(look.shadowOffset);
    setShadowRadius(6);
}

PopoverPanel::~PopoverPanel() = default;

QSizeF PopoverPanel::sizeForContent(QSizeF contentSize, PopoverArrowDirection direction)
{
    const ThemeStyle look = Theme::current().style(ThemeElement::PopoverPanel);
    const EdgeInsets pad = look.padding;
    QSizeF size(contentSize.width() + pad.left + pad.right, contentSize.height() + pad.top + pad.bottom);
    if (isVertical(direction))
        size.rheight() += look.size.height();
    else if (direction != PopoverArrowDirectionUnknown)
        size.rwidth() += look.size.height();
    return size;
}

void PopoverPanel::setArrow(PopoverArrowDirection direction, double offset)
{
    m_direction = direction;
    m_offset = offset;
    layoutContent();
    setShadowPath(outline());
    setNeedsDisplay();
}

void PopoverPanel::setContentView(const ViewPtr &content)
{
    if (m_content == content)
        return;
    if (m_content && m_content->superview() == m_clip.get())
        m_content->removeFromSuperview();
    m_content = content;
    if (content)
        m_clip->addSubview(content);
    layoutContent();
}

QRectF PopoverPanel::bodyRect() const
{
    const double arrow = Theme::current().style(ThemeElement::PopoverPanel).size.height();
    QRectF b = bounds();
    switch (m_direction) {
    case PopoverArrowDirectionUp:
        b.setTop(b.top() + arrow);
        break;
    case PopoverArrowDirectionDown:
        b.setBottom(b.bottom() - arrow);
        break;
    case PopoverArrowDirectionLeft:
        b.setLeft(b.left() + arrow);
        break;
    case PopoverArrowDirectionRight:
        b.setRight(b.right() - arrow);
        break;
    default:
        break;
    }
    return b;
}

QRectF PopoverPanel::contentRect() const
{
    return insetRect(bodyRect(), Theme::current().style(ThemeElement::PopoverPanel).padding);
}

void PopoverPanel::layoutContent()
{
    const QRectF r = contentRect();
    m_clip->setFrame(r);
    if (m_content)
        m_content->setFrame(QRectF(QPointF(0, 0), r.size()));
    setShadowPath(outline());
}

QPainterPath PopoverPanel::outline() const
{
    const ThemeStyle look = Theme::current().style(ThemeElement::PopoverPanel);
    const QRectF body = bodyRect();
    QPainterPath path;
    path.addRoundedRect(body, look.radius, look.radius);
    if (m_direction == PopoverArrowDirectionUnknown)
        return path;
    const double half = look.size.width() / 2, height = look.size.height();
    // The arrow's base overlaps the body slightly so the union has no seam.
    QPolygonF arrow;
    switch (m_direction) {
    case PopoverArrowDirectionUp:
        arrow << QPointF(m_offset - half, body.top() + 1) << QPointF(m_offset, body.top() - height)
              << QPointF(m_offset + half, body.top() + 1);
        break;
    case PopoverArrowDirectionDown:
        arrow << QPointF(m_offset - half, body.bottom() - 1) << QPointF(m_offset, body.bottom() + height)
              << QPointF(m_offset + half, body.bottom() - 1);
        break;
    case PopoverArrowDirectionLeft:
        arrow << QPointF(body.left() + 1, m_offset - half) << QPointF(body.left() - height, m_offset)
              << QPointF(body.left() + 1, m_offset + half);
        break;
    case PopoverArrowDirectionRight:
        arrow << QPointF(body.right() - 1, m_offset - half) << QPointF(body.right() + height, m_offset)
              << QPointF(body.right() - 1, m_offset + half);
        break;
    default:
        break;
    }
    QPainterPath tip;
    tip.addPolygon(arrow);
    tip.closeSubpath();
    return path.united(tip).simplified();
}

void PopoverPanel::drawContent(QPainter &painter) const
{
    const ThemeStyle look = Theme::current().style(ThemeElement::PopoverPanel);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(look.pen);
    painter.setBrush(look.brush);
    painter.drawPath(outline());
    painter.restore();
}

} // namespace vimora::ui
