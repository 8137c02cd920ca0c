#pragma once

#include <QPainterPath>

#include "ui/view.h"

namespace vimora::ui {

/// Which way a popover's arrow points: at the rectangle it was presented from.
enum PopoverArrowDirection : unsigned {
    PopoverArrowDirectionUnknown = 0,
    PopoverArrowDirectionUp = 1u << 0,   // panel below the rectangle
    PopoverArrowDirectionDown = 1u << 1, // panel above
    PopoverArrowDirectionLeft = 1u << 2, // panel to the right
    PopoverArrowDirectionRight = 1u << 3, // panel to the left
    PopoverArrowDirectionAny = 0xfu,
};
using PopoverArrowDirections = unsigned;

/// The floating panel of a popover: a rounded frame (the theme's PopoverPanel) with an arrow
/// on one side, its shadow, and the content view inside the frame's padding, clipped to
/// rounded corners. The arrow occupies a band of the arrow's height along its side; the
/// rest of the bounds is the body.
class PopoverPanel : public View
{
public:
    PopoverPanel();
    ~PopoverPanel() override;

    /// The panel size that holds content of a size with the arrow on a side.
    static QSizeF sizeForContent(QSizeF contentSize, PopoverArrowDirection direction);

    PopoverArrowDirection arrowDirection() const { return m_direction; }
    /// offset: where the arrow's tip lies along its side, from the side's start (left or
    /// top), in bounds coordinates; kept clear of the rounded corners.
    void setArrow(PopoverArrowDirection direction, double offset);
    double arrowOffset() const { return m_offset; }

    ViewPtr contentView() const { return m_content; }
    void setContentView(const ViewPtr &content);

    /// The bounds less the arrow's band.
    QRectF bodyRect() const;
    /// Where the content view goes: the body inside the frame's padding.
    QRectF contentRect() const;
    /// The frame and arrow as one outline.
    QPainterPath outline() const;

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return true; }
    void layoutSubviews() override { layoutContent(); }

private:
    void layoutContent();

    PopoverArrowDirection m_direction = PopoverArrowDirectionUp;
    double m_offset = 0;
    std::shared_ptr<View> m_clip; // rounds the content's corners
    ViewPtr m_content;
};

} // namespace vimora::ui
