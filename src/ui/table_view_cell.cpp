#include "ui/table_view_cell.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/theme.h"

namespace vimora::ui {

TableViewCell::TableViewCell(Style style, const QString &reuseIdentifier)
    : m_style(style)
    , m_reuseIdentifier(reuseIdentifier)
    , m_content(std::make_shared<View>())
    , m_image(std::make_shared<ImageView>())
    , m_text(std::make_shared<Label>())
    , m_detail(std::make_shared<Label>())
{
    const Theme &theme = Theme::current();
    const ThemeStyle cell = theme.style(ThemeElement::TableCell);
    const ThemeStyle detail = theme.style(ThemeElement::TableCellDetail);
    setBackgroundColor(cell.brush.color());
    m_separatorColor = theme.style(ThemeElement::TableSeparator).pen.color();
    m_text->setBackgroundColor(Qt::transparent);
    m_text->setFont(cell.font);
    m_text->setTextColor(cell.textColor);
    m_detail->setBackgroundColor(Qt::transparent);
    m_detail->setFont(detail.font);
    m_detail->setTextColor(detail.textColor);
    if (style == Style::Value1)
        m_detail->setTextAlignment(TextAlignment::Right);
    m_detail->setHidden(style == Style::Default);
    m_content->addSubview(m_image);
    m_content->addSubview(m_text);
    m_content->addSubview(m_detail);
    addSubview(m_content);
}

TableViewCell::~TableViewCell() = default;

void TableViewCell::setAccessoryType(AccessoryType type)
{
    m_accessory = type;
    layoutParts();
    setNeedsDisplay();
}

void TableViewCell::setSelectionStyle(SelectionStyle style)
{
    m_selectionStyle = style;
    updateLabelColors();
    setNeedsDisplay();
}

void TableViewCell::setSeparator(bool shown, const QColor &color)
{
    m_separator = shown;
    m_separatorColor = color;
    setNeedsDisplay();
}

void TableViewCell::setSelected(bool selected)
{
    m_selected = selected;
    updateLabelColors();
    setNeedsDisplay();
}

void TableViewCell::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    updateLabelColors();
    setNeedsDisplay();
}

void TableViewCell::prepareForReuse()
{
    m_highlighted = false;
    m_selected = false;
    updateLabelColors();
}

bool TableViewCell::showsSelection() const
{
    return (m_selected || m_highlighted) && m_selectionStyle != SelectionStyle::None;
}

void TableViewCell::updateLabelColors()
{
    const bool show = showsSelection();
    if (show == m_showingSelection)
        return;
    m_showingSelection = show;
    if (show) {
        m_textColor = m_text->textColor();
        m_detailColor = m_detail->textColor();
        const QColor selected = Theme::current().style(ThemeElement::TableCellSelected).textColor;
        m_text->setTextColor(selected);
        m_detail->setTextColor(selected);
    } else {
        m_text->setTextColor(m_textColor);
        m_detail->setTextColor(m_detailColor);
    }
}

void TableViewCell::layoutParts()
{
    const QRectF b = bounds();
    const double height = b.height();
    const double contentWidth = std::max(0.0, b.width() - (m_accessory == AccessoryType::None ? 0 : kAccessoryWidth));
    m_content->setFrame(QRectF(0, 0, contentWidth, height));

    const ThemeStyle look = Theme::current().style(ThemeElement::TableCell);
    double x = look.padding.left;
    const Picture &picture = m_image->image();
    if (!picture.isNull()) {
        QSizeF size = picture.size();
        if (size.height() > height && size.height() > 0)
            size *= height / size.height();
        m_image->setFrame(QRectF(x, (height - size.height()) / 2, size.width(), size.height()));
        x += size.width() + look.size.width();
    } else {
        m_image->setFrame(QRectF(x, height / 2, 0, 0));
    }
    const double right = contentWidth - look.padding.right;
    const double width = std::max(0.0, right - x);

    switch (m_style) {
    case Style::Default:
        m_text->setFrame(QRectF(x, 0, width, height));
        break;
    case Style::Subtitle: {
        if (m_detail->text().isEmpty()) {
            m_text->setFrame(QRectF(x, 0, width, height));
            m_detail->setFrame(QRectF(x, height, width, 0));
            break;
        }
        const double textHeight = std::min(height, m_text->sizeThatFits(width).height());
        const double detailHeight = std::min(height - textHeight, m_detail->sizeThatFits(width).height());
        const double top = (height - textHeight - detailHeight) / 2;
        m_text->setFrame(QRectF(x, top, width, textHeight));
        m_detail->setFrame(QRectF(x, top + textHeight, width, detailHeight));
        break;
    }
    case Style::Value1: {
        const double detailWidth = std::min(width / 2, m_detail->sizeThatFits().width());
        m_detail->setFrame(QRectF(right - detailWidth, 0, detailWidth, height));
        m_text->setFrame(QRectF(x, 0, std::max(0.0, width - detailWidth - look.size.width()), height));
        break;
    }
    }
}

void TableViewCell::drawContent(QPainter &painter) const
{
    if (!showsSelection())
        return;
    painter.fillRect(bounds(), Theme::current().style(ThemeElement::TableCellSelected).brush);
}

void TableViewCell::drawOverlay(QPainter &painter) const
{
    const QRectF b = bounds();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_accessory != AccessoryType::None) {
        const ThemeStyle look = Theme::current().style(ThemeElement::TableAccessory,
                                                       showsSelection() ? ControlStateHighlighted : ControlStateNormal);
        painter.setPen(look.pen);
        painter.setBrush(Qt::NoBrush);
        const double w = look.size.width(), h = look.size.height();
        const QPointF c(b.right() - kAccessoryWidth / 2, b.center().y());
        QPainterPath mark;
        if (m_accessory == AccessoryType::DisclosureIndicator) {
            mark.moveTo(c + QPointF(-w / 2, -h / 2));
            mark.lineTo(c + QPointF(w / 2, 0));
            mark.lineTo(c + QPointF(-w / 2, h / 2));
        } else {
            mark.moveTo(c + QPointF(-h / 2, 0));
            mark.lineTo(c + QPointF(-h / 6, h / 2.5));
            mark.lineTo(c + QPointF(h / 2, -h / 2));
        }
        painter.drawPath(mark);
    }
    if (m_separator && m_separatorColor.alpha() > 0) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(QRectF(b.left(), b.bottom() - 1, b.width(), 1), m_separatorColor);
    }
    painter.restore();
}

} // namespace vimora::ui
