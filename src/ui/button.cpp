#include "ui/button.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "ui/tap_recognizer.h"
#include "ui/text_drawing.h"

namespace vimora::ui {

namespace {

// Colour × 0.6 over the picture's own alpha: 40 % black laid on with source-atop.
Picture darkened(const Picture &picture)
{
    QImage image = picture.bitmap().copy();
    {
        QPainter p(&image);
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        p.fillRect(image.rect(), QColor(0, 0, 0, 102));
    }
    return Picture(image, picture.scale(), picture.orientation());
}

} // namespace

Button::Button(Type type)
    : m_type(type)
{
    m_font = Theme::current().style(ThemeElement::ButtonTitle).font;
    if (type == Type::RoundedRect)
        m_themeElement = ThemeElement::RoundedButton;
}

Button::Button(const QRectF &frame, Type type)
    : Button(type)
{
    setFrame(frame);
}

void Button::setThemeElement(std::optional<ThemeElement> element)
{
    m_themeElement = element;
    if (element)
        m_font = Theme::current().style(*element).font;
    setNeedsDisplay();
}

void Button::setTitle(const QString &title, ControlState state)
{
    m_titles[state] = title;
    setNeedsDisplay();
}

QString Button::title(ControlState state) const
{
    return valueForState(m_titles, state);
}

void Button::setTitleColor(const QColor &color, ControlState state)
{
    m_titleColors[state] = color.isValid() ? color : QColor(Qt::transparent);
    setNeedsDisplay();
}

QColor Button::titleColor(ControlState state) const
{
    if (const QColor *c = findForState(m_titleColors, state))
        return *c;
    return Theme::current().style(m_themeElement.value_or(ThemeElement::ButtonTitle), state).textColor;
}

void Button::setTitleShadowColor(const QColor &color, ControlState state)
{
    m_titleShadowColors[state] = color.isValid() ? color : QColor(Qt::transparent);
    setNeedsDisplay();
}

QColor Button::titleShadowColor(ControlState state) const
{
    if (const QColor *c = findForState(m_titleShadowColors, state))
        return *c;
    return m_themeElement ? Theme::current().style(*m_themeElement, state).shadowColor : QColor(Qt::transparent);
}

void Button::setTitleShadowOffset(QPointF offset)
{
    m_titleShadowOffset = offset;
    setNeedsDisplay();
}

void Button::setReversesTitleShadowWhenHighlighted(bool on)
{
    m_reversesShadow = on;
    setNeedsDisplay();
}

void Button::setFont(const QFont &font)
{
    m_font = font;
    setNeedsDisplay();
}

void Button::setImage(const StretchableImage &image, ControlState state)
{
    m_images[state] = image;
    setNeedsDisplay();
}

StretchableImage Button::image(ControlState state) const
{
    return valueForState(m_images, state);
}

void Button::setBackgroundImage(const StretchableImage &image, ControlState state)
{
    m_backgroundImages[state] = image;
    setNeedsDisplay();
}

StretchableImage Button::backgroundImage(ControlState state) const
{
    return valueForState(m_backgroundImages, state);
}

void Button::setAdjustsImageWhenHighlighted(bool on)
{
    m_adjustsWhenHighlighted = on;
    setNeedsDisplay();
}

void Button::setAdjustsImageWhenDisabled(bool on)
{
    m_adjustsWhenDisabled = on;
    setNeedsDisplay();
}

void Button::setContentEdgeInsets(const EdgeInsets &insets)
{
    m_contentInsets = insets;
    setNeedsDisplay();
}

void Button::setImageEdgeInsets(const EdgeInsets &insets)
{
    m_imageInsets = insets;
    setNeedsDisplay();
}

void Button::setTitleEdgeInsets(const EdgeInsets &insets)
{
    m_titleInsets = insets;
    setNeedsDisplay();
}

void Button::layout(QRectF *imageOut, QRectF *titleOut) const
{
    const QRectF content = insetRect(bounds().normalized(), m_contentInsets);
    const StretchableImage img = currentImage();
    const QString text = currentTitle();
    QSizeF imageSize = img.isNull() ? QSizeF(0, 0) : img.size();
    imageSize = QSizeF(std::clamp(imageSize.width(), 0.0, std::max(0.0, content.width())),
                       std::clamp(imageSize.height(), 0.0, std::max(0.0, content.height())));
    QSizeF titleSize(0, 0);
    if (!text.isEmpty()) {
        const QFontMetricsF fm(m_font);
        titleSize = QSizeF(std::min(fm.horizontalAdvance(text), std::max(0.0, content.width() - imageSize.width())),
                           fm.height());
    }
    const double left = content.x() + (content.width() - imageSize.width() - titleSize.width()) / 2;
    auto shift = [](const EdgeInsets &e) { return QPointF((e.left - e.right) / 2, (e.top - e.bottom) / 2); };
    if (imageOut)
        *imageOut = QRectF(left, content.y() + (content.height() - imageSize.height()) / 2, imageSize.width(),
                           imageSize.height())
                        .translated(shift(m_imageInsets));
    if (titleOut)
        *titleOut = QRectF(left + imageSize.width(), content.y() + (content.height() - titleSize.height()) / 2,
                           titleSize.width(), titleSize.height())
                        .translated(shift(m_titleInsets));
}

QRectF Button::imageRect() const
{
    QRectF r;
    layout(&r, nullptr);
    return r;
}

QRectF Button::titleRect() const
{
    QRectF r;
    layout(nullptr, &r);
    return r;
}

Picture Button::adjustedPicture(const Picture &picture, bool highlightedVariantExists) const
{
    if (isHighlighted() && m_adjustsWhenHighlighted && !highlightedVariantExists && !picture.isNull()) {
        const qint64 key = picture.bitmap().cacheKey();
        auto it = m_darkened.find(key);
        if (it == m_darkened.end()) {
            if (m_darkened.size() > 8)
                m_darkened.clear();
            it = m_darkened.emplace(key, darkened(picture)).first;
        }
        return it->second;
    }
    return picture;
}

void Button::drawContent(QPainter &painter) const
{
    const ControlState s = state();
    const QRectF b = bounds().normalized();
    const bool dim = !isEnabled() && m_adjustsWhenDisabled;

    if (m_themeElement) {
        const ThemeStyle look = Theme::current().style(*m_themeElement, s);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(look.pen);
        painter.setBrush(look.brush);
        const double inset = look.pen.style() == Qt::NoPen ? 0 : look.pen.widthF() / 2;
        painter.drawRoundedRect(b.adjusted(inset, inset, -inset, -inset), look.radius, look.radius);
        painter.restore();
    }

    auto drawPart = [&](const std::map<ControlState, StretchableImage> &images, const QRectF &rect) {
        const StretchableImage *img = findForState(images, s);
        if (!img || img->isNull())
            return;
        const bool ownHighlight = images.count(s) > 0 && s != ControlStateNormal;
        painter.save();
        if (dim)
            painter.setOpacity(painter.opacity() * 0.5);
        img->drawPicture(painter, rect, adjustedPicture(img->picture(), ownHighlight));
        painter.restore();
    };
    drawPart(m_backgroundImages, b);
    QRectF imageR, titleR;
    layout(&imageR, &titleR);
    drawPart(m_images, imageR);

    const QString text = currentTitle();
    if (!text.isEmpty()) {
        TextStyle style;
        style.font = m_font;
        style.color = titleColor(s);
        style.alignment = TextAlignment::Center;
        style.lineBreak = LineBreakMode::TruncateMiddle;
        style.shadowColor = titleShadowColor(s);
        style.shadowOffset = (m_reversesShadow && isHighlighted()) ? -m_titleShadowOffset : m_titleShadowOffset;
        drawText(painter, titleR, text, style);
    }
}

bool Button::ownsGesture(const GestureRecognizer &recognizer, const Touch &) const
{
    // A one-finger single tap is the button's own gesture.
    const auto *tap = dynamic_cast<const TapRecognizer *>(&recognizer);
    return isEnabled() && tap && tap->numberOfTapsRequired() == 1 && tap->numberOfTouchesRequired() == 1;
}

QString Button::toolTip() const
{
    if (const QString own = View::toolTip(); !own.isEmpty())
        return own;
    const bool titleDrawn = titleColor().alpha() > 0 && image().isNull();
    return titleDrawn ? QString() : title();
}

} // namespace vimora::ui
