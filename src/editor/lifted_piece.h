#pragma once

// The piece just cut, shown lifted off the photo: a soft shadow, a brief outline pulse, and a
// one-line hint that it can be dragged and pinched, until it is first dragged.

#include <limits>
#include <memory>

#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/timer.h"

namespace vimora {

class LiftedPiece
{
public:
    static constexpr double kPulseSeconds = 0.6;

    /// The lifted look alone: the shadow, without pulse or hint (a piece laid back as kept).
    static void shade(ui::ImageView &piece);
    /// Whether piece has the lifted look.
    static bool isShaded(const ui::ImageView &piece) { return piece.shadowOpacity() > 0; }
    /// Lifts piece and shows the hint on layer, just below photo and above bottom (in layer's
    /// points).
    void lift(ui::ImageView &piece, const ui::View &photo, ui::View &layer, double bottom = std::numeric_limits<double>::infinity());
    /// After a turn: a shown hint back just below photo, above the bottom limit (in layer
    /// coordinates: the toolbar's top).
    void relayout(const ui::View &photo, const ui::View &layer, double bottom);
    /// The piece was moved, or went: the hint has done its work.
    void hideHint();

    /// The pulse's band for a shaped piece of these bounds: the subject's outline, made once
    /// per picture and size rather than on every frame.
    Picture outlineFor(const Picture &picture, QSizeF bounds);

private:
    std::shared_ptr<ui::Label> m_hint;
    Picture m_outline;
    qint64 m_outlineKey = 0;
    QSizeF m_outlineBounds;
    std::shared_ptr<ui::Timer> m_pulseEnd;
};

} // namespace vimora
