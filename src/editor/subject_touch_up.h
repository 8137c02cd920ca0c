#pragma once

// After a smart cut: the subject cut it came from, the photo it was cut out of, and the two
// brushes ("Keep" and "Remove") whose strokes over the piece mark what the cut missed or took
// wrongly. A stroke is handed on in photo pixels; applying it is the editor's one step.

#include <functional>
#include <memory>

#include "imaging/picture.h"
#include "imaging/subject_cut.h"
#include "screenkit/screen_views.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/pan_recognizer.h"

namespace vimora {

class SubjectTouchUp
{
public:
    enum class Brush { None, Keep, Remove };

    /// onStroke runs on the UI thread with each finished stroke.
    SubjectTouchUp(ScreenViews &views, std::function<void(const SubjectStroke &)> onStroke);

    /// A smart cut was placed as piece: the brushes show beside it.
    void begin(const SubjectCut &cut, const Picture &photo, ui::ImageView &piece);
    /// The piece left its first state (an effect flow, a new cut, Home): brushes and cut go.
    void end();
    bool isActive() const { return m_active; }

    const SubjectCut &cut() const { return m_cut; }
    void setCut(const SubjectCut &cut) { m_cut = cut; }
    /// The photo as it was before the cut, the hole drawn again from it.
    const Picture &photo() const { return m_photo; }

    Brush brush() const { return m_brush; }
    /// Picks a brush; the one picked again puts it down, and the piece drags again.
    void choose(Brush brush);
    /// The brushes at their screen places (after a turn), or hidden (typing, the naming strip).
    void placeControls();
    void setControlsHidden(bool hidden);

    /// A stroke in the piece's own coordinates (points) as photo pixels.
    SubjectStroke strokeFrom(const std::vector<QPointF> &piecePoints, bool keep) const;

private:
    void strokeMoved(ui::PanRecognizer &pan);

    ScreenViews &m_views;
    std::function<void(const SubjectStroke &)> m_onStroke;
    bool m_active = false;
    SubjectCut m_cut;
    Picture m_photo;
    std::weak_ptr<ui::ImageView> m_piece;
    Brush m_brush = Brush::None;
    std::shared_ptr<ui::Button> m_keep, m_remove;
    /// Over the piece while a brush is up: takes the strokes the piece's drag would.
    std::shared_ptr<ui::View> m_pad;
    std::vector<QPointF> m_points;
};

} // namespace vimora
