#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QUrl>

#include "ui/view.h"

class QTextDocument;

namespace vimora::ui {

/// A page of rich text (Qt's HTML subset) laid out at the view's width. Pictures and
/// relative links resolve against the base address. Its height follows the text
/// (heightForWidth) so a scroll view can carry it. A tap on a link reports the link's
/// address, resolved against the base, to the link handler.
class RichTextView : public View
{
public:
    using LinkHandler = std::function<void(const QUrl &)>;

    RichTextView();
    explicit RichTextView(const QRectF &frame);
    ~RichTextView() override;

    void setHtml(const QString &html, const QUrl &baseUrl = {});
    QUrl baseUrl() const { return m_baseUrl; }
    /// The page's <title>, empty when it has none.
    QString documentTitle() const;
    /// The height the text needs at width.
    double heightForWidth(double width) const;
    /// Resizes the bounds to the text at the current width, keeping the top-left.
    void sizeToFit();

    /// The resolved address of the link at p (bounds coordinates), or an empty URL.
    QUrl linkAt(QPointF p) const;
    void setLinkHandler(LinkHandler handler) { m_linkHandler = std::move(handler); }

    void touchesBegan(const TouchSet &touches) override;
    void touchesEnded(const TouchSet &touches) override;
    void touchesCancelled(const TouchSet &touches) override;

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return true; }
    void layoutSubviews() override;

private:
    std::unique_ptr<QTextDocument> m_document;
    QUrl m_baseUrl;
    LinkHandler m_linkHandler;
    QUrl m_pressedLink;
};

} // namespace vimora::ui
