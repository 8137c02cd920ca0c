#include "compositor/compositor_controls.h"

#include "platform/resources.h"
#include "ui/stretchable_image.h"

namespace vimora {

namespace {
constexpr QPointF kTitleShadowOffset{2, 2};
} // namespace

std::shared_ptr<ui::Button> makeLongButton(const QRectF &frame, const QString &title, std::function<void()> action,
                                           const QColor &titleColor, const QString &background)
{
    auto button = std::make_shared<ui::Button>(frame);
    button->setBackgroundImage(ui::StretchableImage::resizable(Resources::imageNamed(background), ui::EdgeInsets{0, 40, 0, 40},
                                                               ui::StretchableImage::ResizingMode::Stretch));
    button->setTitle(title);
    button->setTitleColor(titleColor);
    // The clear shadow keeps the layout's look: titles stand on the picture alone.
    button->setTitleShadowColor(Qt::transparent);
    button->setTitleShadowOffset(kTitleShadowOffset);
    button->setReversesTitleShadowWhenHighlighted(true);
    if (action)
        button->addAction(ui::ControlEventTouchUpInside, [action = std::move(action)](ui::Control &) { action(); });
    return button;
}

std::shared_ptr<ui::Button> makeRoundButton(const QRectF &frame, const QString &title, std::function<void()> action)
{
    auto button = makeLongButton(frame, title, std::move(action));
    // A round face has no middle to stretch: caps would tear it.
    button->setBackgroundImage(Resources::imageNamed(QStringLiteral("buttonX.png")));
    return button;
}

std::shared_ptr<ui::Button> makePictureButton(const QRectF &frame, const QString &title, const QString &picture,
                                              std::function<void()> action)
{
    auto button = std::make_shared<ui::Button>(frame);
    button->setImage(Resources::imageNamed(picture));
    button->setTitle(title);
    button->setTitleColor(Qt::transparent);
    if (action)
        button->addAction(ui::ControlEventTouchUpInside, [action = std::move(action)](ui::Control &) { action(); });
    return button;
}

ui::Button *buttonTitled(const ui::View &view, const QString &title)
{
    for (const ui::ViewPtr &v : view.subviews())
        if (auto *b = dynamic_cast<ui::Button *>(v.get()); b && b->title() == title)
            return b;
    return nullptr;
}

} // namespace vimora
