#include "ui/rich_text_view.h"

#include <algorithm>
#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include "ui/theme.h"
#include "ui/touch.h"

namespace vimora::ui {

namespace {
// A finger that moves further than this is not tapping a link.
constexpr double kLinkTapSlop = 12;

QSizeF naturalSize(const QVariant &resource)
{
    if (resource.canConvert<QImage>()) {
        const QImage image = resource.value<QImage>();
        return image.deviceIndependentSize();
    }
    if (resource.canConvert<QPixmap>())
        return resource.value<QPixmap>().deviceIndependentSize();
    return {};
}

// Pictures wider than the text column shrink to it, keeping their shape, instead of running
// off the page's edge.
void fitImagesToWidth(QTextDocument &document, double width)
{
    const double column = width - 2 * document.documentMargin();
    if (column <= 0)
        return;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QSizeF natural = naturalSize(document.resource(QTextDocument::ImageResource, QUrl(format.name())));
            if (natural.isEmpty())
                continue;
            const double fitted = std::min(natural.width(), column);
            if (std::abs(format.width() - fitted) < 0.5)
                continue;
            format.setWidth(fitted);
            format.setHeight(natural.height() * fitted / natural.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}
} // namespace

RichTextView::RichTextView()
    : RichTextView(QRectF())
{
}

RichTextView::RichTextView(const QRectF &frame)
    : View(frame)
    , m_document(std::make_unique<QTextDocument>())
{
    m_document->setDefaultFont(Theme::systemFont(16));
    m_document->setDocumentMargin(16);
    m_document->setTextWidth(frame.width());
}

RichTextView::~RichTextView() = default;

void RichTextView::setHtml(const QString &html, const QUrl &baseUrl)
{
    m_baseUrl = baseUrl;
    m_document->setBaseUrl(baseUrl);
    m_document->setHtml(html);
    m_document->setTextWidth(bounds().width());
    fitImagesToWidth(*m_document, bounds().width());
    setNeedsDisplay();
}

QString RichTextView::documentTitle() const
{
    return m_document->metaInformation(QTextDocument::DocumentTitle);
}

double RichTextView::heightForWidth(double width) const
{
    fitImagesToWidth(*m_document, width);
    m_document->setTextWidth(width);
    const double height = m_document->size().height();
    m_document->setTextWidth(bounds().width());
    return height;
}

void RichTextView::sizeToFit()
{
    const QRectF f = frame();
    setFrame(QRectF(f.topLeft(), QSizeF(f.width(), heightForWidth(f.width()))));
}

void RichTextView::layoutSubviews()
{
    fitImagesToWidth(*m_document, bounds().width());
    m_document->setTextWidth(bounds().width());
}

QUrl RichTextView::linkAt(QPointF p) const
{
    const QString href = m_document->documentLayout()->anchorAt(p - bounds().topLeft());
    if (href.isEmpty())
        return {};
    return m_baseUrl.resolved(QUrl(href));
}

void RichTextView::touchesBegan(const TouchSet &touches)
{
    m_pressedLink = touches.empty() ? QUrl() : linkAt(touches.front()->locationInView(this));
}

void RichTextView::touchesEnded(const TouchSet &touches)
{
    const QUrl link = std::exchange(m_pressedLink, QUrl());
    if (link.isEmpty() || touches.empty() || !m_linkHandler)
        return;
    const Touch &touch = *touches.front();
    if (QLineF(touch.startWindowPosition, touch.windowPosition).length() > kLinkTapSlop)
        return;
    if (linkAt(touch.locationInView(this)) == link)
        m_linkHandler(link);
}

void RichTextView::touchesCancelled(const TouchSet &)
{
    m_pressedLink = QUrl();
}

void RichTextView::drawContent(QPainter &painter) const
{
    painter.save();
    painter.translate(bounds().topLeft());
    m_document->drawContents(&painter, QRectF(QPointF(0, 0), bounds().size()));
    painter.restore();
}

} // namespace vimora::ui
