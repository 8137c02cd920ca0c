#pragma once

#include <vector>

#include "ui/bar_button_item.h"
#include "ui/view.h"

namespace vimora::ui {

/// A bar of items, usually along the bottom of a navigation stack. The items sit in a row,
/// kEdgeMargin in from both ends and kItemGap apart, each button centred vertically; the
/// flexible spaces share whatever width is left equally (without one the row starts at the
/// left), fixed spaces keep their width.
class Toolbar : public View
{
public:
    static constexpr double kHeight = 44;
    static constexpr double kEdgeMargin = 6;
    static constexpr double kItemGap = 8;

    Toolbar();
    explicit Toolbar(const QRectF &frame);
    ~Toolbar() override;

    BarStyle barStyle() const { return m_style; }
    void setBarStyle(BarStyle style);
    bool isTranslucent() const { return m_translucent; }
    void setTranslucent(bool translucent);

    const std::vector<BarButtonItemPtr> &items() const { return m_items; }
    void setItems(const std::vector<BarButtonItemPtr> &items, bool animated = false);

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return true; }
    void layoutSubviews() override { layoutItems(); }

private:
    void layoutItems();

    BarStyle m_style = BarStyle::Default;
    bool m_translucent = false;
    std::vector<BarButtonItemPtr> m_items;
};

} // namespace vimora::ui
