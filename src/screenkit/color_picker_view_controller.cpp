#include "screenkit/color_picker_view_controller.h"

#include "platform/log.h"
#include "platform/resources.h"
#include "ui/content_mode.h"
#include "ui/touch.h"

namespace vimora {

namespace {
const QRectF kSwatchFrame(235, 0, 15, 235);
} // namespace

ColorPickerViewController::ColorPickerViewController()
    : m_container(std::make_shared<ui::View>())
    , m_view(std::make_shared<ui::View>())
{
    m_container->setHidden(true);
    m_view->setUserInteractionEnabled(true);
    m_view->setTouchHandler([this](ui::TouchPhase phase, const ui::TouchSet &touches) {
        if (phase != ui::TouchPhase::Began || touches.empty())
            return;
        const ui::Touch &touch = **touches.begin();
        pickAt(touch.locationInView(m_view.get()), touch.tapCount);
    });
}

void ColorPickerViewController::awakeFromNib()
{
    m_container->setHidden(true);
}

void ColorPickerViewController::build(const QRectF &frame, const QRectF &paletteFrame, const Picture &palettePicture,
                                      ui::ContentMode mode)
{
    m_container->setFrame(frame);
    m_container->setHidden(false);
    m_container->setBackgroundColor(Qt::transparent);
    m_container->setTag(kColorPickerViewTag);
    m_view->setFrame(QRectF(QPointF(0, 0), frame.size()));
    m_container->addSubview(m_view);

    if (m_palette)
        m_palette->removeFromSuperview();
    m_palette = std::make_shared<ui::ImageView>(paletteFrame);
    m_palette->setBackgroundColor(Qt::transparent);
    m_palette->setAlpha(1);
    // Touches belong to the picker's view: the palette only shows the colours.
    m_palette->setUserInteractionEnabled(false);
    m_palette->setContentMode(mode);
    m_palette->setClipsToBounds(true);
    m_palette->setImage(palettePicture);
    m_view->addSubview(m_palette);
}

void ColorPickerViewController::buildColorPickerViewBig(const QRectF &frame)
{
    build(frame, QRectF(0, 0, kBigPaletteSide, kBigPaletteSide), Resources::imageNamed(QStringLiteral("colorpickerBig.png")),
          ui::ContentMode::Center);
    if (m_swatch)
        m_swatch->removeFromSuperview();
    m_swatch = std::make_shared<ui::View>(kSwatchFrame);
    m_swatch->setBorderColor(Qt::black);
    m_swatch->setBorderWidth(1);
    m_swatch->setUserInteractionEnabled(false);
    if (m_color)
        m_swatch->setBackgroundColor(*m_color);
    m_view->addSubview(m_swatch);
}

void ColorPickerViewController::buildColorPickerView(const QRectF &frame)
{
    build(frame, QRectF(QPointF(0, 0), frame.size()), Resources::imageNamed(QStringLiteral("colorpicker.jpg")),
          ui::ContentMode::ScaleAspectFill);
    if (m_swatch) {
        m_swatch->removeFromSuperview();
        m_swatch.reset();
    }
}

void ColorPickerViewController::giveNum(int tag)
{
    m_viewTag = tag;
    logLine(QStringLiteral("viewTagLa:%1").arg(tag));
}

std::optional<QPointF> ColorPickerViewController::palettePixel(QPointF point) const
{
    if (!m_palette || m_palette->image().isNull())
        return std::nullopt;
    const Picture &picture = m_palette->image();
    const QPointF inPalette = m_palette->convertPointFrom(point, m_view.get());
    if (!m_palette->bounds().contains(inPalette))
        return std::nullopt;
    // Where the picture is shown in the palette view, and how many of its pixels make a
    // point there: an "@2x" palette has two per point, so the point is scaled, not read as is.
    const QRectF shown = ui::contentRect(m_palette->contentMode(), m_palette->bounds(), picture.size());
    if (shown.isEmpty() || !shown.contains(inPalette))
        return std::nullopt;
    const QSize pixels = picture.bitmap().size();
    return QPointF((inPalette.x() - shown.left()) * pixels.width() / shown.width(),
                   (inPalette.y() - shown.top()) * pixels.height() / shown.height());
}

bool ColorPickerViewController::pickAt(QPointF point, int tapCount)
{
    if (tapCount == 2)
        return false;
    m_lastPoint = QPointF(point.x(), point.y() - kFingerLift);
    const auto pixel = palettePixel(m_lastPoint);
    if (!pixel)
        return false;
    const auto stored = m_colours.getPixelColorAtLocation(*pixel, m_palette->image());
    if (!stored)
        return false;
    const QColor picked = stored->toQColor();
    m_color = picked;
    if (m_swatch)
        m_swatch->setBackgroundColor(picked);

    if (m_viewTag >= kFirstTextLayerTag)
        recolourTextLayers(picked);
    else if (m_viewTag == kPickerPreviewFrameTag)
        paintFrames(picked);
    if (m_told)
        m_told(picked);
    return true;
}

void ColorPickerViewController::recolourTextLayers(const QColor &color)
{
    if (!m_layers)
        return;
    double rgb[3];
    getRGBComponents(rgb, color);
    for (const ui::ViewPtr &child : m_layers->subviews()) {
        // The layer itself takes the colour, whether it lies here or inside a holder of its handles.
        auto *layer = dynamic_cast<ui::ImageView *>(child->viewWithTag(m_viewTag));
        if (!layer || layer->image().isNull())
            continue;
        logLine(QStringLiteral("inside cutImgView"));
        // Keeps the layer's points size and scale, so it stays as large as it was.
        const Picture &before = layer->image();
        const Picture recoloured = m_colours.changeColor(before, rgb[0], rgb[1], rgb[2], 1);
        if (!recoloured.isNull())
            layer->setImage(recoloured);
    }
}

void ColorPickerViewController::paintFrames(const QColor &color)
{
    if (!m_frames)
        return;
    for (const ui::ViewPtr &child : m_frames->subviews())
        if (child->viewWithTag(m_viewTag))
            child->setBackgroundColor(color);
}

void ColorPickerViewController::getRGBComponents(double components[3], const QColor &color)
{
    components[0] = color.redF();
    components[1] = color.greenF();
    components[2] = color.blueF();
}

} // namespace vimora
