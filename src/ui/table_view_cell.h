#pragma once

#include <memory>

#include <QString>

#include "ui/view.h"

namespace vimora::ui {

class ImageView;
class Label;

/// One row of a table. The standard styles lay out, inside the content view, a picture on
/// the left at its natural size (shrunk to fit the row's height, keeping its shape) and
/// vertically centred, then the text label (and the detail label) to its right:
///   Default   the text label alone, filling the row's height (it centres its lines);
///   Subtitle  the text label above the detail label, the pair centred vertically;
///   Value1    the text label on the left, the detail label right-aligned on the same line.
/// An accessory (disclosure chevron, checkmark) takes the right end. Highlighted or
/// selected, the cell draws the theme's selection background and its labels in the
/// selected text colour. Screens may add their own subviews to contentView().
class TableViewCell : public View
{
public:
    enum class Style { Default, Subtitle, Value1 };
    enum class AccessoryType { None, DisclosureIndicator, Checkmark };
    enum class SelectionStyle { None, Blue };

    /// Width kept for an accessory at the right end.
    static constexpr double kAccessoryWidth = 30;

    explicit TableViewCell(Style style = Style::Default, const QString &reuseIdentifier = {});
    ~TableViewCell() override;

    Style style() const { return m_style; }
    QString reuseIdentifier() const { return m_reuseIdentifier; }

    View &contentView() { return *m_content; }
    ImageView &imageView() { return *m_image; }
    Label &textLabel() { return *m_text; }
    Label &detailTextLabel() { return *m_detail; }

    AccessoryType accessoryType() const { return m_accessory; }
    void setAccessoryType(AccessoryType type);
    SelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(SelectionStyle style);
    /// Whether the line under the row is drawn (the table sets it).
    void setSeparator(bool shown, const QColor &color);

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

    /// Called before a table hands a reused cell out again; the default clears the
    /// selection and highlight.
    virtual void prepareForReuse();

    /// Lays out the standard parts now (it also happens on every size change).
    void layoutParts();

protected:
    void drawContent(QPainter &painter) const override;
    void drawOverlay(QPainter &painter) const override;
    bool drawsContent() const override { return true; }
    void layoutSubviews() override { layoutParts(); }

private:
    bool showsSelection() const;
    void updateLabelColors();

    Style m_style;
    QString m_reuseIdentifier;
    std::shared_ptr<View> m_content;
    std::shared_ptr<ImageView> m_image;
    std::shared_ptr<Label> m_text, m_detail;
    AccessoryType m_accessory = AccessoryType::None;
    SelectionStyle m_selectionStyle = SelectionStyle::Blue;
    bool m_separator = true;
    QColor m_separatorColor;
    bool m_selected = false;
    bool m_highlighted = false;
    // Label colours to return to when the selection look goes.
    QColor m_textColor, m_detailColor;
    bool m_showingSelection = false;
};

using TableViewCellPtr = std::shared_ptr<TableViewCell>;

} // namespace vimora::ui
