#include "ui/window_host.h"

#include <algorithm>
#include <cmath>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QTimer>
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
        p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
        m_host.render(p); // the window view is opaque black: no clearing needed
        p.end();
        if (m_host.isAnimating())
            requestFrame();
    }

    // --- Mouse: one finger ---

    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() != Qt::LeftButton || e->source() != Qt::MouseEventNotSynthesized)
            return;
        send({{kMouseTouch, TouchPhase::Began, e->position(), 0}});
    }

    void mouseDoubleClickEvent(QMouseEvent *e) override
    {
        // Qt sends this instead of the second press of a double click.
        if (e->button() != Qt::LeftButton || e->source() != Qt::MouseEventNotSynthesized)
            return;
        send({{kMouseTouch, TouchPhase::Began, e->position(), 2}});
    }

    void mouseMoveEvent(QMouseEvent *e) override
    {
        if (!(e->buttons() & Qt::LeftButton) || e->source() != Qt::MouseEventNotSynthesized)
            return;
        send({{kMouseTouch, TouchPhase::Moved, e->position(), 0}});
    }

    void mouseReleaseEvent(QMouseEvent *e) override
    {
        if (e->button() != Qt::LeftButton || e->source() != Qt::MouseEventNotSynthesized)
            return;
        send({{kMouseTouch, TouchPhase::Ended, e->position(), 0}});
    }

    // --- Ctrl + wheel and touchpad pinch: two fingers about the pointer ---

    void wheelEvent(QWheelEvent *e) override
    {
        if (!(e->modifiers() & Qt::ControlModifier)) {
            // A plain wheel scrolls: touchpads give points, wheels notches.
            const QPointF delta = !e->pixelDelta().isNull() ? QPointF(e->pixelDelta())
                                                            : QPointF(e->angleDelta()) / 120.0 * kWheelScrollStep;
            if (!m_host.scrollWheel(e->position(), delta))
                e->ignore();
            return;
        }
        const double notches = e->angleDelta().y() / 120.0;
        if (notches == 0)
            return;
        pinchBy(std::pow(kWheelPinchStep, notches), e->position());
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
        for (View *v = m_host.focusView(); v; v = v->superview())
            if (v->keyPressEvent(e))
                return;
        if (m_host.handleUnclaimedKey(*e))
            return;
        if (e->key() == Qt::Key_R && (e->modifiers() & Qt::ControlModifier) && isTablet(m_host.m_profile)) {
            m_host.setLandscape(!m_host.m_landscape);
            return;
        }
        QWidget::keyPressEvent(e);
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
        if (View *v = m_host.focusView())
            return v->inputMethodQuery(int(query));
        return QWidget::inputMethodQuery(query);
    }

    void focusOutEvent(QFocusEvent *e) override
    {
        endPinch();
        QWidget::focusOutEvent(e);
    }

private:
    void send(const std::vector<TouchInput> &inputs)
    {
        m_host.sendTouches(inputs);
    }

    void pinchBy(double factor, QPointF at)
    {
        if (!m_pinching) {
            m_pinching = true;
            m_pinchCentre = at;
            m_pinchHalfSpan = kWheelPinchHalfSpan;
            send({{kPinchTouchA, TouchPhase::Began, at - QPointF(m_pinchHalfSpan, 0), 0, at},
                  {kPinchTouchB, TouchPhase::Began, at + QPointF(m_pinchHalfSpan, 0), 0, at}});
        }
        m_pinchHalfSpan = std::clamp(m_pinchHalfSpan * factor, 1.0, 4000.0);
        send({{kPinchTouchA, TouchPhase::Moved, m_pinchCentre - QPointF(m_pinchHalfSpan, 0), 0},
              {kPinchTouchB, TouchPhase::Moved, m_pinchCentre + QPointF(m_pinchHalfSpan, 0), 0}});
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
        std::vector<TouchInput> inputs;
        for (const QEventPoint &point : e->points()) {
            TouchPhase phase = TouchPhase::Moved;
            switch (point.state()) {
            case QEventPoint::Pressed:
                phase = TouchPhase::Began;
                break;
            case QEventPoint::Released:
                phase = TouchPhase::Ended;
                break;
            case QEventPoint::Stationary:
                continue;
            default:
                break;
            }
            if (e->type() == QEvent::TouchCancel)
                phase = TouchPhase::Cancelled;
            inputs.push_back({kFirstRealTouch + point.id(), phase, point.position(), 0});
        }
        if (e->type() == QEvent::TouchCancel && inputs.empty())
            m_host.cancelTouches();
        else if (!inputs.empty())
            send(inputs);
        e->accept();
    }

    WindowHost &m_host;
    QTimer m_frameTimer;
    QElapsedTimer m_sinceFrame;
    QTimer m_pinchIdle;
    bool m_pinching = false;
    QPointF m_pinchCentre;
    double m_pinchHalfSpan = kWheelPinchHalfSpan;
};

WindowHost::WindowHost(DeviceProfile profile, const ViewPtr &root)
    : Host(screenSizeFor(profile), &ownedClock)
    , m_profile(profile)
    , m_widget(std::make_unique<HostWidget>(*this))
{
    const QSizeF size = screenSizeFor(profile);
    m_widget->setFixedSize(size.toSize());
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
    if (m_widget)
        m_widget->setFixedSize(size.toSize());
    setNeedsRepaint();
}

void WindowHost::setNeedsRepaint()
{
    if (m_widget)
        m_widget->requestFrame();
}

double WindowHost::renderScale() const
{
    return m_widget ? m_widget->devicePixelRatioF() : 1.0;
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
