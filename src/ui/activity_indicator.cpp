#include "ui/activity_indicator.h"

#include <cmath>

#include <QPainter>

#include "ui/theme.h"
#include "ui/timer.h"

namespace vimora::ui {

ActivityIndicator::ActivityIndicator(ActivityIndicatorStyle style)
    : m_style(style)
{
    setBounds(QRectF(QPointF(0, 0), sizeForStyle(style)));
    setUserInteractionEnabled(false);
    setHidden(true);
}

ActivityIndicator::~ActivityIndicator()
{
    if (m_timer)
        m_timer->invalidate();
}

QSizeF ActivityIndicator::sizeForStyle(ActivityIndicatorStyle style)
{
    const Theme &theme = Theme::current();
    if (style == ActivityIndicatorStyle::WhiteLarge)
        return theme.style(ThemeElement::ActivityIndicatorWhite).size;
    return theme.style(ThemeElement::ActivityIndicatorGray).size;
}

void ActivityIndicator::setStyle(ActivityIndicatorStyle style)
{
    m_style = style;
    setNeedsDisplay();
}

void ActivityIndicator::startAnimating()
{
    setHidden(false);
    if (m_animating)
        return;
    m_animating = true;
    std::weak_ptr<View> weak = weak_from_this();
    m_timer = Timer::scheduled(kStepInterval, true, [weak](Timer &timer) {
        auto self = std::static_pointer_cast<ActivityIndicator>(weak.lock());
        if (!self) {
            timer.invalidate();
            return;
        }
        self->m_phase = (self->m_phase + 1) % kSpokes;
        self->setNeedsDisplay();
    });
}

void ActivityIndicator::stopAnimating()
{
    m_animating = false;
    if (m_timer) {
        m_timer->invalidate();
        m_timer.reset();
    }
    if (m_hidesWhenStopped)
        setHidden(true);
    setNeedsDisplay();
}

void ActivityIndicator::setHidesWhenStopped(bool hides)
{
    m_hidesWhenStopped = hides;
    if (!m_animating)
        setHidden(hides);
}

void ActivityIndicator::drawContent(QPainter &painter) const
{
    const QSizeF size = sizeForStyle(m_style);
    const QRectF b = bounds().normalized();
    const QPointF c = b.center();
    const double r = std::min(size.width(), size.height()) / 2;
    const ThemeStyle look = Theme::current().style(
        m_style == ActivityIndicatorStyle::Gray ? ThemeElement::ActivityIndicatorGray : ThemeElement::ActivityIndicatorWhite);
    QColor color = look.pen.color();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(c);
    const double inner = r * 0.45, width = r * 0.22;
    for (int i = 0; i < kSpokes; ++i) {
        // The spoke at the phase is brightest; those behind it fade.
        const int age = (m_phase - i + kSpokes) % kSpokes;
        QColor spoke = color;
        spoke.setAlphaF(color.alphaF() * std::max(0.2, 1.0 - age / double(kSpokes)));
        QPen pen(spoke, width, Qt::SolidLine, Qt::RoundCap);
        painter.setPen(pen);
        const double angle = i * 2 * M_PI / kSpokes - M_PI / 2;
        const QPointF dir(std::cos(angle), std::sin(angle));
        painter.drawLine(dir * inner, dir * (r - width / 2));
    }
    painter.restore();
}

} // namespace vimora::ui
