// The options panel: a preview of the photo in a 16:9 or 4:3 frame, with the buttons of the
// steps that follow.

#include "editor/cut_image.h"
#include "editor/cut_image_fields.h"
#include "editor/editor_layout.h"
#include "editor/panel_parts.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "store/working_files.h"
#include "ui/geometry.h"
#include "ui/label.h"
#include "ui/pan_recognizer.h"
#include "ui/pinch_recognizer.h"
#include "ui/tap_recognizer.h"

#include <QDir>

namespace vimora {

namespace {
const QString kAspectOn = QStringLiteral("ON");
const QString kAspectOff = QStringLiteral("OFF");
constexpr double kPanelFade = 0.3;
constexpr double kPreviewTop = 10;

/// Frames of the panel's controls, in panel coordinates, per device.
struct OptionsLayout
{
    QRectF modeOneButtons[4]; // Gradient, Color Picker, Expand, shattering
    QRectF gradientWithSlider;
    QRectF rotationLabel;
    QRectF rotationSlider;
    double styleTop, styleLeft, styleStep, styleWidth, styleHeight;
    QRectF offLabel; // "4:3", left of the switch
    QPointF switchOrigin;
    QRectF onLabel; // "16:9", right of the switch
    QRectF okButton;
    double titleSize;
    bool styleTitlesShown;
};

OptionsLayout optionsLayout(bool tablet)
{
    if (tablet)
        return {{{25, 430, 130, 46}, {163, 430, 146, 46}, {317, 430, 120, 46}, {445, 430, 130, 46}},
                {25, 430, 130, 46},
                {175, 430, 80, 46},
                {255, 430, 320, 46},
                480, 25, 110, 104, 40,
                {40, 525, 45, 27},
                {90, 525},
                {177, 525, 50, 27},
                {490, 530, 80, 40},
                14,
                true};
    return {{{10, 224, 135, 40}, {155, 224, 135, 40}, {10, 266, 135, 40}, {155, 266, 135, 40}},
            {10, 224, 112, 40},
            {124, 224, 56, 40},
            {180, 224, 110, 40},
            268, 12, 57, 50, 40,
            {56, 316, 50, 27},
            {110, 316},
            {194, 316, 50, 27},
            {110, 354, 80, 36},
            12,
            false};
}

std::shared_ptr<ui::Button> iconButton(const QRectF &frame, const QString &title, const QString &icon, int tag,
                                       double titleSize)
{
    auto button = std::make_shared<ui::Button>(frame);
    button->setTitle(title);
    button->setTitleColor(Qt::white);
    button->setTitleShadowColor(QColor(0, 0, 0, 180));
    button->setTitleShadowOffset(QPointF(2, 2));
    button->setReversesTitleShadowWhenHighlighted(true);
    QFont font = button->font();
    font.setPixelSize(int(titleSize));
    button->setFont(font);
    button->setImage(Resources::imageNamed(icon));
    button->setTag(tag);
    return button;
}

std::shared_ptr<ui::Label> shadowedLabel(const QRectF &frame, const QString &text, double size)
{
    auto label = std::make_shared<ui::Label>(frame, text);
    label->setBackgroundColor(Qt::transparent);
    label->setTextColor(Qt::white);
    label->setShadowColor(Qt::black);
    label->setShadowOffset(QPointF(2, 2));
    QFont font = label->font();
    font.setPixelSize(int(size));
    label->setFont(font);
    return label;
}
} // namespace

void CutImage::preView2(int senderTag)
{
    ScreenViews &v = *d->views;
    if (senderTag != kAspectSwitchTag) {
        d->topOrButtom = senderTag;
        logLine(QStringLiteral("topOrButtom:%1").arg(d->topOrButtom));
    }
    if (d->topOrButtom == 1)
        v.backImgView->setImage(v.descripImg->image());

    const Picture photo = d->albumDrawAry.isEmpty()
                              ? Picture()
                              : readPicture(QDir(AppHome::tempDir()).filePath(d->albumDrawAry.first()));

    ui::ImageView &panel = *v.descripImg2;
    reopenPanel(*v.mainView, panel);
    panel.setUserInteractionEnabled(true);
    panel.setAlpha(1);
    const bool tablet = isDeviceiPad();
    panel.setFrame(optionsPanelFrame(Device::profile(), Device::isLandscape()));
    panel.setImage(Resources::imageNamed(tablet ? QStringLiteral("selectViewBack2.png") : QStringLiteral("selectBackIphone.png")));
    fadeIn(panel, kPanelFade);
    if (d->fView2)
        d->fView2->setAlpha(0);

    const QSizeF panelSize = panel.bounds().size();
    const QSizeF previewSize = previewFrameSize(panelSize.width(), d->effectOn == kAspectOn);
    auto preview = std::make_shared<ui::ImageView>(QRectF(QPointF(25, kPreviewTop), previewSize));
    preview->setUserInteractionEnabled(true);
    preview->setBackgroundColor(Qt::black);
    preview->setTag(kPreviewFrameTag);
    preview->setContentMode(ui::ContentMode::ScaleAspectFit);
    panel.addSubview(preview);
    preview->setHidden(false);
    preview->setCenter(QPointF(panelSize.width() / 2, previewSize.height() / 2 + kPreviewTop));
    d->backImageM = preview;

    if (senderTag == kAspectSwitchTag || d->topOrButtom == 2) {
        // The crop is what the frame shows; Origin itself keeps the whole photo, so the
        // aspect can be switched back.
        const double height = d->effectOn == kAspectOn ? 720 : 960;
        d->aspectCrop = cutImage(1280, height, 0, 0, WorkingFiles::shared().originLoad());
        if (d->topOrButtom == 2)
            preview->setImage(d->aspectCrop);
    }
    preview->setClipsToBounds(true);

    const PhotoLayerFit fit = photoLayerFit(photo.size(), previewSize, d->effectOn == kAspectOff);
    auto layer = std::make_shared<ui::ImageView>(QRectF(QPointF(0, 0), fit.size));
    layer->setUserInteractionEnabled(true);
    layer->setBackgroundColor(Qt::transparent);
    layer->setContentMode(ui::ContentMode::ScaleAspectFill);
    layer->setImage(photo);
    preview->addSubview(layer);
    layer->setCenter(ui::rectCenter(preview->bounds()));
    d->didBein = fit.overflowsVertically ? QStringLiteral("UD") : QStringLiteral("LR");
    d->sPoint = layer->center();
    d->drawImages = layer;

    auto pan = std::make_shared<ui::PanRecognizer>([this, vertical = fit.overflowsVertically](ui::PanRecognizer &p) {
        if (vertical)
            handleMove4(p);
        else
            handleMove2(p);
    });
    pan->setMinimumNumberOfTouches(1);
    pan->setMaximumNumberOfTouches(1);
    layer->addGestureRecognizer(pan);
    layer->addGestureRecognizer(std::make_shared<ui::TapRecognizer>([this](ui::TapRecognizer &t) { handleSingleTap(t); }));
    layer->addGestureRecognizer(std::make_shared<ui::PinchRecognizer>([this](ui::PinchRecognizer &p) { handleScale(p); }));

    buildOptionControls(panel);
    remindNew();
}

void CutImage::buildOptionControls(ui::View &panel)
{
    const bool tablet = isDeviceiPad();
    const OptionsLayout layout = optionsLayout(tablet);
    const bool panelOne = d->topOrButtom == 1;
    const bool panelTwo = d->topOrButtom == 2;

    // The switch shows the frame on screen: on for 16:9.
    auto aspect = std::make_shared<ui::Switch>(QRectF(layout.switchOrigin, ui::Switch::kSize));
    aspect->setTag(kAspectSwitchTag);
    aspect->setOn(d->effectOn == kAspectOn);
    aspect->addAction(ui::ControlEventValueChanged, [this](ui::Control &sender) { swicthState(sender); });
    panel.addSubview(aspect);
    d->onoff2 = aspect;
    panel.addSubview(shadowedLabel(layout.offLabel, QStringLiteral("4:3"), layout.titleSize + 2));
    panel.addSubview(shadowedLabel(layout.onLabel, QStringLiteral("16:9"), layout.titleSize + 2));

    // Gradient, Color Picker, Expand, shattering, the styles and OK belong to the feathering,
    // colour, expansion, shattering and style steps, which give them their actions.
    const QRectF gradientFrame = panelTwo ? layout.gradientWithSlider : layout.modeOneButtons[0];
    panel.addSubview(iconButton(gradientFrame, QStringLiteral("Gradient"), QStringLiteral("rectangle.png"), 12, layout.titleSize));
    if (panelOne) {
        panel.addSubview(iconButton(layout.modeOneButtons[1], QStringLiteral("Color Picker"), QStringLiteral("colorBtnS.png"), 13,
                                    layout.titleSize));
        panel.addSubview(iconButton(layout.modeOneButtons[2], QStringLiteral("Expand"), QStringLiteral("43.png"), 17, layout.titleSize));
        if (d->didBein == QLatin1String("LR"))
            panel.addSubview(iconButton(layout.modeOneButtons[3], QStringLiteral("shattering"), QStringLiteral("shad.png"), 29,
                                        layout.titleSize));
    }
    if (panelTwo) {
        std::shared_ptr<ui::Button> styles[5];
        for (int i = 0; i < 5; ++i) {
            const QRectF frame(layout.styleLeft + i * layout.styleStep, layout.styleTop, layout.styleWidth, layout.styleHeight);
            styles[i] = iconButton(frame, QStringLiteral("Style%1").arg(i + 1), QStringLiteral("half%1.png").arg(i + 1), 21 + i,
                                   layout.titleSize);
            // On a phone the numbered pictures stand alone: there is no room for the titles.
            if (!layout.styleTitlesShown) {
                styles[i]->setTitleColor(Qt::transparent);
                styles[i]->setTitleShadowColor(Qt::transparent);
            }
            panel.addSubview(styles[i]);
        }
        d->edgeBtn = styles[0];
        d->editBtn = styles[1];
        d->closeSizeBtn = styles[2];

        auto label = shadowedLabel(layout.rotationLabel, QStringLiteral("Rotation"), layout.titleSize);
        panel.addSubview(label);
        auto slider = std::make_shared<ui::Slider>(layout.rotationSlider);
        slider->setBackgroundColor(Qt::transparent);
        slider->setMinimumTrackImage(ui::StretchableImage::stretchable(Resources::imageNamed(QStringLiteral("lefkSlider.png")), 10, 0));
        const Picture thumb = Resources::imageNamed(QStringLiteral("sliderBtn2.png"));
        slider->setThumbImage(thumb, ui::ControlStateNormal);
        slider->setThumbImage(thumb, ui::ControlStateHighlighted);
        slider->setMinimumValue(-90);
        slider->setMaximumValue(90);
        slider->setValue(0);
        slider->setTag(26);
        panel.addSubview(slider);
        d->dSlider = slider;
    }

    auto ok = std::make_shared<ui::Button>(layout.okButton);
    ok->setTitle(QStringLiteral("OK"));
    ok->setBackgroundImage(Resources::imageNamed(QStringLiteral("0.png")));
    QFont font = ok->font();
    font.setBold(false);
    font.setPixelSize(14);
    ok->setFont(font);
    ok->setTitleColor(Qt::white);
    ok->setTag(11);
    ok->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { newCutOnOrigin(); });
    panel.addSubview(ok);
}

void CutImage::swicthState(ui::Control &sender)
{
    d->views->wordView->setHidden(true);
    if (sender.tag() != kAspectSwitchTag)
        return;
    // The panel is rebuilt below, so the switch leaves it: decide from it first.
    const auto *aspect = dynamic_cast<const ui::Switch *>(&sender);
    d->effectOn = aspect && aspect->isOn() ? kAspectOn : kAspectOff;
    preView2(kAspectSwitchTag);
}

} // namespace vimora
