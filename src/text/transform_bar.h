#pragma once

// The transform tools shown in transform mode: vertical and horizontal flip,
// back to the first render, and the skew and bulge sliders. Each sends its tag
// to the transform commands; the sliders send theirs when released.

#include <functional>
#include <memory>

#include "ui/image_view.h"
#include "ui/slider.h"

namespace vimora::text {

inline constexpr int kFlipVerticalTag = 2;
inline constexpr int kFlipHorizontalTag = 3;
inline constexpr int kBulgeTag = 8;
inline constexpr int kRestoreTag = 10;
inline constexpr int kSkewHorizontalTag = 11;
inline constexpr int kSkewVerticalTag = 12;
inline constexpr int kResultToolTag = 111;

class TransformBar {
public:
    /// Skew amounts are the affine b and c; the bulge is the bump's scale.
    static constexpr double kSkewLimit = 1;
    static constexpr double kBulgeLimit = 1;

    explicit TransformBar(std::function<void(int tag)> transform);

    /// Lays the bar along the bottom of the screen view, in front.
    void show(ui::View &screen);
    void hide();
    bool isShown() const;

    ui::Slider &tSlider() { return *m_skewHorizontal; }
    ui::Slider &dSlider() { return *m_skewVertical; }
    ui::Slider &topPhotoSlider() { return *m_bulge; }
    ui::ImageView &bar() { return *m_bar; }
    /// Back to no skew and no bulge (a new transform mode starts from the layer
    /// as it is).
    void resetSliders();

private:
    std::function<void(int)> m_transform;
    std::shared_ptr<ui::ImageView> m_bar;
    std::shared_ptr<ui::Slider> m_skewHorizontal, m_skewVertical, m_bulge;
};

} // namespace vimora::text
