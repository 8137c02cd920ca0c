#pragma once

// Edge feathering of the preview's picture: four toggles on the middle of the drawing layer's
// edges fade the picture towards those edges with a ready-made greyscale mask, and OK leaves
// the mode keeping the faded picture. Every fade starts again from the unfeathered picture,
// which the background layer keeps, so fades never accumulate.

#include <memory>

#include <QRectF>
#include <QString>

#include "imaging/picture.h"
#include "ui/image_view.h"

namespace vimora {

struct ScreenViews;

/// The feathering buttons' tags: the four edges, then OK.
enum class FeatherButton { Bottom = 1, Top = 2, Left = 3, Right = 4, Ok = 5 };

/// Which edges are faded. Both edges of an axis can be on, the two axes never together.
class FeatherEdges
{
public:
    /// A toggle press: from an axis with neither edge on, both come on; otherwise the pressed
    /// edge flips. The other axis goes off either way.
    void press(FeatherButton edge);
    void reset() { *this = FeatherEdges(); }
    bool isOn(FeatherButton edge) const;
    bool anyOn() const { return m_bottom || m_top || m_left || m_right; }
    /// The mask picture of the current state; empty when no edge is on.
    QString maskName() const;

private:
    bool m_bottom = false;
    bool m_top = false;
    bool m_left = false;
    bool m_right = false;
};

/// A feathering button's frame on a drawing layer whose visible part is area (in the layer's
/// coordinates): the edge toggles on the middle of their edge, OK in the centre, 32 x 32.
QRectF featherButtonFrame(FeatherButton button, const QRectF &area);

/// The picture faded by the mask: the mask fitted to the picture's size goes through the "s1.png"
/// slot and masks the picture. No picture when either is missing.
Picture featheredPicture(const Picture &unfeathered, const Picture &mask);

class EdgeFeathering
{
public:
    explicit EdgeFeathering(ScreenViews &views);

    /// A new options panel was built: layer is its drawing layer inside preview, unfeathered
    /// the picture every fade starts from. The background layer keeps that picture, and the
    /// layer shows the fade the toggles stand at, so buttons and picture agree.
    void attach(ui::ImageView &layer, ui::ImageView &preview, const Picture &unfeathered);

    /// Enters (or redraws) the mode: the preview's overlays go, the panel's controls hide and the
    /// five buttons are laid on the drawing layer. Nothing happens without an attached panel.
    void gradientSelect();
    /// The action of the five buttons, by tag.
    void gradientMe(int tag);

    const FeatherEdges &edges() const { return m_edges; }

private:
    void showCurrentFade();
    void leave();

    ScreenViews &m_views;
    FeatherEdges m_edges;
    std::weak_ptr<ui::ImageView> m_layer;
    std::weak_ptr<ui::ImageView> m_preview;
};

} // namespace vimora
