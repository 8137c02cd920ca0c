#include "editor/edge_expansion.h"

#include "imaging/pixel_cut.h"
#include "editor/view_tags.h"
#include "imaging/geometry.h"
#include "platform/resources.h"
#include "ui/geometry.h"
#include "ui/transition.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
constexpr double kArrowSide = 32;
/// The strip is this part of the photo's width (left, right) or height (top, bottom).
constexpr double kSideStripPart = 20;
constexpr double kTopStripPart = 25;
constexpr double kExpandTransition = 0.8;

struct Arrow
{
    int tag;
    float degrees;
    bool vertical; // offered when the layer overflows the frame vertically
};
constexpr Arrow kArrows[] = {
    {kExpandDownTag, -90, true},
    {kExpandUpTag, 90, true},
    {kExpandLeftTag, 180, false},
    {kExpandRightTag, 0, false},
};

// area: the part of the layer to lay the arrows along, in the layer's coordinates.
QRectF arrowFrame(int tag, const QRectF &area)
{
    const double x = area.left(), y = area.top(), w = area.width(), h = area.height(), a = kArrowSide;
    switch (tag) {
    case kExpandDownTag:
        return {x + w * 0.5 - a / 2, y + h - a, a, a};
    case kExpandUpTag:
        return {x + w * 0.5 - a / 2, y, a, a};
    case kExpandLeftTag:
        return {x, y + h * 0.5 - a / 2, a, a};
    default:
        return {x + w - a, y + h * 0.5 - a / 2, a, a};
    }
}
} // namespace

EdgeExpansion::EdgeExpansion(ScreenViews &views)
    : m_views(views)
{
}

void EdgeExpansion::setPanelControlsHidden(bool hidden)
{
    for (const ui::ViewPtr &view : m_views.descripImg2->subviews())
        if (view->tag() != kPreviewFrameTag)
            view->setHidden(hidden);
}

void EdgeExpansion::removeArrows()
{
    for (const auto &arrow : m_arrows)
        arrow->removeFromSuperview();
    m_arrows.clear();
}

void EdgeExpansion::cutApart(ui::ImageView &preview, ui::ImageView &layer, bool overflowsVertically)
{
    m_views.wordView->setHidden(true);
    setPanelControlsHidden(true);
    removeArrows();
    // A new expansion starts from the bare photo layer, back in the middle of the frame.
    for (const ui::ViewPtr &view : preview.subviews())
        if (view.get() != &layer)
            view->removeFromSuperview();
    layer.removeAllSubviews();
    layer.setCenter(ui::rectCenter(preview.bounds()));
    m_preview = std::static_pointer_cast<ui::ImageView>(preview.sharedFromThis());
    m_layer = std::static_pointer_cast<ui::ImageView>(layer.sharedFromThis());

    // Along the edges of what the frame shows of the layer: the edges of a layer that
    // overflows the frame are clipped away, and arrows there could be neither seen nor
    // pressed, leaving the panel with its controls hidden and no way on.
    QRectF shown = preview.convertRectTo(preview.bounds(), &layer).intersected(layer.bounds());
    if (shown.isEmpty())
        shown = layer.bounds();
    const Picture arrowPicture = Resources::imageNamed(QStringLiteral("toolbtn.png"));
    for (const Arrow &entry : kArrows) {
        if (entry.vertical != overflowsVertically)
            continue;
        auto arrow = std::make_shared<ui::Button>(arrowFrame(entry.tag, shown));
        arrow->setImage(entry.degrees == 0 ? arrowPicture : rotateImagePixelsInDegrees(arrowPicture, entry.degrees));
        arrow->setTag(entry.tag);
        arrow->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &sender) {
            // The photo is read when the arrow is pressed: the job may have changed meanwhile.
            cutApartExcute(sender.tag(), m_photoSource ? m_photoSource() : Picture());
        });
        layer.addSubview(arrow);
        m_arrows.push_back(arrow);
    }
}

void EdgeExpansion::cutApartExcute(int arrowTag, const Picture &photo)
{
    const auto preview = m_preview.lock();
    const auto layer = m_layer.lock();
    removeArrows();
    setPanelControlsHidden(false);
    if (!preview || !layer)
        return;

    const double w = photo.size().width(), h = photo.size().height();
    const bool sideways = arrowTag == kExpandLeftTag || arrowTag == kExpandRightTag;
    Picture strip;
    switch (arrowTag) {
    case kExpandRightTag:
        strip = cutImage(w / kSideStripPart, h, w - w / kSideStripPart, 0, photo);
        break;
    case kExpandLeftTag:
        strip = cutImage(w / kSideStripPart, h, 0, 0, photo);
        break;
    case kExpandUpTag:
        strip = cutImage(w, h / kTopStripPart, 0, 0, photo);
        break;
    case kExpandDownTag:
        strip = cutImage(w, h / kTopStripPart, 0, h - h / kTopStripPart, photo);
        break;
    default:
        return;
    }

    // Room opens on the chosen side: the layer moves to the frame's opposite edge.
    const QSizeF frame = preview->bounds().size();
    const QSizeF size = layer->bounds().size();
    if (arrowTag == kExpandRightTag)
        layer->setCenter(QPointF(size.width() / 2, size.height() / 2));
    else if (arrowTag == kExpandLeftTag)
        layer->setCenter(QPointF(frame.width() - size.width() / 2, size.height() / 2));
    const QRectF at = layer->frame();

    const double step = sideways ? size.width() / kSideStripPart : size.height() / kTopStripPart;
    int tag = kFirstPieceViewTag;
    for (int k = 0; k < kMostStripCopies && step > 0; ++k) {
        QRectF copy;
        switch (arrowTag) {
        case kExpandRightTag:
            copy = QRectF(at.right() + k * step, at.top(), step, at.height());
            break;
        case kExpandLeftTag:
            copy = QRectF(at.left() - (k + 1) * step, at.top(), step, at.height());
            break;
        case kExpandUpTag:
            copy = QRectF(at.left(), at.top() - (k + 1) * step, at.width(), step);
            break;
        default:
            copy = QRectF(at.left(), at.bottom() + k * step, at.width(), step);
            break;
        }
        // Stop at the first copy that would start beyond the frame.
        if (copy.left() >= frame.width() || copy.right() <= 0 || copy.top() >= frame.height() || copy.bottom() <= 0)
            break;
        auto view = std::make_shared<ui::ImageView>(copy);
        view->setImage(strip);
        view->setContentMode(ui::ContentMode::ScaleAspectFill);
        view->setClipsToBounds(true);
        view->setBackgroundColor(Qt::transparent);
        view->setTag(tag++);
        preview->addSubview(view);
    }

    auto marker = std::make_shared<ui::ImageView>(QRectF(QPointF(0, 0), frame));
    marker->setAlpha(0);
    marker->setTag(kCutGuideTag);
    preview->addSubview(marker);
    preview->addTransition(ui::Transition::named(QStringLiteral("tubey"), QStringLiteral("fromRight"), kExpandTransition));
}

} // namespace vimora
