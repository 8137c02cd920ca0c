#pragma once

// Pieces the editor's panels are built from: reopening a panel view, the fade it shows
// with, and the scroll view and title of the picker panels.

#include <functional>
#include <memory>

#include <QRectF>
#include <QString>

#include "ui/alert_view.h"
#include "ui/image_view.h"
#include "ui/scroll_view.h"

class QKeyEvent;

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

/// A view that takes the keyboard focus and hands its key presses to a handler.
class KeyView : public ui::View
{
public:
    using ui::View::View;
    /// handler: true when it used the key.
    void setKeyHandler(std::function<bool(const QKeyEvent &)> handler) { m_keyHandler = std::move(handler); }
    bool canBecomeFirstResponder() const override { return true; }
    bool keyPressEvent(QKeyEvent *event) override;

private:
    std::function<bool(const QKeyEvent &)> m_keyHandler;
};

/// A question with Cancel and one button that goes ahead.
class Confirmation
{
public:
    /// Shows the question; confirmed runs when the user picks confirmTitle.
    void ask(const QString &title, const QString &message, const QString &confirmTitle, std::function<void()> confirmed);

private:
    std::unique_ptr<ui::AlertViewDelegate> m_delegate;
};

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
    std::weak_ptr<ui::View> m_focusBefore;
    ui::View *m_panel = nullptr;
    std::function<void()> m_close;
};

} // namespace vimora
