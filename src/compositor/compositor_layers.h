#pragma once

// The compositor's picture layers: the background (the shared background layer), the top
// picture, its second copy (the half-transparent and blurred variants), the overlay above it
// and, while it is on, the reflection under the top picture. The layers other than the
// background live in the compositor's view, which lies inside the background layer.

#include <memory>
#include <vector>

#include "imaging/picture.h"
#include "ui/image_view.h"

namespace vimora {

class CompositorLayers
{
public:
    CompositorLayers(std::shared_ptr<ui::ImageView> background, ui::ViewPtr compositorView);

    ui::ImageView &background() const { return *m_background; }
    ui::View &compositorView() const { return *m_view; }
    /// backImage, backImageM, drawImages.
    ui::ImageView &top() const { return *m_top; }
    ui::ImageView &secondCopy() const { return *m_secondCopy; }
    ui::ImageView &overlay() const { return *m_overlay; }

    /// The reflection view while the reflection is on, else nullptr.
    ui::View *reflection() const { return m_reflection.get(); }
    const ui::ViewPtr &reflectionPtr() const { return m_reflection; }
    void setReflection(ui::ViewPtr reflection);
    void removeReflection();

    /// Lays picture as the top picture, its second copy and the overlay, centred in area (of
    /// the compositor's view: the part on screen) at a size that fits half of it; the copy and
    /// the overlay stay hidden.
    void layTopPicture(const Picture &picture, const QRectF &area);
    bool hasTopPicture() const { return !m_top->image().isNull(); }
    /// Whether the layers were put into the compositor's view (after a first picture).
    void attachToView();
    /// Clears every picture layer (not the background) and takes them off the screen.
    void clearPictureLayers();

    /// Where every layer is, how it is turned, how opaque and whether shown, in the order
    /// they lie: what undo puts back.
    struct Placement
    {
        ui::View *view = nullptr;
        QPointF center;
        QRectF bounds;
        ui::AffineTransform transform;
        double alpha = 1;
        bool hidden = false;
        int index = -1;
    };
    using Layout = std::vector<Placement>;
    Layout layout() const;
    void restore(const Layout &layout);

private:
    std::shared_ptr<ui::ImageView> m_background;
    ui::ViewPtr m_view;
    std::shared_ptr<ui::ImageView> m_top;
    std::shared_ptr<ui::ImageView> m_secondCopy;
    std::shared_ptr<ui::ImageView> m_overlay;
    ui::ViewPtr m_reflection;
};

} // namespace vimora
