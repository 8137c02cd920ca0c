#include "editor/photo_capture.h"

#include <QPainter>
#include <QTransform>

#include "editor/view_tags.h"

namespace vimora {

namespace {
bool isTextLabel(const ui::View &view)
{
    return view.tag() >= kFirstTextLabelTag;
}

void collectLabels(const ui::View &view, std::vector<const ui::View *> &labels)
{
    for (const ui::ViewPtr &sub : view.subviews()) {
        if (isTextLabel(*sub))
            labels.push_back(sub.get());
        else
            collectLabels(*sub, labels);
    }
}

// Maps a view's bounds coordinates onto another view's (an affine map: three points fix it).
QTransform mapping(const ui::View &from, const ui::View &to)
{
    const QPointF o = from.convertPointTo(QPointF(0, 0), &to);
    const QPointF x = from.convertPointTo(QPointF(1, 0), &to) - o;
    const QPointF y = from.convertPointTo(QPointF(0, 1), &to) - o;
    return QTransform(x.x(), x.y(), y.x(), y.y(), o.x(), o.y());
}
} // namespace

std::vector<const ui::View *> textLabels(const ui::View &editorLayer)
{
    std::vector<const ui::View *> labels;
    collectLabels(editorLayer, labels);
    return labels;
}

Picture capturePhotoView(ui::ImageView &photoView, const ui::View &editorLayer, QSize pixels)
{
    const QRectF bounds = photoView.bounds();
    if (pixels.isEmpty() || bounds.isEmpty())
        return {};
    QImage canvas(pixels, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::transparent);

    const double border = photoView.borderWidth();
    photoView.setBorderWidth(0);
    {
        QPainter painter(&canvas);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        const QTransform toPixels = QTransform::fromTranslate(-bounds.x(), -bounds.y())
            * QTransform::fromScale(pixels.width() / bounds.width(), pixels.height() / bounds.height());
        painter.setTransform(toPixels);
        photoView.renderInContext(painter);

        // Labels laid beside the photo view rather than on it still belong to the picture.
        for (const ui::View *label : textLabels(editorLayer)) {
            if (label->isHidden() || label == &photoView || label->isDescendantOf(&photoView))
                continue;
            painter.save();
            painter.setTransform(mapping(*label, photoView) * toPixels);
            painter.setOpacity(label->alpha());
            label->renderInContext(painter);
            painter.restore();
        }
    }
    photoView.setBorderWidth(border);
    return Picture(canvas);
}

} // namespace vimora
