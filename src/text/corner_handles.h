#pragma once

// The four corner handles that stretch the text box and, in transform mode, a
// text layer. The corners are kept in the handle layer's coordinates (the
// screen's root view), so a target inside a moved picture view still gets its
// handles on its own corners.

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include <QPointF>
#include <QRectF>

#include "ui/image_view.h"
#include "ui/pan_recognizer.h"

namespace vimora::text {

enum class Corner { LeftUpper, RightUpper, LeftLower, RightLower };

struct Corners {
    QPointF lu, ru, ld, rd;
    static Corners ofFrame(const QRectF &frame);
};

/// The frame a target gets when the handle of corner is dragged to centre h,
/// from the corners before the drag. The width or height may come out negative.
QRectF resizedFrame(Corner corner, QPointF h, const Corners &before);

class CornerHandles {
public:
    static constexpr double kHandleSide = 35;
    static constexpr double kTransformSquare = 200;

    /// layer: where the handles live; drag: the action of each handle's pan.
    CornerHandles(ui::View &layer, std::function<void(Corner, ui::PanRecognizer &)> drag);

    /// Makes the four handles centred on the corners, in front of the layer.
    void show();
    void remove();
    bool isShown() const;
    ui::ImageView *handle(Corner corner) const { return m_handles[int(corner)].get(); }

    const Corners &corners() const { return m_corners; }
    /// The corners of a view's frame, taken into the layer's coordinates.
    void setCornersFromView(const ui::View &target);
    /// The square transform mode starts with, anchored at the view's top-left.
    void setSquareAtView(const ui::View &target);
    /// Centres every handle on its corner.
    void placeHandles();

    /// Resizes the target for the handle's new centre (in layer coordinates);
    /// with a minimum, only when the result is larger than it both ways. Then the
    /// corners follow the target's frame and the handles their corners.
    void resizeTarget(ui::View &target, Corner corner, QPointF handleCentre, std::optional<double> minimumSide);

private:
    QPointF toLayer(const ui::View &target, QPointF p) const;
    QPointF fromLayer(const ui::View &target, QPointF p) const;

    ui::View &m_layer;
    std::function<void(Corner, ui::PanRecognizer &)> m_drag;
    std::array<std::shared_ptr<ui::ImageView>, 4> m_handles;
    Corners m_corners;
};

} // namespace vimora::text
