#pragma once

// A view painted with a three-stop gradient in a base colour (white, the colour, the colour
// brightened by half), following a touch. The touch points are kept for the owner.

#include "imaging/picture.h"
#include "ui/picture_drawing.h"
#include "ui/view.h"

namespace vimora {

class MyDrawingView : public ui::View
{
public:
    /// red, green, blue: 0..255.
    MyDrawingView(const QRectF &frame, int red, int green, int blue);

    void setBackgroundImage(const Picture &picture);
    const Picture &backgroundImage() const { return m_backgroundImage; }
    QPointF fromPoint() const { return m_fromPoint; }
    QPointF toPoint() const { return m_toPoint; }
    /// The base colour, 0..1.
    double red() const { return m_red; }
    double green() const { return m_green; }
    double blue() const { return m_blue; }

    /// Where the background picture is drawn.
    static constexpr QPointF kBackgroundOrigin{238, 320};

    void touchesBegan(const ui::TouchSet &touches) override;
    void touchesMoved(const ui::TouchSet &touches) override;
    void touchesEnded(const ui::TouchSet &touches) override;

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return true; }

private:
    double m_red, m_green, m_blue;
    Picture m_backgroundImage;
    QPointF m_fromPoint;
    QPointF m_toPoint;
    mutable ui::PictureDrawCache m_backgroundCache;
};

} // namespace vimora
