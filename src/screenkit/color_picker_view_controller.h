#pragma once

// The colour picker: a palette picture and a swatch. A touch picks the palette's colour and
// recolours the views it was told of: text layers keep their shape and take the colour, the
// preview frame takes it as its background. Callers read nothing back.

#include <functional>
#include <memory>
#include <optional>

#include <QColor>
#include <QPointF>
#include <QRectF>

#include "imaging/color_image.h"
#include "ui/image_view.h"

namespace vimora {

inline constexpr int kColorPickerViewTag = 9898;
/// Text layers are image views tagged from here up.
inline constexpr int kFirstTextLayerTag = 10000;
/// The options panel's preview frame: it takes the colour as its background.
inline constexpr int kPickerPreviewFrameTag = 4321;

class ColorPickerViewController
{
public:
    /// The palette is read this far above the finger, so the finger does not hide the
    /// colour the swatch shows.
    static constexpr double kFingerLift = 20;
    static constexpr double kBigPaletteSide = 234;

    ColorPickerViewController();
    ColorPickerViewController(const ColorPickerViewController &) = delete;
    ColorPickerViewController &operator=(const ColorPickerViewController &) = delete;

    void awakeFromNib();
    /// The container the picker lives in: hidden until built, tagged kColorPickerViewTag once built.
    ui::ViewPtr colorPickerView() const { return m_container; }

    /// The large palette (shown at its own size) with the swatch beside it.
    void buildColorPickerViewBig(const QRectF &frame);
    /// The small palette, filling the picker with its aspect kept.
    void buildColorPickerView(const QRectF &frame);

    /// Which views a pick recolours: tags from kFirstTextLayerTag are text layers under
    /// setCutImgView's view, kPickerPreviewFrameTag the frames under setDescripImg2's view.
    void giveNum(int tag);
    int viewTag() const { return m_viewTag; }
    void setCutImgView(ui::ViewPtr view) { m_layers = std::move(view); }
    void setDescripImg2(ui::ViewPtr view) { m_frames = std::move(view); }
    /// Told after every pick.
    void setColorPicked(std::function<void(const QColor &)> told) { m_told = std::move(told); }

    /// What a touch at point (in the picker's view) does. A double tap and a point off the
    /// palette change nothing and return false.
    bool pickAt(QPointF point, int tapCount = 1);
    std::optional<QColor> color() const { return m_color; }
    QPointF lastPoint() const { return m_lastPoint; }
    const ui::ImageView *palette() const { return m_palette.get(); }

    /// The colour's red, green and blue, 0..1.
    static void getRGBComponents(double components[3], const QColor &color);

private:
    void build(const QRectF &frame, const QRectF &paletteFrame, const Picture &palettePicture, ui::ContentMode mode);
    std::optional<QPointF> palettePixel(QPointF point) const;
    void recolourTextLayers(const QColor &color);
    void paintFrames(const QColor &color);

    std::shared_ptr<ui::View> m_container;
    std::shared_ptr<ui::View> m_view;
    std::shared_ptr<ui::ImageView> m_palette;
    std::shared_ptr<ui::View> m_swatch;
    ColorImage m_colours;
    ui::ViewPtr m_layers;
    ui::ViewPtr m_frames;
    std::function<void(const QColor &)> m_told;
    std::optional<QColor> m_color;
    QPointF m_lastPoint;
    int m_viewTag = 0;
};

} // namespace vimora
