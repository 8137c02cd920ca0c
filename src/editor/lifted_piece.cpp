#include "editor/lifted_piece.h"

#include <QPainterPath>

#include "editor/view_tags.h"
#include "imaging/subject_cut.h"
#include "ui/autoresizing.h"

namespace vimora {

namespace {
constexpr double kPulseWidth = 3;
constexpr double kHintHeight = 30;
} // namespace

void LiftedPiece::shade(ui::ImageView &piece)
{
    // The cut covers whole pixels in the picture's own aspect, so nothing overflows the
    // piece: it can do without clipping, which would hide the shadow.
    piece.setClipsToBounds(false);
    // A shaped piece casts the shadow of its subject (no path: the drawn alpha), a
    // rectangle the cheaper one of its outline.
    QPainterPath outline;
    if (!hasTransparency(piece.image().bitmap()))
        outline.addRect(piece.bounds());
    piece.setShadowPath(outline);
    piece.setShadowColor(Qt::black);
    piece.setShadowOffset(QPointF(0, 4));
    piece.setShadowRadius(6);
    piece.setShadowOpacity(0.7);
}

void LiftedPiece::lift(ui::ImageView &piece, const ui::View &photo, ui::View &layer, double bottom)
{
    shade(piece);

    // A shaped piece pulses along its subject's edge; a rectangle along its border.
    std::shared_ptr<ui::View> outline;
    if (hasTransparency(piece.image().bitmap())) {
        if (const Picture band = outlineFor(piece.image(), piece.bounds().size()); !band.isNull()) {
            auto view = std::make_shared<ui::ImageView>(piece.bounds());
            view->setImage(band);
            view->setBackgroundColor(Qt::transparent);
            view->setContentMode(ui::ContentMode::ScaleToFill);
            view->setAutoresizingMask(ui::FlexibleWidth | ui::FlexibleHeight);
            view->setUserInteractionEnabled(false);
            view->setTag(kPieceOutlineTag);
            piece.addSubview(view);
            outline = view;
        }
    } else {
        piece.setBorderColor(Qt::white);
        piece.setBorderWidth(kPulseWidth);
    }
    if (m_pulseEnd)
        m_pulseEnd->invalidate();
    std::weak_ptr<ui::View> weak = piece.sharedFromThis();
    std::weak_ptr<ui::View> weakOutline = outline;
    m_pulseEnd = ui::Timer::scheduled(kPulseSeconds, false, [weak, weakOutline] {
        if (const auto lifted = weak.lock())
            lifted->setBorderWidth(0);
        if (const auto band = weakOutline.lock())
            band->removeFromSuperview();
    });

    hideHint();
    const QRectF photoFrame = photo.convertRectTo(photo.bounds(), &layer);
    const double width = layer.bounds().width();
    // Below the photo where there is room, else over its bottom edge.
    const double top = std::min(photoFrame.bottom() + 8, std::min(bottom, layer.bounds().height()) - kHintHeight);
    m_hint = std::make_shared<ui::Label>(QRectF(0, top, width, kHintHeight),
                                         QStringLiteral("Drag to move the piece, pinch to resize it"));
    QFont font = m_hint->font();
    font.setPixelSize(15);
    m_hint->setFont(font);
    m_hint->setTextAlignment(ui::TextAlignment::Center);
    m_hint->setTextColor(Qt::white);
    m_hint->setShadowColor(Qt::black);
    m_hint->setShadowOffset(QPointF(1, 1));
    m_hint->setBackgroundColor(Qt::transparent);
    m_hint->setTag(kPieceHintTag);
    layer.addSubview(m_hint);
}

Picture LiftedPiece::outlineFor(const Picture &picture, QSizeF bounds)
{
    const qint64 key = picture.bitmap().cacheKey();
    if (key == m_outlineKey && bounds == m_outlineBounds)
        return m_outline;
    // At twice the piece's points: sharp on a dense screen, small beside the picture.
    const QSize pixels = (bounds * 2).toSize().expandedTo(QSize(1, 1));
    m_outline = edgeBand(picture.bitmap(), pixels, int(kPulseWidth * 2), Qt::white);
    m_outlineKey = key;
    m_outlineBounds = bounds;
    return m_outline;
}

void LiftedPiece::relayout(const ui::View &photo, const ui::View &layer, double bottom)
{
    if (!m_hint || m_hint->superview() != &layer)
        return;
    const QRectF photoFrame = photo.convertRectTo(photo.bounds(), &layer);
    const double top = std::min(photoFrame.bottom() + 8, std::min(bottom, layer.bounds().height()) - kHintHeight);
    m_hint->setFrame(QRectF(0, top, layer.bounds().width(), kHintHeight));
}

void LiftedPiece::hideHint()
{
    if (m_hint)
        m_hint->removeFromSuperview();
    m_hint.reset();
}

} // namespace vimora
