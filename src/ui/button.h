#pragma once

#include <map>
#include <optional>

#include <QFont>
#include <QString>

#include "ui/control.h"
#include "ui/geometry.h"
#include "ui/stretchable_image.h"
#include "ui/theme.h"

namespace vimora::ui {

/// A push button. Per-state values (title, colours, images) are looked up for the exact
/// state, else for Normal. Parts, back to front: background image (filling the bounds,
/// nine-sliced when resizable), image, title. Image and title form one row, image left,
/// centred as a group; the image keeps its natural size clamped to the content rectangle,
/// the title its text size with the width clamped to what is left (one line, truncated in
/// the middle). While highlighted without a highlighted picture, pictures are drawn
/// darkened (colour × 0.6); disabled, at half opacity.
class Button : public Control
{
public:
    /// Custom: no background of its own, white title, bold system font 15.
    /// RoundedRect: the theme's rounded-rectangle button.
    enum class Type { Custom, RoundedRect };

    explicit Button(Type type = Type::Custom);
    explicit Button(const QRectF &frame, Type type = Type::Custom);

    Type buttonType() const { return m_type; }

    void setTitle(const QString &title, ControlState state = ControlStateNormal);
    QString title(ControlState state = ControlStateNormal) const;
    /// Its own, else the title where the title is not drawn (an icon or a picture carries
    /// the caption), so every icon button names itself under a pointer.
    QString toolTip() const override;
    /// The title for the current state: what a screen compares to tell buttons apart, even
    /// when it is drawn in a clear colour.
    QString currentTitle() const { return title(state()); }
    void setTitleColor(const QColor &color, ControlState state = ControlStateNormal);
    QColor titleColor(ControlState state = ControlStateNormal) const;
    void setTitleShadowColor(const QColor &color, ControlState state = ControlStateNormal);
    QColor titleShadowColor(ControlState state = ControlStateNormal) const;
    QPointF titleShadowOffset() const { return m_titleShadowOffset; }
    void setTitleShadowOffset(QPointF offset);
    /// On: the shadow offset is negated while highlighted.
    bool reversesTitleShadowWhenHighlighted() const { return m_reversesShadow; }
    void setReversesTitleShadowWhenHighlighted(bool on);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);

    void setImage(const StretchableImage &image, ControlState state = ControlStateNormal);
    StretchableImage image(ControlState state = ControlStateNormal) const;
    StretchableImage currentImage() const { return image(state()); }
    void setBackgroundImage(const StretchableImage &image, ControlState state = ControlStateNormal);
    StretchableImage backgroundImage(ControlState state = ControlStateNormal) const;
    StretchableImage currentBackgroundImage() const { return backgroundImage(state()); }

    bool adjustsImageWhenHighlighted() const { return m_adjustsWhenHighlighted; }
    void setAdjustsImageWhenHighlighted(bool on);
    bool adjustsImageWhenDisabled() const { return m_adjustsWhenDisabled; }
    void setAdjustsImageWhenDisabled(bool on);

    EdgeInsets contentEdgeInsets() const { return m_contentInsets; }
    void setContentEdgeInsets(const EdgeInsets &insets);
    /// Shift the image or the title: the part moves by half the difference of opposite insets.
    EdgeInsets imageEdgeInsets() const { return m_imageInsets; }
    void setImageEdgeInsets(const EdgeInsets &insets);
    EdgeInsets titleEdgeInsets() const { return m_titleInsets; }
    void setTitleEdgeInsets(const EdgeInsets &insets);

    /// Where the current image and title are drawn, in bounds coordinates.
    QRectF imageRect() const;
    QRectF titleRect() const;

    /// Draws its background from a theme element (the rounded-rectangle and alert buttons).
    void setThemeElement(std::optional<ThemeElement> element);

    bool ownsGesture(const GestureRecognizer &recognizer, const Touch &touch) const override;

protected:
    void drawContent(QPainter &painter) const override;

private:
    void layout(QRectF *imageRect, QRectF *titleRect) const;
    Picture adjustedPicture(const Picture &picture, bool highlightedVariantExists) const;

    Type m_type;
    std::optional<ThemeElement> m_themeElement;
    std::map<ControlState, QString> m_titles;
    std::map<ControlState, QColor> m_titleColors;
    std::map<ControlState, QColor> m_titleShadowColors;
    std::map<ControlState, StretchableImage> m_images;
    std::map<ControlState, StretchableImage> m_backgroundImages;
    QPointF m_titleShadowOffset;
    bool m_reversesShadow = false;
    bool m_adjustsWhenHighlighted = true;
    bool m_adjustsWhenDisabled = true;
    QFont m_font;
    EdgeInsets m_contentInsets, m_imageInsets, m_titleInsets;
    // Darkened copies, by the bitmap they were made from.
    mutable std::map<qint64, Picture> m_darkened;
};

} // namespace vimora::ui
