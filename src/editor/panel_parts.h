#pragma once

// Pieces the editor's panels are built from: reopening a panel view, the fade it shows
// with, and the scroll view and title of the picker panels.

#include <functional>
#include <memory>

#include <QRectF>
#include <QString>

#include "ui/image_view.h"
#include "ui/scroll_view.h"

namespace vimora {

/// Shows panel in front of mainView, emptied, with a clear background and no transform,
/// ready to be laid out afresh.
void reopenPanel(ui::View &mainView, ui::ImageView &panel);

/// Fades view in from the bottom over seconds, with implicit animations off.
void fadeIn(ui::View &view, double seconds);

/// The scroll view a picker panel lists its choices in: the panel's width less 5 points a
/// side, from top down to 5 points above the bottom, clipped, without scroll indicators.
std::shared_ptr<ui::ScrollView> addPickerScroll(ui::View &panel, double top);

/// A picker panel's dark grey title, left aligned.
void addPanelTitle(ui::View &panel, const QRectF &frame, const QString &text);

/// Side of a panel's close control: a fingertip.
inline constexpr double kCloseControlSide = 44;

/// A panel that closes three ways: by its close control (top right, clear of the content
/// below top), by a tap anywhere outside it, and by Escape. While open, a clear layer under
/// the panel takes the taps outside and the keyboard focus.
class ClosablePanel
{
public:
    /// Shows the close control and the layer; close hides the panel and runs once.
    void open(ui::View &mainView, ui::View &panel, std::function<void()> close);
    /// The panel was closed or reused by other means: the layer and its focus go.
    void release();
    bool isOpen() const { return m_layer != nullptr; }

private:
    void closeNow();

    ui::ViewPtr m_layer;
    ui::View *m_panel = nullptr;
    std::function<void()> m_close;
};

} // namespace vimora
