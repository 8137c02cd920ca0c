#include "ui/window_host.h"

#include <algorithm>
#include <cmath>
#include <set>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QMimeData>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QTouchEvent>
#include <QWheelEvent>
#include <QWidget>

namespace vimora::ui {

namespace {
// Touch ids by source, apart so that sources never collide.
constexpr int kMouseTouch = 0;
constexpr int kPinchTouchA = 1;
constexpr int kPinchTouchB = 2;
constexpr int kFirstRealTouch = 1000;
} // namespace

class WindowHost::HostWidget : public QWidget
{
public:
    explicit HostWidget(WindowHost &host)
        : m_host(host)
    {
        setAttribute(Qt::WA_AcceptTouchEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(false);
        setAcceptDrops(true);
        m_frameTimer.setSingleShot(true);
        m_frameTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_frameTimer, &QTimer::timeout, this, [this]() { update(); });
        m_pinchIdle.setSingleShot(true);
        QObject::connect(&m_pinchIdle, &QTimer::timeout, this, [this]() { endPinch(); });
        m_sinceFrame.start();
    }

    // Asks for a frame, no sooner than a frame interval after the last one.
    void requestFrame()
    {
        if (m_frameTimer.isActive())
            return;
        const double interval = 1000.0 / kMaxFramesPerSecond;
        const double since = double(m_sinceFrame.elapsed());
        m_frameTimer.start(int(std::max(0.0, interval - since)));
    }

    int frames = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        m_sinceFrame.restart();
        ++frames;
        QPainter p(this);
        const ScreenFit fit = m_host.screenFit();
        const QRectF shown = fit.screenRect();
        const QColor letterbox = m_host.window().backgroundColor();
        // Only the bars are filled: the window view is opaque and covers the rest. Rounded
        // outwards, so a bar edge never leaves a half-lit pixel column.
        const QRectF bars[] = {QRectF(0, 0, width(), shown.top()), QRectF(0, shown.bottom(), width(), height() - shown.bottom()),
                               QRectF(0, 0, shown.left(), height()), QRectF(shown.right(), 0, width() - shown.right(), height())};
        for (const QRectF &bar : bars)
            if (!bar.isEmpty())
                p.fillRect(bar.toAlignedRect(), letterbox);
        p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
        p.translate(fit.origin());
        p.scale(fit.scale(), fit.scale());
        if (shown.size() != QSizeF(size()))
            p.setClipRect(QRectF(QPointF(), fit.screen()));
        m_host.render(p);
        p.end();
        if (m_host.isAnimating())
            requestFrame();
    }

    // --- Mouse: one finger ---

    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() != Qt::LeftButton || e->source() != Qt::MouseEventNotSynthesized)
            return;
        beginMouseTouch(e->position(), 0);
    }

    void mouseDoubleClickEvent(QMouseEvent *e) override
    {
        // Qt sends this instead of the second press of a double click.
        if (e->button() != Qt::LeftButton || e->source() != Qt::MouseEventNotSynthesized)
            return;
        beginMouseTouch(e->position(), 2);
    }

    void mouseMoveEvent(QMouseEvent *e) override
    {
        if (!m_mouseDown || !(e->buttons() & Qt::LeftButton) || e->source() != Qt::MouseEventNotSynthesized)
            return;
        send({{kMouseTouch, TouchPhase::Moved, toScreen(e->position()), 0}});
    }

    void mouseReleaseEvent(QMouseEvent *e) override
    {
        if (!m_mouseDown || e->button() != Qt::LeftButton || e->source() != Qt::MouseEventNotSynthesized)
            return;
        m_mouseDown = false;
        send({{kMouseTouch, TouchPhase::Ended, toScreen(e->position()), 0}});
    }

    // --- Ctrl + wheel and touchpad pinch: two fingers about the pointer ---

    void wheelEvent(QWheelEvent *e) override
    {
        const ScreenFit fit = m_host.screenFit();
        if (!(e->modifiers() & Qt::ControlModifier)) {
            // A plain wheel scrolls: touchpads give window pixels, wheels notches.
            const QPointF delta = !e->pixelDelta().isNull() ? QPointF(e->pixelDelta()) / fit.scale()
                                                            : QPointF(e->angleDelta()) / 120.0 * kWheelScrollStep;
            if (!fit.showsScreenAt(e->position()) || !m_host.scrollWheel(fit.toScreen(e->position()), delta))
                e->ignore();
            return;
        }
        const double notches = e->angleDelta().y() / 120.0;
        if (notches == 0)
            return;
        if (!pinchBy(std::pow(kWheelPinchStep, notches), e->position()))
            return;
        m_pinchIdle.start(int(kWheelPinchIdle * 1000));
    }

    bool event(QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::NativeGesture: {
            auto *g = static_cast<QNativeGestureEvent *>(e);
            if (g->gestureType() == Qt::ZoomNativeGesture)
                pinchBy(1.0 + g->value(), g->position());
            else if (g->gestureType() == Qt::EndNativeGesture)
                endPinch();
            return true;
        }
        case QEvent::ToolTip: {
            // Qt asks when the pointer rests: the view under it names itself.
            auto *help = static_cast<QHelpEvent *>(e);
            const ScreenFit fit = m_host.screenFit();
            const QString text = fit.showsScreenAt(help->pos()) ? m_host.toolTipAt(fit.toScreen(help->pos())) : QString();
            if (text.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), text, this);
            return true;
        }
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
            touch(static_cast<QTouchEvent *>(e));
            return true;
        default:
            return QWidget::event(e);
        }
    }

    // --- Keys and text input go to the focused view, then up its superviews ---

    void keyPressEvent(QKeyEvent *e) override
    {
        // The window's own keys come first: no view has a use for them, a text field
        // with the focus included.
        const bool control = e->modifiers() & Qt::ControlModifier;
        if (e->key() == Qt::Key_F11) {
            m_host.toggleFullScreen();
            return;
        }
        if (e->key() == Qt::Key_0 && control) {
            m_host.fitToScreen();
            return;
        }
        if (m_host.pressKey(e))
            return;
        if (e->key() == Qt::Key_R && control && isTablet(m_host.m_profile)) {
            m_host.setLandscape(!m_host.m_landscape);
            return;
        }
        QWidget::keyPressEvent(e);
    }

    // --- Files dragged in from a file manager ---

    void dragEnterEvent(QDragEnterEvent *e) override
    {
        if (e->mimeData() && m_host.acceptsDrop(*e->mimeData()))
            e->acceptProposedAction();
        else
            e->ignore();
    }

    void dropEvent(QDropEvent *e) override
    {
        m_host.drop(*e);
        activateWindow();
    }

    void keyReleaseEvent(QKeyEvent *e) override
    {
        for (View *v = m_host.focusView(); v; v = v->superview())
            if (v->keyReleaseEvent(e))
                return;
        QWidget::keyReleaseEvent(e);
    }

    void inputMethodEvent(QInputMethodEvent *e) override
    {
        if (View *v = m_host.focusView())
            v->inputMethodEvent(e);
    }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override
    {
        View *v = m_host.focusView();
        if (!v)
            return QWidget::inputMethodQuery(query);
        const QVariant answer = v->inputMethodQuery(int(query));
        // The input method places its window beside the caret: in window pixels, not points.
        switch (query) {
        case Qt::ImCursorRectangle:
        case Qt::ImAnchorRectangle:
        case Qt::ImInputItemClipRectangle:
            return answer.isValid() ? QVariant(m_host.screenFit().toWindow(answer.toRectF())) : answer;
        default:
            return answer;
        }
    }

    void focusOutEvent(QFocusEvent *e) override
    {
        endPinch();
        QWidget::focusOutEvent(e);
    }

    void resizeEvent(QResizeEvent *e) override
    {
        QWidget::resizeEvent(e);
        if (m_host.m_resizedHandler)
            m_host.m_resizedHandler(size(), isFullScreen());
        requestFrame();
    }

private:
    void send(const std::vector<TouchInput> &inputs)
    {
        m_host.sendTouches(inputs);
    }

    QPointF toScreen(QPointF windowPoint) const
    {
        return m_host.screenFit().toScreen(windowPoint);
    }

    void beginMouseTouch(QPointF windowPoint, int tapCount)
    {
        const ScreenFit fit = m_host.screenFit();
        m_mouseDown = fit.showsScreenAt(windowPoint);
        if (m_mouseDown)
            send({{kMouseTouch, TouchPhase::Began, fit.toScreen(windowPoint), tapCount}});
    }

    // The fingers stay a fixed distance apart in points, about the pointer's point on screen.
    // Returns false when a pinch would start in the letterbox.
    bool pinchBy(double factor, QPointF windowPoint)
    {
        if (!m_pinching) {
            const ScreenFit fit = m_host.screenFit();
            if (!fit.showsScreenAt(windowPoint))
                return false;
            const QPointF at = fit.toScreen(windowPoint);
            m_pinching = true;
            m_pinchCentre = at;
            m_pinchHalfSpan = kWheelPinchHalfSpan;
            send({{kPinchTouchA, TouchPhase::Began, at - QPointF(m_pinchHalfSpan, 0), 0, at},
                  {kPinchTouchB, TouchPhase::Began, at + QPointF(m_pinchHalfSpan, 0), 0, at}});
        }
        m_pinchHalfSpan = std::clamp(m_pinchHalfSpan * factor, 1.0, 4000.0);
        send({{kPinchTouchA, TouchPhase::Moved, m_pinchCentre - QPointF(m_pinchHalfSpan, 0), 0},
              {kPinchTouchB, TouchPhase::Moved, m_pinchCentre + QPointF(m_pinchHalfSpan, 0), 0}});
        return true;
    }

    void endPinch()
    {
        if (!m_pinching)
            return;
        m_pinching = false;
        m_pinchIdle.stop();
        send({{kPinchTouchA, TouchPhase::Ended, m_pinchCentre - QPointF(m_pinchHalfSpan, 0), 0},
              {kPinchTouchB, TouchPhase::Ended, m_pinchCentre + QPointF(m_pinchHalfSpan, 0), 0}});
    }

    void touch(QTouchEvent *e)
    {
        const ScreenFit fit = m_host.screenFit();
        std::vector<TouchInput> inputs;
        for (const QEventPoint &point : e->points()) {
            const int id = kFirstRealTouch + point.id();
            // The widget is its own top-level window: window positions are widget positions.
            const QPointF at = point.scenePosition();
            TouchPhase phase = TouchPhase::Moved;
            switch (point.state()) {
            case QEventPoint::Pressed:
                phase = TouchPhase::Began;
                // A finger put down on the letterbox is ignored until it lifts.
                if (!fit.showsScreenAt(at))
                    continue;
                m_touchesOnScreen.insert(id);
                break;
            case QEventPoint::Released:
                phase = TouchPhase::Ended;
                break;
            case QEventPoint::Stationary:
                continue;
            default:
                break;
            }
            if (!m_touchesOnScreen.contains(id))
                continue;
            if (e->type() == QEvent::TouchCancel)
                phase = TouchPhase::Cancelled;
            if (phase == TouchPhase::Ended || phase == TouchPhase::Cancelled)
                m_touchesOnScreen.erase(id);
            inputs.push_back({id, phase, fit.toScreen(at), 0});
        }
        if (e->type() == QEvent::TouchCancel) {
            m_touchesOnScreen.clear();
            if (inputs.empty())
                m_host.cancelTouches();
        }
        if (!inputs.empty())
            send(inputs);
        e->accept();
    }

    WindowHost &m_host;
    QTimer m_frameTimer;
    QElapsedTimer m_sinceFrame;
    QTimer m_pinchIdle;
    bool m_mouseDown = false;
    std::set<int> m_touchesOnScreen;
    bool m_pinching = false;
    QPointF m_pinchCentre;
    double m_pinchHalfSpan = kWheelPinchHalfSpan;
};

WindowHost::WindowHost(DeviceProfile profile, const ViewPtr &root)
    : Host(screenSizeFor(profile), &ownedClock)
    , m_profile(profile)
    , m_widget(std::make_unique<HostWidget>(*this))
{
    m_widget->setMinimumSize(kMinimumWindowSide, kMinimumWindowSide);
    m_widget->resize(bestWindowSize());
    m_widget->setWindowTitle(QStringLiteral("Vimora"));
    if (root)
        setRootView(root);
}

WindowHost::~WindowHost()
{
    cancelTouches();
    m_widget.reset();
}

QWidget *WindowHost::widget() const
{
    return m_widget.get();
}

void WindowHost::setTitle(const QString &title)
{
    Host::setTitle(title);
    m_widget->setWindowTitle(title);
}

void WindowHost::show()
{
    makeCurrent();
    m_widget->show();
    m_widget->raise();
    m_widget->activateWindow();
    m_widget->setFocus();
}

void WindowHost::setLandscape(bool landscape)
{
    if (!isTablet(m_profile) || landscape == m_landscape)
        return;
    m_landscape = landscape;
    setScreenSize(screenSizeFor(m_profile, landscape));
    if (m_orientationHandler)
        m_orientationHandler(landscape);
}

void WindowHost::setScreenSize(QSizeF size)
{
    cancelTouches();
    Host::setScreenSize(size);
    // A turned screen takes the best fit of its own: a portrait window's factor would leave a
    // landscape screen small (and the other way round, too big for the desktop).
    if (m_widget && !m_widget->isFullScreen() && !m_widget->isMaximized())
        m_widget->resize(bestWindowSize());
    setNeedsRepaint();
}

void WindowHost::setNeedsRepaint()
{
    if (m_widget)
        m_widget->requestFrame();
}

double WindowHost::renderScale() const
{
    return m_widget ? screenFit().scale() * m_widget->devicePixelRatioF() : 1.0;
}

ScreenFit WindowHost::screenFit() const
{
    return ScreenFit(screenSize(), m_widget ? QSizeF(m_widget->size()) : screenSize());
}

QSize WindowHost::windowSize() const
{
    return m_widget ? m_widget->size() : QSize();
}

QSize WindowHost::bestWindowSize() const
{
    const QScreen *screen = m_widget ? m_widget->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return screenSize().toSize();
    QSize available = screen->availableGeometry().size();
    // The frame is known once the window manager has framed a shown window.
    const QSize frame = m_widget && m_widget->isVisible() ? m_widget->frameGeometry().size() - m_widget->size() : QSize(0, 0);
    const bool framed = frame.width() > 0 || frame.height() > 0;
    available -= framed ? frame : QSize(0, kFrameAllowance);
    return ScreenFit::bestWindowSize(screenSize(), available);
}

void WindowHost::restoreWindowSize(QSize size)
{
    const QScreen *screen = m_widget->screen() ? m_widget->screen() : QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() : screenSize().toSize();
    const bool fits = size.width() >= kMinimumWindowSide && size.height() >= kMinimumWindowSide
                      && size.width() <= available.width() && size.height() <= available.height();
    m_widget->resize(fits ? size : bestWindowSize());
}

void WindowHost::fitToScreen()
{
    if (m_widget->isFullScreen() || m_widget->isMaximized())
        m_widget->showNormal();
    m_widget->resize(bestWindowSize());
}

void WindowHost::toggleFullScreen()
{
    if (m_widget->isFullScreen())
        m_widget->showNormal();
    else
        m_widget->showFullScreen();
}

bool WindowHost::isFullScreen() const
{
    return m_widget && m_widget->isFullScreen();
}

int WindowHost::framesPainted() const
{
    return m_widget ? m_widget->frames : 0;
}

void WindowHost::focusViewChanged()
{
    if (!m_widget)
        return;
    const View *v = focusView();
    const bool text = v && v->acceptsTextInput();
    m_widget->setAttribute(Qt::WA_InputMethodEnabled, text);
    QInputMethod *im = QGuiApplication::inputMethod();
    im->reset();
    im->update(Qt::ImQueryAll);
    if (text)
        im->show();
    else
        im->hide();
}

void WindowHost::updateInputMethod(bool resetComposition)
{
    if (!m_widget || !m_widget->hasFocus())
        return;
    QInputMethod *im = QGuiApplication::inputMethod();
    if (resetComposition)
        im->reset();
    im->update(Qt::ImQueryInput | Qt::ImCursorRectangle | Qt::ImHints | Qt::ImEnabled);
}

} // namespace vimora::ui
