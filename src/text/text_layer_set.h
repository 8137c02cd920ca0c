#pragma once

// The text layers of one screen: image views in the picture view, tagged from
// 10000 up in order of creation (tags are never reused), the selected one, and
// the unrotated picture of each, which rotation, skew and bulge always start
// from.

#include <map>
#include <memory>
#include <vector>

#include "imaging/picture.h"
#include "ui/image_view.h"
#include "screenkit/color_picker_view_controller.h"

namespace vimora::text {

inline constexpr int kFirstLayerTag = kFirstTextLayerTag;

/// A text layer: only over its letters (the box around them, give or take a fingertip) does it
/// take a touch, so a finger on the clear margin of its picture reaches what lies under it.
class TextLayerView : public ui::ImageView {
public:
    /// How far outside the letters a touch still takes the layer, in points.
    static constexpr double kGrabReach = 12;
    using ui::ImageView::ImageView;
    bool pointInside(QPointF p) const override;

private:
    /// The box around the picture's visible pixels, kept for the picture it was found in.
    mutable qint64 m_inkKey = 0;
    mutable QRect m_ink;
};

class TextLayerSet {
public:
    /// The factors of "-" and "+".
    static constexpr double kShrink = 0.95;
    static constexpr double kGrow = 1.05;
    /// The lowest alpha the transparency slider gives: invisible, yet still hit
    /// by a tap.
    static constexpr double kMinTappableAlpha = 0.01;

    explicit TextLayerSet(ui::View &pictureView);

    /// A new layer showing picture, tagged with the next tag and selected; not
    /// yet placed.
    std::shared_ptr<ui::ImageView> makeLayer(const Picture &picture);
    /// The tag the next layer gets.
    int tViewTag() const { return m_nextTag; }

    /// The selected layer's tag (detectTag) and view (tView; null when it is
    /// gone).
    int detectTag() const { return m_detectTag; }
    ui::ImageView *tView() const;
    void select(ui::ImageView &layer);
    void setDetectTag(int tag) { m_detectTag = tag; }

    /// Every view with the selected tag in the picture view (wordSize:).
    void wordSize(bool grow);
    /// Every view with the selected tag in the picture view gets this alpha.
    void adjustTransparent(double alpha);

    /// The layer's picture before any rotation or distortion (its colour follows
    /// recolouring).
    Picture original(int tag) const;
    void setOriginal(int tag, const Picture &picture);
    /// Takes a picture made elsewhere (a word-art picture) as a layer with the
    /// next tag.
    void adopt(ui::ImageView &view);

    /// The layers now in the picture view, back to front.
    std::vector<ui::ImageView *> layers() const;

private:
    template <typename F> void forSelected(F f) const;

    ui::View &m_pictureView;
    int m_nextTag = kFirstLayerTag;
    int m_detectTag = kFirstLayerTag;
    std::weak_ptr<ui::View> m_selected;
    std::map<int, Picture> m_originals;
};

} // namespace vimora::text
