#pragma once

// A host shows one screen: a window view of the screen's size holding the root view and,
// in front of it, modal layers (alerts). It owns the clock everything timed reads, turns
// finger input into touches through a TouchDispatcher, keeps the keyboard focus and
// repaints when a view asks. WindowHost puts this in a real window; HeadlessHost drives it
// from tests. The most recently created (or made current) host is Host::current(): alerts
// show on it and views that are not on screen take focus through it.

#include <functional>
#include <memory>
#include <vector>

#include <QKeyCombination>
#include <QSizeF>
#include <QStringList>

#include "ui/clock.h"
#include "ui/overlay_stack.h"
#include "ui/touch_dispatcher.h"
#include "ui/view.h"

class QDropEvent;
class QKeyEvent;
class QMimeData;
class QPainter;

namespace vimora::ui {

class Host
{
public:
    virtual ~Host();
    Host(const Host &) = delete;
    Host &operator=(const Host &) = delete;

    static Host *current();
    void makeCurrent();

    Clock &clock() { return *m_clock; }

    /// The window view: screen-sized, origin at the top-left, black.
    View &window() { return *m_window; }
    const View &window() const { return *m_window; }
    /// The screen's root view, behind any modal layer. It fills the window and follows its
    /// size (autoresizing mask flexible width and height) unless the caller changes that.
    void setRootView(const ViewPtr &root);
    ViewPtr rootView() const { return m_root; }
    /// The window's title (a window host shows it in the title bar).
    virtual void setTitle(const QString &title) { m_title = title; }
    QString title() const { return m_title; }

    QSizeF screenSize() const { return m_window->bounds().size(); }
    /// Resizes the window view (a rotation); the root view follows by autoresizing.
    virtual void setScreenSize(QSizeF size);
    /// Pixels per point the screen is drawn at (the device pixel ratio).
    virtual double renderScale() const { return 1.0; }

    /// Shows view modally in front of everything, in a full-screen layer that dims what is
    /// behind and takes every touch; the view's frame is kept (centre it first). Animated,
    /// the layer fades in.
    void presentModal(const ViewPtr &view, bool animated = false);
    /// Removes a view presented modally, with its layer, at once as far as touches are
    /// concerned; animated, the layer fades out first. Unknown views are ignored.
    void dismissModal(const View *view, bool animated = false);
    /// Modal fades last this long.
    static constexpr double kModalFadeDuration = 0.2;
    bool hasModal() const { return !m_modalLayers.empty(); }
    /// Escape on the topmost modal alert: its cancel button (or its only button) is tapped.
    void cancelTopModal();

    /// Finger input, window coordinates, one event at a time.
    void sendTouches(const std::vector<TouchInput> &inputs);
    /// Cancels every touch that is down.
    void cancelTouches();
    TouchDispatcher &dispatcher() { return m_dispatcher; }
    /// The view a touch at a window point would go to (modal layers first).
    View *hitTest(QPointF windowPoint);
    /// The tooltip of what lies at the point: the nearest view up from the hit one that has one.
    QString toolTipAt(QPointF windowPoint);

    /// The view with keyboard focus, or nullptr. Setting it tells both views.
    View *focusView() const { return m_focus.lock().get(); }
    bool setFocusView(View *view);
    /// The focused text view's caret, selection or text changed; resetComposition: it ended
    /// an input-method composition itself. The window host tells the platform input method.
    virtual void updateInputMethod(bool /*resetComposition*/ = false) {}

    /// Keys: the focused view and its superviews first; a key none of them takes is then a
    /// key command when one is set for it, and Escape closes the topmost overlay (not while
    /// a modal view is up). Returns whether anything took the key.
    bool pressKey(QKeyEvent *event);
    /// Runs action for a key no view takes (Ctrl+Q quits); an empty action removes it.
    void setKeyCommand(QKeyCombination key, std::function<void()> action);

    /// Files dropped on the window, local paths in the order given; the receiver decides what
    /// a file that is not a picture gets. Without a handler no drop is taken.
    using FilesDropped = std::function<void(const QStringList &paths)>;
    void setFilesDroppedHandler(FilesDropped handler) { m_filesDropped = std::move(handler); }
    /// Whether a drag carrying this data can be dropped: it carries local files and a handler is set.
    bool acceptsDrop(const QMimeData &data) const;
    /// A drop on the window (a real one or one a test made): hands its local files on and
    /// accepts the event, or ignores it as acceptsDrop would.
    void drop(QDropEvent &event);
    /// The local files a drag carries; links to elsewhere (web addresses) are left out.
    static QStringList droppedFiles(const QMimeData &data);

    /// The panels over this host's screen that an outside tap or Escape closes.
    OverlayStack &overlays() { return *m_overlays; }

    /// A wheel or touchpad scroll at a window point; delta is how far the content should move
    /// in points (positive y brings into view what lies above). The innermost scroll view
    /// under the point that can still move that way scrolls, within its range. Returns
    /// whether one did.
    bool scrollWheel(QPointF windowPoint, QPointF delta);

    /// Draws the screen, transitions in flight included, in window coordinates.
    void render(QPainter &painter) const;
    /// Something changed on screen.
    virtual void setNeedsRepaint() = 0;
    /// True while a transition or another animation needs frames.
    bool isAnimating() const;

protected:
    Host(QSizeF screenSize, Clock *clock);
    virtual void focusViewChanged() {}

private:
    QString m_title;
    /// What pressKey does with a key no view took.
    bool handleUnclaimedKey(const QKeyEvent &event);
    Clock *m_clock;
    ViewPtr m_window;
    ViewPtr m_root;
    std::vector<ViewPtr> m_modalLayers;
    std::weak_ptr<View> m_focus;
    TouchDispatcher m_dispatcher;
    std::unique_ptr<OverlayStack> m_overlays;
    std::vector<std::pair<QKeyCombination, std::function<void()>>> m_keyCommands;
    FilesDropped m_filesDropped;
};

} // namespace vimora::ui
