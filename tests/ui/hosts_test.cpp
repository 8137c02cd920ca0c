// Hosts, device profiles, clocks, timers and posted work.

#include <thread>
#include <vector>

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTouchEvent>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/device_profile.h"
#include "ui/headless_host.h"
#include "ui/pinch_recognizer.h"
#include "ui/screen_fit.h"
#include "ui/text_field.h"
#include "ui/timer.h"
#include "ui/window_host.h"

using namespace vimora::ui;

// --- Device profiles ---

TEST(DeviceProfile, ScreenSizesAndNames)
{
    EXPECT_EQ(screenSizeFor(DeviceProfile::Tablet), QSizeF(768, 1024));
    EXPECT_EQ(screenSizeFor(DeviceProfile::Tablet, true), QSizeF(1024, 768));
    EXPECT_EQ(screenSizeFor(DeviceProfile::Phone568), QSizeF(320, 568));
    EXPECT_EQ(screenSizeFor(DeviceProfile::Phone480), QSizeF(320, 480));
    for (DeviceProfile p : {DeviceProfile::Tablet, DeviceProfile::Phone568, DeviceProfile::Phone480})
        EXPECT_EQ(deviceProfileNamed(deviceProfileName(p)), p);
    EXPECT_FALSE(deviceProfileNamed(QStringLiteral("watch")).has_value());
}

// --- Window host ---

TEST(WindowHost, ScreenKeepsItsSizeInPointsAndOnlyTabletsTurn)
{
    auto root = std::make_shared<View>();
    WindowHost tablet(DeviceProfile::Tablet, root);
    tablet.widget()->resize(384, 512);
    std::vector<bool> turns;
    tablet.setOrientationHandler([&](bool landscape) { turns.push_back(landscape); });

    tablet.setLandscape(true);
    WindowHost phone(DeviceProfile::Phone568);
    phone.setLandscape(true);

    EXPECT_EQ(root->frame(), QRectF(0, 0, 1024, 768));
    // The turned screen's best fit, not the portrait window's factor.
    EXPECT_EQ(tablet.widget()->size(), tablet.bestWindowSize());
    EXPECT_NEAR(double(tablet.widget()->width()) / tablet.widget()->height(), 1024.0 / 768, 0.01);
    EXPECT_EQ(turns, std::vector<bool>{true});
    EXPECT_EQ(phone.screenSize(), QSizeF(320, 568));
    EXPECT_FALSE(phone.isLandscape());
}

TEST(ScreenFit, BestWindowShowsTheWholeScreenAtUpToOnePixelPerPoint)
{
    const QSizeF tablet(768, 1024);

    // A 1366 x 768 laptop less a title bar, a tall desktop, a tiny and an unknown screen.
    EXPECT_EQ(ScreenFit::bestWindowSize(tablet, QSize(1366, 728)), QSize(546, 728));
    EXPECT_EQ(ScreenFit::bestWindowSize(tablet, QSize(2560, 1400)), QSize(768, 1024));
    EXPECT_EQ(ScreenFit::bestWindowSize(tablet, QSize(1, 1)), QSize(1, 1));
    EXPECT_EQ(ScreenFit::bestWindowSize(tablet, QSize()), QSize(768, 1024));
    const ScreenFit empty(tablet, QSizeF(0, 0));
    EXPECT_DOUBLE_EQ(empty.scale(), 1);
}

namespace {
// A phone window of the given size, its root recording where its touches land.
struct ScaledPhone
{
    explicit ScaledPhone(QSize window)
        : host(DeviceProfile::Phone480, root)
    {
        host.widget()->resize(window);
        root->setTouchHandler([this](TouchPhase phase, const TouchSet &touches) {
            for (const TouchPtr &t : touches)
                landed.push_back({phase, t->locationInView(root.get())});
        });
    }
    void mouse(QEvent::Type type, QPointF at)
    {
        QMouseEvent e(type, at, host.widget()->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(host.widget(), &e);
    }
    void click(QPointF at)
    {
        mouse(QEvent::MouseButtonPress, at);
        mouse(QEvent::MouseButtonRelease, at);
    }

    ViewPtr root = std::make_shared<View>();
    WindowHost host;
    std::vector<std::pair<TouchPhase, QPointF>> landed;
};
} // namespace

TEST(WindowHost, AClickLandsOnThePointItShowsAtAnyScaleAndLetterbox)
{
    struct Case
    {
        QSize window;
        double scale;
        QPointF origin; // where the screen's top-left is drawn
    };
    // The phone is 320 x 480 points: bars at the sides, then above and below.
    const Case cases[] = {{{292, 288}, 0.6, {50, 0}},   {{192, 388}, 0.6, {0, 50}}, {{420, 480}, 1, {50, 0}},
                          {{320, 580}, 1, {0, 50}},     {{740, 960}, 2, {50, 0}},   {{640, 1060}, 2, {0, 50}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.window.width() << "x" << c.window.height());
        ScaledPhone phone(c.window);
        auto button = std::make_shared<Button>(QRectF(200, 400, 100, 60));
        phone.root->addSubview(button);
        int upInside = 0;
        button->addAction(ControlEventTouchUpInside, [&](Control &) { ++upInside; });

        phone.click(c.origin + QPointF(100, 200) * c.scale);
        phone.click(c.origin + QPointF(250, 430) * c.scale);

        EXPECT_DOUBLE_EQ(phone.host.screenFit().scale(), c.scale);
        EXPECT_DOUBLE_EQ(phone.host.renderScale(), c.scale * phone.host.widget()->devicePixelRatioF());
        ASSERT_EQ(phone.landed.size(), 2u);
        EXPECT_NEAR(phone.landed[0].second.x(), 100, 1e-9);
        EXPECT_NEAR(phone.landed[0].second.y(), 200, 1e-9);
        EXPECT_EQ(upInside, 1);
    }
}

TEST(WindowHost, TheLetterboxTakesNoTouches)
{
    ScaledPhone phone(QSize(420, 480)); // bars 50 pixels wide left and right
    auto finger = [&](QEvent::Type type, std::vector<std::pair<int, QPointF>> points, QEventPoint::State state) {
        static QPointingDevice screen(QStringLiteral("test touch screen"), 7, QInputDevice::DeviceType::TouchScreen,
                                      QPointingDevice::PointerType::Finger, QInputDevice::Capability::Position, 10, 0);
        QList<QEventPoint> list;
        for (auto [id, at] : points)
            list.append(QEventPoint(id, state, at, phone.host.widget()->mapToGlobal(at)));
        QTouchEvent e(type, &screen, Qt::NoModifier, list);
        QApplication::sendEvent(phone.host.widget(), &e);
    };

    // A drag and a click that start on a bar and cross onto the screen.
    phone.mouse(QEvent::MouseButtonPress, QPointF(20, 100));
    phone.mouse(QEvent::MouseMove, QPointF(200, 100));
    phone.mouse(QEvent::MouseButtonRelease, QPointF(200, 100));
    // One finger on the right bar, one on the screen.
    finger(QEvent::TouchBegin, {{1, QPointF(400, 100)}, {2, QPointF(150, 100)}}, QEventPoint::Pressed);
    finger(QEvent::TouchUpdate, {{1, QPointF(300, 110)}, {2, QPointF(160, 110)}}, QEventPoint::Updated);
    finger(QEvent::TouchEnd, {{1, QPointF(300, 110)}, {2, QPointF(160, 110)}}, QEventPoint::Released);
    // A Ctrl + wheel pinch over a bar.
    QWheelEvent wheel(QPointF(10, 10), phone.host.widget()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(phone.host.widget(), &wheel);

    const std::vector<std::pair<TouchPhase, QPointF>> onlyTheScreenFinger = {
        {TouchPhase::Began, {100, 100}}, {TouchPhase::Moved, {110, 110}}, {TouchPhase::Ended, {110, 110}}};
    EXPECT_EQ(phone.landed, onlyTheScreenFinger);
}

TEST(WindowHost, APinchIsCentredOnThePointUnderThePointer)
{
    std::vector<QPointF> centres;
    ScaledPhone phone(QSize(740, 960)); // 2 pixels per point, bars 50 pixels wide
    auto target = std::make_shared<View>(QRectF(100, 100, 50, 50));
    phone.root->addSubview(target);
    target->addGestureRecognizer(std::make_shared<PinchRecognizer>(
        [&](PinchRecognizer &r) { centres.push_back(r.locationInView(phone.root.get())); }));
    const QPointF at = QPointF(50, 0) + QPointF(125, 120) * 2;

    QWheelEvent e(at, phone.host.widget()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(phone.host.widget(), &e);
    QFocusEvent focusOut(QEvent::FocusOut);
    QApplication::sendEvent(phone.host.widget(), &focusOut); // ends the pinch

    ASSERT_FALSE(centres.empty());
    EXPECT_NEAR(centres.front().x(), 125, 1e-9);
    EXPECT_NEAR(centres.front().y(), 120, 1e-9);
}

TEST(WindowHost, DrawsTheScreenScaledBetweenBarsOfTheBackgroundColour)
{
    ScaledPhone phone(QSize(740, 960)); // 2 pixels per point, bars 50 pixels wide
    phone.root->setBackgroundColor(Qt::green);
    phone.root->addSubview(std::make_shared<View>(QRectF(310, 470, 10, 10)));
    phone.root->subviews().back()->setBackgroundColor(Qt::blue);

    const QImage shot = phone.host.widget()->grab().toImage();

    EXPECT_EQ(shot.pixel(49, 480), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(50, 0), qRgb(0, 255, 0));
    EXPECT_EQ(shot.pixel(689, 959), qRgb(0, 0, 255)); // the last point's last pixel
    EXPECT_EQ(shot.pixel(669, 939), qRgb(0, 255, 0));
    EXPECT_EQ(shot.pixel(690, 959), qRgb(0, 0, 0));
}

TEST(WindowHost, KeysReturnToTheBestFitAndToggleFullScreen)
{
    auto root = std::make_shared<View>();
    WindowHost host(DeviceProfile::Tablet, root);
    host.show();
    auto field = std::make_shared<TextField>(QRectF(10, 10, 200, 40));
    root->addSubview(field);
    field->becomeFirstResponder(); // takes every key it can
    auto key = [&](int code, Qt::KeyboardModifiers modifiers, const QString &text = {}) {
        QKeyEvent e(QEvent::KeyPress, code, modifiers, text);
        QApplication::sendEvent(host.widget(), &e);
    };
    host.widget()->resize(200, 900);

    key(Qt::Key_0, Qt::ControlModifier, QStringLiteral("0"));
    const QSize fitted = host.windowSize();
    key(Qt::Key_F11, Qt::NoModifier);
    const bool full = host.isFullScreen();
    key(Qt::Key_F11, Qt::NoModifier);

    EXPECT_EQ(fitted, host.bestWindowSize());
    EXPECT_TRUE(full);
    EXPECT_FALSE(host.isFullScreen());
    EXPECT_TRUE(field->text().isEmpty());
}

TEST(WindowHost, ARememberedSizeIsKeptOnlyWhereItFits)
{
    WindowHost host(DeviceProfile::Phone480);
    const QSize best = host.bestWindowSize();

    host.restoreWindowSize(QSize(200, 250));
    const QSize kept = host.windowSize();
    host.restoreWindowSize(QSize(100000, 100000));
    const QSize tooLarge = host.windowSize();
    host.restoreWindowSize(QSize());

    // The first window leaves room for a title bar within the screen's free area.
    const QSize available = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_EQ(WindowHost(DeviceProfile::Tablet).windowSize(),
              ScreenFit::bestWindowSize(QSizeF(768, 1024), available - QSize(0, WindowHost::kFrameAllowance)));
    EXPECT_EQ(kept, QSize(200, 250));
    EXPECT_EQ(tooLarge, best);
    EXPECT_EQ(host.windowSize(), best);
}

TEST(WindowHost, TheNewestHostIsCurrentUntilItGoes)
{
    HeadlessHost first(QSizeF(100, 100));
    Host *whileSecondLives = nullptr;
    {
        WindowHost second(DeviceProfile::Phone480);
        whileSecondLives = Host::current();
        EXPECT_EQ(&Clock::current(), &second.clock());
    }

    EXPECT_NE(whileSecondLives, &first);
    EXPECT_EQ(Host::current(), &first);
    EXPECT_EQ(&Clock::current(), &first.clock());
}

TEST(WindowHost, MouseIsOneFingerAndADoubleClickATapCountOfTwo)
{
    auto root = std::make_shared<View>();
    WindowHost host(DeviceProfile::Phone480, root);
    auto button = std::make_shared<Button>(QRectF(10, 10, 100, 40));
    root->addSubview(button);
    std::vector<int> tapCounts;
    int upInside = 0;
    button->addAction(ControlEventTouchUpInside, [&](Control &) { ++upInside; });
    root->setTouchHandler([&](TouchPhase phase, const TouchSet &t) {
        if (phase == TouchPhase::Began)
            tapCounts.push_back(t.front()->tapCount);
    });
    auto mouse = [&](QEvent::Type type, QPointF at) {
        QMouseEvent e(type, at, host.widget()->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(host.widget(), &e);
    };

    mouse(QEvent::MouseButtonPress, QPointF(20, 20));
    const bool highlighted = button->isHighlighted();
    mouse(QEvent::MouseMove, QPointF(30, 25));
    mouse(QEvent::MouseButtonRelease, QPointF(30, 25));
    mouse(QEvent::MouseButtonPress, QPointF(200, 300));
    mouse(QEvent::MouseButtonRelease, QPointF(200, 300));
    mouse(QEvent::MouseButtonDblClick, QPointF(200, 300));
    mouse(QEvent::MouseButtonRelease, QPointF(200, 300));

    EXPECT_TRUE(highlighted);
    EXPECT_EQ(upInside, 1);
    EXPECT_EQ(tapCounts, (std::vector<int>{1, 2}));
}

TEST(WindowHost, ControlWheelPinchesTheViewUnderThePointer)
{
    auto root = std::make_shared<View>();
    WindowHost host(DeviceProfile::Tablet, root);
    host.widget()->resize(768, 1024);
    // Two small views side by side: both simulated fingers must go to the one pointed at.
    auto left = std::make_shared<View>(QRectF(100, 100, 50, 50)), right = std::make_shared<View>(QRectF(150, 100, 50, 50));
    root->addSubview(left);
    root->addSubview(right);
    std::vector<double> scales;
    left->addGestureRecognizer(std::make_shared<PinchRecognizer>([&](PinchRecognizer &r) { scales.push_back(r.scale()); }));
    auto wheel = [&](int notches) {
        const QPointF at(125, 125);
        QWheelEvent e(at, host.widget()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(host.widget(), &e);
    };

    wheel(1);
    wheel(1);
    QFocusEvent focusOut(QEvent::FocusOut);
    QApplication::sendEvent(host.widget(), &focusOut); // ends the pinch at once

    ASSERT_EQ(scales.size(), 3u); // began, changed, ended
    EXPECT_NEAR(scales[0], WindowHost::kWheelPinchStep, 1e-9);
    EXPECT_NEAR(scales[1], WindowHost::kWheelPinchStep * WindowHost::kWheelPinchStep, 1e-9);
}

// --- Headless host ---

TEST(HeadlessHost, AsksForARepaintOnlyWhenSomethingChanged)
{
    HeadlessHost host(QSizeF(100, 100));
    auto root = std::make_shared<View>();
    host.setRootView(root);
    auto button = std::make_shared<Button>(QRectF(10, 10, 50, 30));
    root->addSubview(button);
    auto offScreen = std::make_shared<View>();
    host.resetRepaintRequests();

    offScreen->setAlpha(0.5);
    button->setCenter(button->center());
    const int unchanged = host.repaintRequests();
    host.touchDown(QPointF(20, 20));
    const int afterPress = host.repaintRequests();

    EXPECT_EQ(unchanged, 0);
    EXPECT_GT(afterPress, 0); // the button highlighted
}

TEST(HeadlessHost, RenderShowsTheScreenAtItsScale)
{
    HeadlessHost host(QSizeF(3, 2), 2.0);
    auto root = std::make_shared<View>();
    root->setBackgroundColor(Qt::green);
    host.setRootView(root);

    const QImage image = host.render();

    EXPECT_EQ(image.size(), QSize(6, 4));
    EXPECT_EQ(image.pixel(5, 3), 0xff00ff00u);
}

TEST(HeadlessHost, RotatingResizesTheRootAndItsAutoresizedChildren)
{
    HeadlessHost host(QSizeF(768, 1024));
    auto root = std::make_shared<View>();
    host.setRootView(root);
    auto bar = std::make_shared<View>(QRectF(0, 959, 768, 65));
    bar->setAutoresizingMask(FlexibleWidth | FlexibleTopMargin);
    root->addSubview(bar);

    host.setScreenSize(QSizeF(1024, 768));

    EXPECT_EQ(root->frame(), QRectF(0, 0, 1024, 768));
    EXPECT_EQ(bar->frame(), QRectF(0, 703, 1024, 65));
}

// --- Clocks and timers ---

TEST(VirtualClock, RunsCallsInTimeOrderAtTheirDueTime)
{
    VirtualClock clock;
    std::vector<std::pair<int, double>> runs;
    clock.schedule(0.3, [&] { runs.push_back({3, clock.now()}); });
    clock.schedule(0.1, [&] {
        runs.push_back({1, clock.now()});
        clock.schedule(0.1, [&] { runs.push_back({2, clock.now()}); });
    });
    const TimerId cancelled = clock.schedule(0.2, [&] { runs.push_back({99, clock.now()}); });
    clock.cancel(cancelled);

    clock.advance(1);

    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0], std::make_pair(1, 0.1));
    EXPECT_EQ(runs[1].first, 2);
    EXPECT_NEAR(runs[1].second, 0.2, 1e-12);
    EXPECT_EQ(runs[2], std::make_pair(3, 0.3));
    EXPECT_EQ(clock.now(), 1);
}

TEST(Timer, OneShotRepeatingAndInvalidated)
{
    HeadlessHost host(QSizeF(10, 10));
    int once = 0, repeats = 0, stopped = 0;
    auto oneShot = Timer::scheduled(0.5, false, [&] { ++once; });
    auto repeating = Timer::scheduled(0.25, true, [&] { ++repeats; });
    auto invalidated = Timer::scheduled(0.1, true, [&] { ++stopped; });
    invalidated->invalidate();

    host.advance(1.1);
    repeating->invalidate();
    host.advance(1);

    EXPECT_EQ(once, 1);
    EXPECT_FALSE(oneShot->isValid());
    EXPECT_EQ(repeats, 4);
    EXPECT_EQ(stopped, 0);
}

TEST(Timer, ARepeatingTimerCanStopItselfAndAnUnheldTimerStillFires)
{
    HeadlessHost host(QSizeF(10, 10));
    int ticks = 0, fired = 0;
    Timer::scheduled(0.1, true, [&](Timer &t) {
        if (++ticks == 3)
            t.invalidate();
    });
    Timer::scheduled(0.5, false, [&] { ++fired; });

    host.advance(2);

    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(fired, 1);
}

TEST(PostToMainThread, RunsAfterTheCurrentWorkAndFromOtherThreads)
{
    HeadlessHost host(QSizeF(10, 10));
    std::vector<int> order;
    postToMainThread([&] { order.push_back(2); });
    order.push_back(1);
    std::thread worker([&] { postToMainThread([&] { order.push_back(3); }); });
    worker.join();

    host.runPending();

    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}
