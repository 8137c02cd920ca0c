#pragma once

#include "imaging/picture.h"
#include "ui/picture_drawing.h"
#include "ui/view.h"

namespace vimora::ui {

/// Shows a picture per the view's content mode (scale-to-fill by default). The picture may
/// spill out of the bounds (aspect-fill, centre) unless clipsToBounds is on. Touches are
/// off by default, so its subviews get none until setUserInteractionEnabled(true).
class ImageView : public View
{
public:
    ImageView();
    /// Frame (0, 0, picture size in points).
    explicit ImageView(const Picture &image);
    explicit ImageView(const QRectF &frame);

    const Picture &image() const { return m_image; }
    /// Never changes the frame.
    void setImage(const Picture &image);

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return !m_image.isNull(); }

private:
    Picture m_image;
    mutable PictureDrawCache m_cache;
};

} // namespace vimora::ui
