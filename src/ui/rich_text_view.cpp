#include "ui/rich_text_view.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

#include "ui/theme.h"
#include "ui/touch.h"

namespace vimora::ui {

namespace {
// A finger that moves further than this is not tapping a link.
constexpr double kLinkTapSlop = 12;
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
    setNeedsDisplay();
}

QString RichTextView::documentTitle() const
{
    return m_document->metaInformation(QTextDocument::DocumentTitle);
}

double RichTextView::heightForWidth(double width) const
{
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
