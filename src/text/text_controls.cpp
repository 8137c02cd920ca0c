#include "text/text_controls.h"

#include "platform/resources.h"

namespace vimora::text {

namespace {
std::shared_ptr<ui::Button> titledButton(
    const QRectF &frame, const QString &title, const ui::StretchableImage &face, std::function<void()> action)
{
    auto button = std::make_shared<ui::Button>(frame);
    button->setBackgroundImage(face);
    button->setTitle(title);
    button->setTitleColor(Qt::white);
    button->setTitleShadowColor(QColor(0, 0, 0, 160));
    button->setTitleShadowOffset(QPointF(1, 1));
    if (action)
        button->addAction(ui::ControlEventTouchUpInside, [action = std::move(action)](ui::Control &) { action(); });
    return button;
}
} // namespace

std::shared_ptr<ui::Button> longButton(const QRectF &frame, const QString &title, std::function<void()> action)
{
    return titledButton(frame, title,
        ui::StretchableImage::resizable(Resources::imageNamed(QStringLiteral("longBtn.png")),
            ui::EdgeInsets{0, 40, 0, 40}, ui::StretchableImage::ResizingMode::Stretch),
        std::move(action));
}

std::shared_ptr<ui::Button> roundButton(const QRectF &frame, const QString &title, std::function<void()> action)
{
    return titledButton(frame, title, Resources::imageNamed(QStringLiteral("buttonX.png")), std::move(action));
}

std::shared_ptr<ui::Button> pictureButton(
    const QRectF &frame, const QString &title, const QString &picture, std::function<void()> action)
{
    auto button = titledButton(frame, title, {}, std::move(action));
    button->setTitleColor(Qt::transparent);
    button->setTitleShadowColor(Qt::transparent);
    button->setImage(Resources::imageNamed(picture));
    return button;
}

std::shared_ptr<ui::Slider> panelSlider(const QRectF &frame, double minimum, double maximum, double value, int tag)
{
    auto slider = std::make_shared<ui::Slider>(frame);
    slider->setBackgroundColor(Qt::transparent);
    slider->setMinimumTrackImage(
        ui::StretchableImage::stretchable(Resources::imageNamed(QStringLiteral("lefkSlider.png")), 10, 0));
    const Picture thumb = Resources::imageNamed(QStringLiteral("sliderBtn.png"));
    slider->setThumbImage(thumb, ui::ControlStateNormal);
    slider->setThumbImage(thumb, ui::ControlStateHighlighted);
    slider->setMinimumValue(minimum);
    slider->setMaximumValue(maximum);
    slider->setValue(value);
    slider->setTag(tag);
    return slider;
}

} // namespace vimora::text
