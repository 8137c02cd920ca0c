#pragma once

#include <memory>
#include <vector>

#include <QSizeF>

#include "ui/alert_view.h"
#include "ui/view.h"

namespace vimora::ui {
class ActivityIndicator;
class ImageView;
class Label;
class ScrollView;
class Switch;
class Timer;
} // namespace vimora::ui

namespace vimora::gallery {

/// The gallery's one screen: cards showing every control, a transformed and clipped view
/// tree with gestures, each transition and the alerts. Lays itself out for the screen size
/// (two columns on a tablet, one scrolling column on a phone).
class GalleryScreen : public ui::AlertViewDelegate
{
public:
    GalleryScreen();
    ~GalleryScreen() override;

    ui::ViewPtr rootView() const;
    /// Rebuilds every card for a screen size.
    void build(QSizeF screen);

    /// Opens the three-button alert (used for screenshots too).
    void showChoiceAlert();
    void showProcessingAlert();

    void alertViewClickedButtonAtIndex(ui::AlertView &alert, int buttonIndex) override;

private:
    ui::ViewPtr card(const QString &title, double height);
    void buildButtons(ui::View &card);
    void buildSliders(ui::View &card);
    void buildLabels(ui::View &card);
    void buildScrolling(ui::View &card);
    void buildTree(ui::View &card);
    void buildTransitions(ui::View &card);
    void buildAlerts(ui::View &card);
    void setStatus(const QString &text);

    std::shared_ptr<ui::ScrollView> m_root;
    std::shared_ptr<ui::Label> m_status;
    std::shared_ptr<ui::ImageView> m_preview;
    std::shared_ptr<ui::Switch> m_fromLeft;
    std::shared_ptr<ui::Timer> m_processingTimer;
    int m_previewVariant = 0;
    // Where the next card goes: column origins, their running heights, the card width.
    std::vector<QPointF> m_columns;
    size_t m_nextColumn = 0;
    double m_cardWidth = 300;
    bool m_twoColumns = false;
};

} // namespace vimora::gallery
