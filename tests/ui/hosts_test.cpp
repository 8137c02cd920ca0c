// Hosts, device profiles, clocks, timers and posted work.

#include <thread>
#include <vector>

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/device_profile.h"
#include "ui/headless_host.h"
#include "ui/pinch_recognizer.h"
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

TEST(DeviceProfile, ReadFromTheCommandLine)
{
    EXPECT_EQ(deviceProfileFromArguments({"vimora", "--device", "phone-568"}), DeviceProfile::Phone568);
    EXPECT_EQ(deviceProfileFromArguments({"vimora", "--device=phone-480"}), DeviceProfile::Phone480);
    EXPECT_EQ(deviceProfileFromArguments({"vimora", "--device", "toaster"}, DeviceProfile::Phone480),
              DeviceProfile::Phone480);
    EXPECT_EQ(deviceProfileFromArguments({"vimora", "--device"}), DeviceProfile::Tablet);
}

// --- Window host ---

TEST(WindowHost, WindowHasTheProfilesScreenSizeAndOnlyTabletsTurn)
{
    auto root = std::make_shared<View>();
    WindowHost tablet(DeviceProfile::Tablet, root);
    std::vector<bool> turns;
    tablet.setOrientationHandler([&](bool landscape) { turns.push_back(landscape); });

    tablet.setLandscape(true);
    WindowHost phone(DeviceProfile::Phone568);
    phone.setLandscape(true);

    EXPECT_EQ(tablet.widget()->size(), QSize(1024, 768));
    EXPECT_EQ(root->frame(), QRectF(0, 0, 1024, 768));
    EXPECT_EQ(turns, std::vector<bool>{true});
    EXPECT_EQ(phone.widget()->size(), QSize(320, 568));
    EXPECT_FALSE(phone.isLandscape());
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
