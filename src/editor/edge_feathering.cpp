#include "editor/edge_feathering.h"

#include "editor/view_tags.h"
#include "imaging/geometry.h"
#include "imaging/mask_image.h"
#include "imaging/pixel_support.h"
#include "imaging/raster.h"
#include "imaging/resample.h"
#include "platform/resources.h"
#include "store/working_files.h"
#include "ui/button.h"
#include "ui/theme.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
constexpr double kButtonSide = 32;

bool isPanelControlTag(int tag)
{
    return tag >= kOptionsOkTag && tag <= kShatteringTag;
}

void showPanelControls(ui::View &panel, bool shown)
{
    for (const ui::ViewPtr &v : panel.subviews())
        if (isPanelControlTag(v->tag()))
            v->setHidden(!shown);
}
} // namespace

void FeatherEdges::press(FeatherButton edge)
{
    const bool vertical = edge == FeatherButton::Bottom || edge == FeatherButton::Top;
    bool &first = vertical ? m_bottom : m_left;
    bool &second = vertical ? m_top : m_right;
    if (!first && !second)
        first = second = true;
    else if (edge == FeatherButton::Bottom || edge == FeatherButton::Left)
        first = !first;
    else
        second = !second;
    if (vertical)
        m_left = m_right = false;
    else
        m_bottom = m_top = false;
}

bool FeatherEdges::isOn(FeatherButton edge) const
{
    switch (edge) {
    case FeatherButton::Bottom: return m_bottom;
    case FeatherButton::Top: return m_top;
    case FeatherButton::Left: return m_left;
    case FeatherButton::Right: return m_right;
    case FeatherButton::Ok: break;
    }
    return false;
}

QString FeatherEdges::maskName() const
{
    if (m_bottom && m_top)
        return QStringLiteral("mask10x.jpg");
    if (m_top)
        return QStringLiteral("mask10.jpg");
    if (m_bottom)
        return QStringLiteral("mask10b.jpg");
    if (m_left && m_right)
        return QStringLiteral("mask10y.jpg");
    if (m_right)
        return QStringLiteral("mask10c.jpg");
    if (m_left)
        return QStringLiteral("mask10a.jpg");
    return {};
}

QRectF featherButtonFrame(FeatherButton button, const QRectF &area)
{
    const double midX = area.left() + area.width() * 0.5 - kButtonSide / 2;
    const double midY = area.top() + area.height() * 0.5 - kButtonSide / 2;
    QPointF origin;
    switch (button) {
    case FeatherButton::Bottom: origin = {midX, area.bottom() - kButtonSide}; break;
    case FeatherButton::Top: origin = {midX, area.top()}; break;
    case FeatherButton::Left: origin = {area.left(), midY}; break;
    case FeatherButton::Right: origin = {area.right() - kButtonSide, midY}; break;
    case FeatherButton::Ok: origin = {midX, midY}; break;
    }
    return {origin, QSizeF(kButtonSide, kButtonSide)};
}

Picture featheredPicture(const Picture &unfeathered, const Picture &mask)
{
    if (unfeathered.isNull() || mask.isNull())
        return {};
    // The mask fitted to the picture; a picture of another shape than the mask's 4:3 takes it
    // stretched to its own size here, as the masking would, so the masking is one pass.
    const QSize size = rasterSizeByPoints(unfeathered);
    Picture fitted = scaleToFitSize(mask, unfeathered.size());
    if (!fitted.isNull() && fitted.bitmap().size() != size && !size.isEmpty())
        fitted = Picture(resampled(detail::uprightPixels(mask), size.width(), size.height()));
    WorkingFiles &files = WorkingFiles::shared();
    // The slot returns the mask at once; its file is written by the background writer.
    files.simple10Save(fitted);
    return maskWithImage(unfeathered, files.simple10Load());
}

EdgeFeathering::EdgeFeathering(ScreenViews &views)
    : m_views(views)
{
}

void EdgeFeathering::attach(ui::ImageView &layer, ui::ImageView &preview, const Picture &unfeathered)
{
    m_layer = std::static_pointer_cast<ui::ImageView>(layer.sharedFromThis());
    m_preview = std::static_pointer_cast<ui::ImageView>(preview.sharedFromThis());
    m_views.backImgView->setImage(unfeathered);
    if (m_edges.anyOn())
        showCurrentFade();
}

void EdgeFeathering::gradientSelect()
{
    const auto layer = m_layer.lock();
    const auto preview = m_preview.lock();
    if (!layer || !preview)
        return;
    ScreenViews &v = m_views;
    for (const ui::ViewPtr &overlay : preview->subviews())
        if (overlay->tag() >= kFirstPieceViewTag && overlay->tag() <= kLastPieceViewTag)
            overlay->removeFromSuperview();
    v.wordView->setHidden(true);
    showPanelControls(*v.descripImg2, false);

    // The buttons sit on the part of the layer the preview shows: a layer larger than its frame
    // would otherwise carry them out of sight.
    layer->removeAllSubviews();
    const QRectF shownInPreview = layer->frame().intersected(preview->bounds());
    const QRectF area = shownInPreview.isEmpty()
        ? layer->bounds()
        : QRectF(layer->convertPointFrom(shownInPreview.topLeft(), preview.get()),
                 layer->convertPointFrom(shownInPreview.bottomRight(), preview.get()))
              .normalized()
              .intersected(layer->bounds());

    for (FeatherButton edge : {FeatherButton::Bottom, FeatherButton::Top, FeatherButton::Left, FeatherButton::Right}) {
        auto button = std::make_shared<ui::Button>(featherButtonFrame(edge, area));
        button->setImage(Resources::imageNamed(m_edges.isOn(edge) ? QStringLiteral("listBtnY.png") : QStringLiteral("listBtnN.png")));
        button->setTag(int(edge));
        button->addAction(ui::ControlEventTouchUpInside, [this, edge](ui::Control &) { gradientMe(int(edge)); });
        layer->addSubview(button);
    }
    auto ok = std::make_shared<ui::Button>(featherButtonFrame(FeatherButton::Ok, area));
    ok->setBackgroundImage(Resources::imageNamed(QStringLiteral("2.png")));
    ok->setTitle(QStringLiteral("OK"));
    ok->setFont(ui::Theme::systemFont(12));
    ok->setTitleColor(Qt::white);
    ok->setTag(int(FeatherButton::Ok));
    ok->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { gradientMe(int(FeatherButton::Ok)); });
    layer->addSubview(ok);
}

void EdgeFeathering::gradientMe(int tag)
{
    if (tag == int(FeatherButton::Ok)) {
        leave();
        return;
    }
    if (tag < int(FeatherButton::Bottom) || tag > int(FeatherButton::Right))
        return;
    m_edges.press(FeatherButton(tag));
    showCurrentFade();
    gradientSelect();
}

void EdgeFeathering::showCurrentFade()
{
    const auto layer = m_layer.lock();
    if (!layer)
        return;
    const Picture unfeathered = m_views.backImgView->image();
    const QString maskName = m_edges.maskName();
    Picture shown = unfeathered;
    if (!maskName.isEmpty()) {
        // A missing mask (logged once by the lookup) turns every edge off: the picture stays
        // whole and the toggles say so.
        const Picture faded = featheredPicture(unfeathered, Resources::imageNamed(maskName));
        if (faded.isNull())
            m_edges.reset();
        else
            shown = faded;
    }
    layer->setImage(shown);
}

void EdgeFeathering::leave()
{
    if (const auto layer = m_layer.lock())
        layer->removeAllSubviews();
    showPanelControls(*m_views.descripImg2, true);
}

} // namespace vimora
