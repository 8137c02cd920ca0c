#pragma once

// A mirrored gradient strip laid under a picture: black, with white fading to black. The
// picture it is given is kept for its owner, not drawn.

#include "imaging/picture.h"
#include "ui/view.h"

namespace vimora {

class ReflectionView : public ui::View
{
public:
    explicit ReflectionView(const QRectF &frame = {});

    /// Keeps the picture's bitmap at scale 1 and asks for a redraw.
    void setImage(const Picture &picture);
    const Picture &image() const { return m_image; }

    /// The gradient starts this far down the view, as a share of its height: above it the
    /// strip stays black.
    static constexpr double kGradientStart = 1.0 / 5.0;

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return true; }

private:
    Picture m_image;
};

} // namespace vimora
