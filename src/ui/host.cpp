#include "ui/host.h"

#include "ui/alert_view.h"
#include "ui/button.h"

#include <algorithm>

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QPainter>

#include "ui/scroll_view.h"
#include "ui/screen_drawing.h"
#include "ui/theme.h"
#include "ui/transition.h"

namespace vimora::ui {

namespace {
// Live hosts, the current one last.
std::vector<Host *> &hosts()
{
    static std::vector<Host *> list;
    return list;
}
} // namespace

Host::Host(QSizeF screenSize, Clock *clock)
    : m_clock(clock)
    , m_window(std::make_shared<View>(QRectF(QPointF(0, 0), screenSize)))
    , m_dispatcher([this](QPointF p) { return hitTest(p); })
    , m_overlays(std::make_unique<OverlayStack>())
{
    m_window->setBackgroundColor(Qt::black);
    m_window->m_host = this; // from here on views ask this host for repaints
    makeCurrent();
}

Host::~Host()
{
    // The derived host is gone: views must not ask it for repaints any more.
    m_window->m_host = nullptr;
    m_dispatcher.cancelAll(m_clock->now());
    auto &list = hosts();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    Clock::setCurrent(list.empty() ? nullptr : &list.back()->clock());
}

Host *Host::current()
{
    return hosts().empty() ? nullptr : hosts().back();
}

void Host::makeCurrent()
{
    auto &list = hosts();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    Clock::setCurrent(m_clock);
}

void Host::setRootView(const ViewPtr &root)
{
    if (m_root == root)
        return;
    if (m_root)
        m_root->removeFromSuperview();
    m_root = root;
    if (!root)
        return;
    root->setFrame(m_window->bounds());
    root->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
    m_window->insertSubview(root, 0);
}

void Host::setScreenSize(QSizeF size)
{
    m_window->setFrame(QRectF(QPointF(0, 0), size));
    for (const ViewPtr &layer : m_modalLayers)
        layer->setFrame(m_window->bounds());
}

void Host::presentModal(const ViewPtr &view, bool animated)
{
    if (!view)
        return;
    dismissModal(view.get());
    auto layer = std::make_shared<View>(m_window->bounds());
    layer->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
    layer->setBackgroundColor(Theme::current().style(ThemeElement::ModalDimming).brush.color());
    layer->addSubview(view);
    m_modalLayers.push_back(layer);
    if (animated) {
        layer->setHidden(true);
        m_window->addSubview(layer);
        layer->addTransition(Transition(TransitionType::Fade, TransitionSubtype::FromLeft, kModalFadeDuration));
        layer->setHidden(false);
    } else {
        m_window->addSubview(layer);
    }
}

void Host::dismissModal(const View *view, bool animated)
{
    for (auto it = m_modalLayers.begin(); it != m_modalLayers.end(); ++it) {
        if (!view || view->superview() != it->get())
            continue;
        const ViewPtr layer = *it;
        m_modalLayers.erase(it);
        if (!animated) {
            layer->removeAllSubviews();
            layer->removeFromSuperview();
            return;
        }
        // Hidden at once (no touches reach it), drawn fading out, then taken away.
        layer->addTransition(Transition(TransitionType::Fade, TransitionSubtype::FromLeft, kModalFadeDuration));
        layer->setHidden(true);
        std::weak_ptr<View> weak = layer;
        m_clock->schedule(kModalFadeDuration, [weak]() {
            if (ViewPtr l = weak.lock()) {
                l->removeAllSubviews();
                l->removeFromSuperview();
            }
        });
        return;
    }
}

void Host::sendTouches(const std::vector<TouchInput> &inputs)
{
    makeCurrent();
    m_dispatcher.dispatch(inputs, m_clock->now());
}

void Host::cancelTouches()
{
    m_dispatcher.cancelAll(m_clock->now());
}

View *Host::hitTest(QPointF windowPoint)
{
    if (!m_modalLayers.empty()) {
        // A modal layer takes every touch, whether or not it lands on its view.
        View *layer = m_modalLayers.back().get();
        View *hit = layer->hitTest(layer->fromSuperview(windowPoint));
        return hit ? hit : layer;
    }
    return m_window->hitTest(windowPoint);
}

QString Host::toolTipAt(QPointF windowPoint)
{
    for (View *view = hitTest(windowPoint); view; view = view->superview())
        if (const QString text = view->toolTip(); !text.isEmpty())
            return text;
    return {};
}

bool Host::setFocusView(View *view)
{
    View *old = focusView();
    if (old == view)
        return true;
    m_focus = view ? view->sharedFromThis() : ViewPtr();
    if (old)
        old->focusChanged(false);
    if (view)
        view->focusChanged(true);
    focusViewChanged();
    return true;
}

bool Host::pressKey(QKeyEvent *event)
{
    // With an alert up, Escape is its cancel choice and nobody else's: a screen's own Escape
    // would stack a new question over the one being asked.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && hasModal()) {
        cancelTopModal();
        return true;
    }
    for (View *v = focusView(); v; v = v->superview())
        if (v->keyPressEvent(event))
            return true;
    return handleUnclaimedKey(*event);
}

bool Host::handleUnclaimedKey(const QKeyEvent &event)
{
    const QKeyCombination pressed = event.keyCombination();
    for (const auto &[key, action] : m_keyCommands)
        if (key == pressed) {
            // A copy: the action may replace the commands.
            const auto run = action;
            run();
            return true;
        }
    if (event.key() == Qt::Key_Escape && event.modifiers() == Qt::NoModifier && !hasModal())
        return m_overlays->closeTopmost();
    return false;
}

void Host::cancelTopModal()
{
    for (const ViewPtr &view : m_modalLayers.back()->subviews()) {
        auto *alert = dynamic_cast<AlertView *>(view.get());
        if (!alert)
            continue;
        // A lone button (an "OK") is the way out too; an alert that offers no way out (work in
        // progress) stays.
        const int index = alert->cancelButtonIndex() >= 0 ? alert->cancelButtonIndex() : alert->numberOfButtons() == 1 ? 0 : -1;
        if (Button *button = index >= 0 ? alert->buttonAtIndex(index) : nullptr)
            button->sendActions(ControlEventTouchUpInside);
        return;
    }
}

void Host::setKeyCommand(QKeyCombination key, std::function<void()> action)
{
    auto it = std::find_if(m_keyCommands.begin(), m_keyCommands.end(), [&](const auto &c) { return c.first == key; });
    if (it != m_keyCommands.end())
        m_keyCommands.erase(it);
    if (action)
        m_keyCommands.emplace_back(key, std::move(action));
}

QStringList Host::droppedFiles(const QMimeData &data)
{
    QStringList paths;
    for (const QUrl &url : data.urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths << url.toLocalFile();
    return paths;
}

bool Host::acceptsDrop(const QMimeData &data) const
{
    return m_filesDropped && !droppedFiles(data).isEmpty();
}

void Host::drop(QDropEvent &event)
{
    const QMimeData *data = event.mimeData();
    if (!data || !acceptsDrop(*data)) {
        event.ignore();
        return;
    }
    event.acceptProposedAction();
    // A copy: the handler may replace itself or the host's screen.
    const FilesDropped handler = m_filesDropped;
    handler(droppedFiles(*data));
}

bool Host::scrollWheel(QPointF windowPoint, QPointF delta)
{
    for (View *v = hitTest(windowPoint); v; v = v->superview()) {
        auto *scroll = dynamic_cast<ScrollView *>(v);
        if (!scroll || !scroll->isScrollEnabled())
            continue;
        const QPointF lo = scroll->minimumContentOffset(), hi = scroll->maximumContentOffset();
        const QPointF now = scroll->contentOffset();
        const QPointF wanted(std::clamp(now.x() - delta.x(), lo.x(), std::max(lo.x(), hi.x())),
                             std::clamp(now.y() - delta.y(), lo.y(), std::max(lo.y(), hi.y())));
        if (wanted != now) {
            scroll->setContentOffset(wanted);
            return true;
        }
    }
    return false;
}

void Host::render(QPainter &painter) const
{
    const ScreenDrawing onScreen;
    m_window->renderPresentation(painter);
}

bool Host::isAnimating() const
{
    return Transition::activeCount() > 0;
}

} // namespace vimora::ui
