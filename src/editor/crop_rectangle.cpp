#include "editor/crop_rectangle.h"

#include <algorithm>

#include "editor/editor_layout.h"
#include "editor/panel_parts.h"
#include "editor/view_tags.h"
#include "imaging/pixel_cut.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "store/working_files.h"

namespace vimora {

namespace {
constexpr double kHandlePictureSide = 35;
const QRectF kDoneButtonFrame(10, 10, 50, 50);
/// Beside the done button, level with it.
const QRectF kSmartCutFrame(68, 15, 110, 40);
constexpr int kHandleTags[] = {kCropHandleTopRightTag, kCropHandleBottomRightTag, kCropHandleTopLeftTag,
                               kCropHandleBottomLeftTag};

QPointF cornerOf(const CropCorners &c, CropHandle handle)
{
    switch (handle) {
    case CropHandle::TopRight:
        return c.ru;
    case CropHandle::BottomRight:
        return c.rd;
    case CropHandle::TopLeft:
        return c.lu;
    case CropHandle::BottomLeft:
        break;
    }
    return c.ld;
}
} // namespace

CropRectangle::CropRectangle(ui::View &editorView, std::function<void()> onBodyDrag)
    : m_editorView(editorView)
    , m_drag(&editorView)
    , m_onBodyDrag(std::move(onBodyDrag))
{
}

void CropRectangle::justSaveToAlbumC(ui::ImageView &photo, ui::View &buttonHost, std::function<void()> onDone,
                                     std::function<void()> onSmartCut)
{
    removeViews();
    m_adjusting = true;
    m_photo = std::static_pointer_cast<ui::ImageView>(photo.sharedFromThis());

    // A photo view smaller than the usual side (a panorama) gets a rectangle that fits it.
    const QSizeF viewSize = photo.bounds().size();
    const double side = std::min({initialCropSide(Device::profile()), viewSize.width(), viewSize.height()});

    auto rectangle = std::make_shared<ui::ImageView>(QRectF(0, 0, side, side));
    rectangle->setUserInteractionEnabled(true);
    rectangle->setContentMode(ui::ContentMode::ScaleAspectFill);
    rectangle->setTag(kCropRectangleTag);
    photo.addSubview(rectangle);
    rectangle->setBackgroundColor(Qt::blue);
    rectangle->setAlpha(0.3);
    rectangle->setCenter(QPointF(viewSize.width() / 2, viewSize.height() / 2));
    m_rectangle = rectangle;
    m_corners = CropCorners::fromFrame(rectangle->frame());
    rectangle->addGestureRecognizer(oneFingerPan([this](ui::PanRecognizer &pan) { handleMove(pan); }));

    const Picture handleImage = Resources::imageNamed(QStringLiteral("moveHandBtnX.png"));
    void (CropRectangle::*const actions[])(ui::PanRecognizer &)
        = {&CropRectangle::handleMove5, &CropRectangle::handleMove4, &CropRectangle::handleMove3, &CropRectangle::handleMove2};
    for (size_t i = 0; i < m_handles.size(); ++i) {
        // A fingertip-sized touch area around the picture, so a grab near a corner takes the
        // handle rather than the body.
        auto handle = std::make_shared<ui::ImageView>(QRectF(0, 0, kHandleTouchSide, kHandleTouchSide));
        handle->setUserInteractionEnabled(true);
        handle->setBackgroundColor(Qt::transparent);
        handle->setTag(kHandleTags[i]);
        auto picture = std::make_shared<ui::ImageView>(QRectF(0, 0, kHandlePictureSide, kHandlePictureSide));
        picture->setContentMode(ui::ContentMode::ScaleAspectFill);
        picture->setImage(handleImage);
        picture->setCenter(QPointF(kHandleTouchSide / 2, kHandleTouchSide / 2));
        handle->addSubview(picture);
        m_handles[i] = handle;
        handle->addGestureRecognizer(oneFingerPan([this, action = actions[i]](ui::PanRecognizer &pan) { (this->*action)(pan); }));
    }

    auto done = std::make_shared<ui::Button>(kDoneButtonFrame);
    done->setImage(Resources::imageNamed(QStringLiteral("doneBtns.png")));
    done->addAction(ui::ControlEventTouchUpInside, [onDone = std::move(onDone)](ui::Control &) {
        if (onDone)
            onDone();
    });
    done->setTag(kDoneButtonTag);
    buttonHost.addSubview(done);
    buttonHost.bringSubviewToFront(done.get());
    m_doneButton = done;
    if (onSmartCut) {
        auto smart = makeBarButton(kSmartCutFrame, QStringLiteral("Smart cut"), kSmartCutTag, std::move(onSmartCut));
        buttonHost.addSubview(smart);
        m_smartButton = smart;
    }
    // Above the button too: a corner dragged into the screen's corner stays grabbable.
    for (const auto &handle : m_handles)
        buttonHost.addSubview(handle);
    centreHandles();
}

bool CropRectangle::isLaidOn(const ui::ImageView &photo) const
{
    return m_rectangle && m_rectangle->superview() == &photo;
}

void CropRectangle::handleMove(ui::PanRecognizer &pan)
{
    if (pan.view() && m_onBodyDrag)
        m_onBodyDrag();
    if (!m_drag.follow(pan) || !m_adjusting || pan.view() != m_rectangle.get())
        return;
    // Past the photo is allowed, past the screen is not.
    const QRectF screen = screenInPhoto();
    const QRectF frame = m_rectangle->frame();
    if (!screen.isEmpty()) {
        const double x = std::clamp(frame.x(), screen.left(), std::max(screen.left(), screen.right() - frame.width()));
        const double y = std::clamp(frame.y(), screen.top(), std::max(screen.top(), screen.bottom() - frame.height()));
        m_rectangle->setFrame(QRectF(QPointF(x, y), frame.size()));
    }
    m_corners = CropCorners::fromFrame(m_rectangle->frame());
    centreHandles();
}

QRectF CropRectangle::screenInPhoto() const
{
    const auto photo = m_photo.lock();
    if (!photo)
        return {};
    return m_editorView.convertRectTo(m_editorView.bounds(), photo.get());
}

void CropRectangle::handleMove2(ui::PanRecognizer &pan)
{
    dragCorner(pan, CropHandle::BottomLeft);
}

void CropRectangle::handleMove3(ui::PanRecognizer &pan)
{
    dragCorner(pan, CropHandle::TopLeft);
}

void CropRectangle::handleMove4(ui::PanRecognizer &pan)
{
    dragCorner(pan, CropHandle::BottomRight);
}

void CropRectangle::handleMove5(ui::PanRecognizer &pan)
{
    dragCorner(pan, CropHandle::TopRight);
}

void CropRectangle::dragCorner(ui::PanRecognizer &pan, CropHandle handle)
{
    ui::View *view = pan.view();
    const auto photo = m_photo.lock();
    if (!view)
        return;
    const QPointF p = m_drag.centreFor(pan);
    view->setCenter(p);
    if (!m_adjusting || !m_rectangle || !photo || view != m_handles[size_t(handle)].get() || !view->superview())
        return;
    const QRectF screen = screenInPhoto();
    QPointF corner = view->superview()->convertPointTo(p, photo.get());
    corner = {std::clamp(corner.x(), screen.left(), screen.right()), std::clamp(corner.y(), screen.top(), screen.bottom())};
    const QRectF frame = draggedCornerFrame(handle, m_corners, corner);
    m_rectangle->setFrame(frame);
    m_corners = CropCorners::fromFrame(frame);
    centreHandles();
}

void CropRectangle::centreHandles()
{
    const auto photo = m_photo.lock();
    if (!photo)
        return;
    for (size_t i = 0; i < m_handles.size(); ++i)
        if (m_handles[i] && m_handles[i]->superview())
            m_handles[i]->setCenter(photo->convertPointTo(cornerOf(m_corners, CropHandle(i)), m_handles[i]->superview()));
}

namespace {
/// The rectangle's frame on the photo view in the photo's pixels, and the photo view's scale.
struct Measure
{
    QRectF frame;  ///< points, limited to the view
    QRectF pixels; ///< the same in photo pixels
    double sx = 0, sy = 0;
    bool measurable = false;
};

Measure measure(const ui::ImageView &photoView, const std::shared_ptr<ui::ImageView> &rectangle)
{
    Measure m;
    const Picture photo = photoView.image();
    const QSizeF viewSize = photoView.bounds().size();
    m.measurable = !photo.isNull() && viewSize.width() > 0 && viewSize.height() > 0;
    m.sx = m.measurable ? photo.pixelWidth() / viewSize.width() : 0;
    m.sy = m.measurable ? photo.pixelHeight() / viewSize.height() : 0;
    m.frame = clipCropFrame(rectangle ? rectangle->frame() : QRectF(), viewSize);
    m.pixels = QRectF(m.frame.x() * m.sx, m.frame.y() * m.sy, m.frame.width() * m.sx, m.frame.height() * m.sy);
    return m;
}
} // namespace

QRect CropRectangle::pixelRect(const ui::ImageView &photoView) const
{
    const Measure m = measure(photoView, m_rectangle);
    return m.measurable ? cropPixelRect(m.pixels, photoView.image().bitmap().size()) : QRect();
}

CutPiece CropRectangle::cut(ui::ImageView &photoView)
{
    m_adjusting = false;
    const Picture photo = photoView.image();
    const Measure m = measure(photoView, m_rectangle);
    QRectF frame = m.frame;
    const QRectF &pixels = m.pixels;

    const Picture piece = m.measurable ? cutImage(pixels.width(), pixels.height(), pixels.x(), pixels.y(), photo) : Picture();
    // The crop takes whole pixels; the piece covers exactly those, so it hides its hole to
    // the edge instead of leaving a sliver of black around it.
    const QRect taken = m.measurable ? cropPixelRect(pixels, photo.bitmap().size()) : QRect();
    if (!taken.isEmpty())
        frame = QRectF(taken.x() / m.sx, taken.y() / m.sy, taken.width() / m.sx, taken.height() / m.sy);
    // Nothing to keep from an empty crop: Tem keeps what it held.
    if (piece.isNull())
        logLine(QStringLiteral("the crop rectangle holds no pixels"));
    else
        WorkingFiles::shared().simpleSave(piece);

    // The photo stays upright; the opaque black hole lies exactly under the piece.
    if (!taken.isEmpty())
        photoView.setImage(holeImage(photo, QRectF(taken)));
    removeViews();
    return {piece, frame};
}

CutPiece CropRectangle::cutShaped(ui::ImageView &photoView, const SubjectCut &subject)
{
    const Picture photo = photoView.image();
    const Measure m = measure(photoView, m_rectangle);
    const QRect taken = subject.rect();
    const Picture piece = shapedPiece(photo.bitmap(), subject);
    // Nothing cut: the rectangle stays for another try.
    if (!m.measurable || piece.isNull() || taken.isEmpty()) {
        logLine(QStringLiteral("the smart cut holds no pixels"));
        return {};
    }
    m_adjusting = false;
    removeViews();
    WorkingFiles::shared().simpleSave(piece);
    photoView.setImage(shapedHole(photo, subject));
    return {piece, QRectF(taken.x() / m.sx, taken.y() / m.sy, taken.width() / m.sx, taken.height() / m.sy)};
}

void CropRectangle::forget()
{
    m_adjusting = false;
}

void CropRectangle::removeViews()
{
    if (m_rectangle)
        m_rectangle->removeFromSuperview();
    m_rectangle.reset();
    for (auto &handle : m_handles) {
        if (handle)
            handle->removeFromSuperview();
        handle.reset();
    }
    for (auto *button : {&m_doneButton, &m_smartButton}) {
        if (*button)
            (*button)->removeFromSuperview();
        button->reset();
    }
}

} // namespace vimora
