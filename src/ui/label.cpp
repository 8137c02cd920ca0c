#include "ui/label.h"

#include "ui/theme.h"

namespace vimora::ui {

Label::Label()
{
    const ThemeStyle look = Theme::current().style(ThemeElement::Label);
    m_style.font = look.font;
    m_style.color = look.textColor;
    m_style.shadowOffset = QPointF(0, -1);
    setBackgroundColor(look.brush.color());
    setUserInteractionEnabled(false);
}

Label::Label(const QRectF &frame, const QString &text)
    : Label()
{
    setFrame(frame);
    m_text = text;
}

void Label::setText(const QString &text)
{
    m_text = text;
    setNeedsDisplay();
}

void Label::setTextColor(const QColor &color)
{
    m_style.color = color.isValid() ? color : QColor(Qt::transparent);
    setNeedsDisplay();
}

void Label::setFont(const QFont &font)
{
    m_style.font = font;
    setNeedsDisplay();
}

void Label::setTextAlignment(TextAlignment alignment)
{
    m_style.alignment = alignment;
    setNeedsDisplay();
}

void Label::setShadowColor(const QColor &color)
{
    m_style.shadowColor = color.isValid() ? color : QColor(Qt::transparent);
    setNeedsDisplay();
}

void Label::setShadowOffset(QPointF offset)
{
    m_style.shadowOffset = offset;
    setNeedsDisplay();
}

void Label::setNumberOfLines(int lines)
{
    m_style.numberOfLines = std::max(0, lines);
    setNeedsDisplay();
}

void Label::setLineBreakMode(LineBreakMode mode)
{
    m_style.lineBreak = mode;
    setNeedsDisplay();
}

QSizeF Label::sizeThatFits(double width) const
{
    return textSize(m_text, m_style, width);
}

void Label::sizeToFit()
{
    const QRectF f = frame();
    setFrame(QRectF(f.topLeft(), sizeThatFits()));
}

void Label::drawContent(QPainter &painter) const
{
    drawText(painter, bounds().normalized(), m_text, m_style);
}

} // namespace vimora::ui
