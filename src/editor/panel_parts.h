#pragma once

// Pieces the editor's panels are built from: reopening a panel view, the fade it shows
// with, and the scroll view and title of the picker panels.

#include <functional>
#include <memory>

#include <QRectF>
#include <QString>

#include "ui/alert_view.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/label.h"
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

/// The editor's pill-shaped bar button ("Photos", "Back"): white shadowed title on the long
/// button picture, running action when tapped.
std::shared_ptr<ui::Button> makeBarButton(const QRectF &frame, const QString &title, int tag,
                                          std::function<void()> action);

/// A panel's label: white text with a black shadow 2 points down and right, clear behind,
/// left aligned; pixelSize 0 keeps the default font size.
std::shared_ptr<ui::Label> makeShadowedLabel(const QRectF &frame, const QString &text, double pixelSize = 0);

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
    Confirmation() = default;
    ~Confirmation();
    Confirmation(const Confirmation &) = delete;
    Confirmation &operator=(const Confirmation &) = delete;

    /// Shows the question; confirmed runs when the user picks confirmTitle. A question of
    /// this one still up goes first, unanswered.
    void ask(const QString &title, const QString &message, const QString &confirmTitle, std::function<void()> confirmed);
    /// Takes a question still up away, unanswered.
    void withdraw();

private:

    std::unique_ptr<ui::AlertViewDelegate> m_delegate;
    std::shared_ptr<ui::AlertView> m_alert;
};

/// Side of a panel's close control: a fingertip.
inline constexpr double kCloseControlSide = 44;

/// A panel that closes three ways: by its close control (top right, clear of the content
/// below top), and, through the screen's overlay stack, by a tap anywhere outside it and by
/// Escape.
class ClosablePanel
{
public:
    ClosablePanel() = default;
    ClosablePanel(const ClosablePanel &) = delete;
    ClosablePanel &operator=(const ClosablePanel &) = delete;
    ~ClosablePanel();

    /// Shows the close control and registers the panel; close hides the panel and runs once.
    /// The panel must already be in its superview.
    void open(ui::View &panel, std::function<void()> close);
    /// The panel was closed or reused by other means: the overlay stack forgets it.
    void release();
    bool isOpen() const { return m_panel != nullptr; }

private:
    void closeNow();

    ui::View *m_panel = nullptr;
    std::function<void()> m_close;
};

} // namespace vimora
