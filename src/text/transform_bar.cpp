#include "text/transform_bar.h"

#include "text/text_controls.h"
#include "ui/label.h"
#include "ui/theme.h"

namespace vimora::text {

namespace {
constexpr double kBarWidth = 300;
constexpr double kBarHeight = 150;
constexpr double kBottomGap = 10;
constexpr double kRowHeight = 32;
} // namespace

TransformBar::TransformBar(std::function<void(int tag)> transform)
    : m_transform(std::move(transform))
    , m_bar(std::make_shared<ui::ImageView>(QRectF(0, 0, kBarWidth, kBarHeight)))
{
    m_bar->setUserInteractionEnabled(true);
    m_bar->setBackgroundColor(QColor(20, 16, 36, 220));
    m_bar->setCornerRadius(12);
    m_bar->setBorderWidth(1);
    m_bar->setBorderColor(QColor(150, 120, 255));

    const struct {
        const char *title;
        int tag;
        double x;
    } buttons[] = {{"Flip V", kFlipVerticalTag, 5}, {"Flip H", kFlipHorizontalTag, 105}, {"Reset", kRestoreTag, 205}};
    for (const auto &b : buttons) {
        auto button = longButton(
            QRectF(b.x, 5, 90, 40), QString::fromLatin1(b.title), [this, tag = b.tag] { m_transform(tag); });
        button->setTag(b.tag);
        m_bar->addSubview(button);
    }

    const struct {
        const char *title;
        int tag;
        double limit;
        std::shared_ptr<ui::Slider> *slider;
    } sliders[] = {{"Skew X", kSkewHorizontalTag, kSkewLimit, &m_skewHorizontal},
        {"Skew Y", kSkewVerticalTag, kSkewLimit, &m_skewVertical}, {"Bulge", kBulgeTag, kBulgeLimit, &m_bulge}};
    double y = 50;
    for (const auto &s : sliders) {
        auto label = std::make_shared<ui::Label>(QRectF(8, y, 70, kRowHeight), QString::fromLatin1(s.title));
        label->setTextColor(Qt::white);
        label->setFont(ui::Theme::systemFont(14, true));
        label->setBackgroundColor(Qt::transparent);
        m_bar->addSubview(label);
        auto slider = panelSlider(QRectF(80, y, 212, kRowHeight), -s.limit, s.limit, 0, s.tag);
        slider->setContinuous(false);
        slider->addAction(ui::ControlEventValueChanged, [this, tag = s.tag](ui::Control &) { m_transform(tag); });
        m_bar->addSubview(slider);
        *s.slider = slider;
        y += kRowHeight;
    }
}

void TransformBar::show(ui::View &screen)
{
    const QRectF b = screen.bounds();
    m_bar->setFrame(
        QRectF(b.center().x() - kBarWidth / 2, b.bottom() - kBarHeight - kBottomGap, kBarWidth, kBarHeight));
    m_bar->setHidden(false);
    screen.addSubview(m_bar);
}

void TransformBar::hide()
{
    m_bar->removeFromSuperview();
}

bool TransformBar::isShown() const
{
    return m_bar->superview() != nullptr;
}

void TransformBar::resetSliders()
{
    m_skewHorizontal->setValue(0);
    m_skewVertical->setValue(0);
    m_bulge->setValue(0);
}

} // namespace vimora::text
