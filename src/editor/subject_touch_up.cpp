#include "editor/subject_touch_up.h"

#include "editor/panel_parts.h"
#include "editor/view_tags.h"
#include "platform/device.h"
#include "screenkit/drag_follower.h"
#include "ui/autoresizing.h"
#include "ui/pan_recognizer.h"

namespace vimora {

namespace {
/// The brush's radius on the screen: about a fingertip's width.
constexpr double kBrushRadius = 10;
constexpr double kControlWidth = 80, kControlHeight = 40, kControlGap = 5;
/// Down the right edge, under the Frame control (which sits under Back).
QRectF brushFrame(int index)
{
    const double x = Device::screenSize().width() - 10 - kControlWidth;
    const double top = 52 + (kControlHeight + kControlGap) * (index + 1);
    return {x, top, kControlWidth, kControlHeight};
}
} // namespace

SubjectTouchUp::SubjectTouchUp(ScreenViews &views, std::function<void(const SubjectStroke &)> onStroke)
    : m_views(views)
    , m_onStroke(std::move(onStroke))
{
    m_keep = makeBarButton({}, QStringLiteral("Keep"), kKeepBrushTag, [this] { choose(Brush::Keep); });
    m_remove = makeBarButton({}, QStringLiteral("Remove"), kRemoveBrushTag, [this] { choose(Brush::Remove); });
}

void SubjectTouchUp::begin(const SubjectCut &cut, const Picture &photo, ui::ImageView &piece)
{
    end();
    m_active = true;
    m_cut = cut;
    m_photo = photo;
    m_piece = std::static_pointer_cast<ui::ImageView>(piece.sharedFromThis());
    m_views.cutImgView->addSubview(m_keep);
    m_views.cutImgView->addSubview(m_remove);
    setControlsHidden(false);
    placeControls();
}

void SubjectTouchUp::end()
{
    choose(Brush::None);
    m_active = false;
    m_cut = SubjectCut();
    m_photo = Picture();
    m_piece.reset();
    m_keep->removeFromSuperview();
    m_remove->removeFromSuperview();
}

void SubjectTouchUp::choose(Brush brush)
{
    m_brush = (brush == m_brush) ? Brush::None : brush;
    m_keep->setSelected(m_brush == Brush::Keep);
    m_remove->setSelected(m_brush == Brush::Remove);
    // The picked brush reads as pressed.
    m_keep->setAlpha(m_brush == Brush::Remove ? 0.6 : 1);
    m_remove->setAlpha(m_brush == Brush::Keep ? 0.6 : 1);
    const auto piece = m_piece.lock();
    if (m_brush == Brush::None || !piece) {
        if (m_pad)
            m_pad->removeFromSuperview();
        m_pad.reset();
        m_points.clear();
        return;
    }
    if (m_pad && m_pad->superview() == piece.get())
        return;
    m_pad = std::make_shared<ui::View>(piece->bounds());
    m_pad->setBackgroundColor(Qt::transparent);
    m_pad->setUserInteractionEnabled(true);
    m_pad->setAutoresizingMask(ui::FlexibleWidth | ui::FlexibleHeight);
    m_pad->addGestureRecognizer(oneFingerPan([this](ui::PanRecognizer &pan) { strokeMoved(pan); }));
    piece->addSubview(m_pad);
}

void SubjectTouchUp::strokeMoved(ui::PanRecognizer &pan)
{
    using State = ui::GestureRecognizer::State;
    const QPointF at = pan.locationInView(m_pad.get());
    switch (pan.state()) {
    case State::Began:
        // The pan begins a little way from where the finger went down.
        m_points = {at - pan.translationInView(m_pad.get()), at};
        break;
    case State::Changed:
        m_points.push_back(at);
        break;
    case State::Ended: {
        m_points.push_back(at);
        const SubjectStroke stroke = strokeFrom(m_points, m_brush == Brush::Keep);
        m_points.clear();
        if (m_onStroke && m_brush != Brush::None)
            m_onStroke(stroke);
        break;
    }
    default:
        m_points.clear();
        break;
    }
}

SubjectStroke SubjectTouchUp::strokeFrom(const std::vector<QPointF> &piecePoints, bool keep) const
{
    SubjectStroke stroke;
    stroke.keep = keep;
    const auto piece = m_piece.lock();
    const QRect rect = m_cut.rect();
    if (!piece || rect.isEmpty() || piece->bounds().isEmpty())
        return stroke;
    // The piece shows the rectangle's pixels stretched over its bounds, however pinched.
    const double sx = rect.width() / piece->bounds().width();
    const double sy = rect.height() / piece->bounds().height();
    for (const QPointF &p : piecePoints)
        stroke.points.push_back(QPointF(rect.x() + p.x() * sx, rect.y() + p.y() * sy));
    stroke.radius = kBrushRadius * (sx + sy) / 2;
    return stroke;
}

void SubjectTouchUp::placeControls()
{
    ui::View &layer = *m_views.cutImgView;
    int index = 0;
    for (const auto &control : {m_keep, m_remove}) {
        const QRectF frame = brushFrame(index++);
        control->setFrame(QRectF(layer.convertPointFrom(frame.topLeft(), nullptr), frame.size()));
        control->setAutoresizingMask(ui::FlexibleLeftMargin);
        if (control->superview() == &layer)
            layer.bringSubviewToFront(control.get());
    }
}

void SubjectTouchUp::setControlsHidden(bool hidden)
{
    m_keep->setHidden(hidden || !m_active);
    m_remove->setHidden(hidden || !m_active);
}

} // namespace vimora
