#pragma once

#include <QString>

#include "ui/text_drawing.h"
#include "ui/view.h"

namespace vimora::ui {

/// Static text. Like the labels the screens were written for, a new label has a white
/// background (clear it with setBackgroundColor(Qt::transparent)), black text in the
/// system font at 17, one line truncated at the tail, and takes no touches. The text block
/// is centred vertically in the bounds.
class Label : public View
{
public:
    Label();
    explicit Label(const QRectF &frame, const QString &text = {});

    QString text() const { return m_text; }
    void setText(const QString &text);
    QColor textColor() const { return m_style.color; }
    void setTextColor(const QColor &color);
    QFont font() const { return m_style.font; }
    void setFont(const QFont &font);
    TextAlignment textAlignment() const { return m_style.alignment; }
    void setTextAlignment(TextAlignment alignment);
    QColor shadowColor() const { return m_style.shadowColor; }
    void setShadowColor(const QColor &color);
    /// Default (0, −1), shown only once a shadow colour is set.
    QPointF shadowOffset() const { return m_style.shadowOffset; }
    void setShadowOffset(QPointF offset);
    /// 1 (default): a single line; 0: as many as fit; n: at most n.
    int numberOfLines() const { return m_style.numberOfLines; }
    void setNumberOfLines(int lines);
    LineBreakMode lineBreakMode() const { return m_style.lineBreak; }
    void setLineBreakMode(LineBreakMode mode);

    /// The size the text needs within width (0: unlimited).
    QSizeF sizeThatFits(double width = 0) const;
    /// Resizes the bounds to the text, keeping the frame's top-left.
    void sizeToFit();

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return !m_text.isEmpty(); }

private:
    QString m_text;
    TextStyle m_style;
};

} // namespace vimora::ui
