// Recognisers and touch dispatch, driven through the headless host and its virtual clock.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/headless_host.h"
#include "ui/long_press_recognizer.h"
#include "ui/pan_recognizer.h"
#include "ui/pinch_recognizer.h"
#include "ui/tap_recognizer.h"

using namespace vimora::ui;
using State = GestureRecognizer::State;

namespace {

// A screen of 400 × 400 with one 100 × 100 view centred at (100, 100).
struct Screen
{
    HeadlessHost host{QSizeF(400, 400)};
    ViewPtr root = std::make_shared<View>();
    ViewPtr target = std::make_shared<View>();

    Screen()
    {
        host.setRootView(root);
        target->setBounds(QRectF(0, 0, 100, 100));
        target->setCenter(QPointF(100, 100));
        root->addSubview(target);
    }
};

// Records raw touch phases a view receives, as a string: B, M, E, C.
std::string *recordTouches(View &view)
{
    auto log = std::make_shared<std::string>();
    view.setTouchHandler([log](TouchPhase phase, const TouchSet &touches) {
        for (size_t i = 0; i < touches.size(); ++i)
            *log += phase == TouchPhase::Began ? 'B' : phase == TouchPhase::Moved ? 'M' : phase == TouchPhase::Ended ? 'E' : 'C';
    });
    static std::vector<std::shared_ptr<std::string>> keep;
    keep.push_back(log);
    return log.get();
}

} // namespace

// --- Pan ---

TEST(Pan, WorkedExampleBeginsAfterTenPointsAndKeepsTheGrabbedPointUnderTheFinger)
{
    Screen s;
    std::vector<State> states;
    std::vector<QPointF> translations;
    QPointF start;
    auto pan = std::make_shared<PanRecognizer>([&](PanRecognizer &r) {
        states.push_back(r.state());
        if (r.state() == State::Began)
            start = r.view()->center();
        const QPointF t = r.translationInView(r.view()->superview());
        translations.push_back(t);
        r.view()->setCenter(start + t);
    });
    s.target->addGestureRecognizer(pan);

    s.host.touchDown(QPointF(50, 50));
    s.host.touchMove(QPointF(53, 52));
    const size_t callsBeforeThreshold = states.size();
    s.host.touchMove(QPointF(58, 56));
    const QPointF centreAtBegan = s.target->center();
    s.host.touchMove(QPointF(70, 50));
    s.host.touchUp(QPointF(70, 50));

    EXPECT_EQ(callsBeforeThreshold, 0u);
    EXPECT_EQ(states, (std::vector<State>{State::Began, State::Changed, State::Ended}));
    EXPECT_EQ(translations[0], QPointF(8, 6));
    EXPECT_EQ(centreAtBegan, QPointF(108, 106));
    EXPECT_EQ(translations[1], QPointF(20, 0));
    EXPECT_EQ(s.target->center(), QPointF(120, 100));
    EXPECT_EQ(pan->state(), State::Possible); // reset once every finger is up
}

TEST(Pan, TranslationIsMeasuredInTheGivenViewsCoordinates)
{
    Screen s;
    s.target->setTransform(AffineTransform::makeScale(2, 2));
    auto pan = std::make_shared<PanRecognizer>();
    s.target->addGestureRecognizer(pan);
    QPointF inTarget, inWindow;
    pan->addAction([&](GestureRecognizer &) {
        inTarget = pan->translationInView(s.target.get());
        inWindow = pan->translationInView(nullptr);
    });

    s.host.touchDown(QPointF(100, 100));
    s.host.touchMove(QPointF(140, 100));

    EXPECT_EQ(inWindow, QPointF(40, 0));
    EXPECT_EQ(inTarget, QPointF(20, 0));
}

TEST(Pan, SetTranslationRebasesTheStart)
{
    Screen s;
    auto pan = std::make_shared<PanRecognizer>();
    s.target->addGestureRecognizer(pan);

    s.host.touchDown(QPointF(100, 100));
    s.host.touchMove(QPointF(130, 100));
    pan->setTranslation(QPointF(0, 0), nullptr);
    s.host.touchMove(QPointF(135, 90));

    EXPECT_EQ(pan->translationInView(nullptr), QPointF(5, -10));
}

TEST(Pan, FingerCountLimits)
{
    Screen s;
    auto twoFinger = std::make_shared<PanRecognizer>();
    twoFinger->setMinimumNumberOfTouches(2);
    s.target->addGestureRecognizer(twoFinger);

    s.host.drag(QPointF(100, 100), QPointF(140, 140));
    const State oneFingerOnTwoFingerPan = twoFinger->state();
    s.target->removeGestureRecognizer(twoFinger.get());
    auto oneFinger = std::make_shared<PanRecognizer>();
    oneFinger->setMaximumNumberOfTouches(1);
    std::vector<State> states;
    oneFinger->addAction([&](GestureRecognizer &r) { states.push_back(r.state()); });
    s.target->addGestureRecognizer(oneFinger);
    s.host.sendTouches({{1, TouchPhase::Began, QPointF(90, 90)}, {2, TouchPhase::Began, QPointF(110, 110)}});
    s.host.sendTouches({{1, TouchPhase::Moved, QPointF(130, 90)}, {2, TouchPhase::Moved, QPointF(150, 110)}});
    const State twoFingersOnOneFingerPan = oneFinger->state();

    EXPECT_EQ(oneFingerOnTwoFingerPan, State::Possible);
    EXPECT_EQ(twoFingersOnOneFingerPan, State::Failed);
    EXPECT_TRUE(states.empty());
}

// --- Pinch ---

TEST(Pinch, ScaleIsCumulativeSoTheStepHandlerCompoundsItsFactors)
{
    Screen s;
    double lastScale = 1;
    std::vector<State> states;
    std::vector<double> scales;
    auto pinch = std::make_shared<PinchRecognizer>([&](PinchRecognizer &r) {
        states.push_back(r.state());
        if (r.state() == State::Ended) {
            lastScale = 1;
            return;
        }
        scales.push_back(r.scale());
        const double f = 1 - (lastScale - r.scale());
        r.view()->setTransform(scaled(r.view()->transform(), f, f));
        lastScale = r.scale();
    });
    s.target->addGestureRecognizer(pinch);

    s.host.pinch(QPointF(100, 100), 40, {1.10, 1.25, 1.20});

    EXPECT_EQ(states, (std::vector<State>{State::Began, State::Changed, State::Changed, State::Ended}));
    ASSERT_EQ(scales.size(), 3u);
    EXPECT_NEAR(scales[0], 1.10, 1e-12);
    EXPECT_NEAR(scales[1], 1.25, 1e-12);
    EXPECT_NEAR(scales[2], 1.20, 1e-12);
    EXPECT_NEAR(s.target->transform().a, 1.10 * 1.15 * 0.95, 1e-12);
    EXPECT_NEAR(s.target->transform().d, 1.20175, 1e-12);
}

TEST(Pinch, ASecondPinchStartsAgainFromOne)
{
    Screen s;
    std::vector<double> firstScales;
    auto pinch = std::make_shared<PinchRecognizer>([&](PinchRecognizer &r) {
        if (r.state() == State::Began)
            firstScales.push_back(r.scale());
    });
    s.target->addGestureRecognizer(pinch);

    s.host.pinch(QPointF(100, 100), 40, {2.0, 3.0});
    s.host.advance(0.5);
    s.host.pinch(QPointF(100, 100), 40, {0.5});

    EXPECT_EQ(firstScales, (std::vector<double>{2.0, 0.5}));
}

TEST(Pinch, EndsAsSoonAsOneFingerLifts)
{
    Screen s;
    auto pinch = std::make_shared<PinchRecognizer>();
    s.target->addGestureRecognizer(pinch);
    std::vector<State> states;
    pinch->addAction([&](GestureRecognizer &r) { states.push_back(r.state()); });

    s.host.sendTouches({{1, TouchPhase::Began, QPointF(80, 100)}, {2, TouchPhase::Began, QPointF(120, 100)}});
    s.host.sendTouches({{1, TouchPhase::Moved, QPointF(70, 100)}, {2, TouchPhase::Moved, QPointF(130, 100)}});
    s.host.sendTouches({{1, TouchPhase::Ended, QPointF(70, 100)}});

    EXPECT_EQ(states, (std::vector<State>{State::Began, State::Ended}));
}

// --- Tap ---

TEST(Tap, RecognisesOnLiftWithTheLocationInTheView)
{
    Screen s;
    int calls = 0;
    QPointF location;
    auto tap = std::make_shared<TapRecognizer>([&](TapRecognizer &r) {
        ++calls;
        EXPECT_EQ(r.state(), GestureRecognizer::Recognized);
        location = r.locationInView(r.view());
    });
    s.target->addGestureRecognizer(tap);

    s.host.touchDown(QPointF(130, 70));
    const int callsWhileDown = calls;
    s.host.touchMove(QPointF(132, 72));
    s.host.touchUp(QPointF(132, 72));

    EXPECT_EQ(callsWhileDown, 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(location, QPointF(82, 22));
}

TEST(Tap, FailsOnALongMoveOrALongPress)
{
    Screen s;
    int calls = 0;
    auto tap = std::make_shared<TapRecognizer>([&](TapRecognizer &) { ++calls; });
    s.target->addGestureRecognizer(tap);

    s.host.touchDown(QPointF(100, 100));
    s.host.touchMove(QPointF(100 + TapRecognizer::kTapSlop + 1, 100));
    s.host.touchUp(QPointF(100, 100));
    s.host.advance(1);
    s.host.press(QPointF(100, 100), TapRecognizer::kTapMaxPress + 0.01);

    EXPECT_EQ(calls, 0);
}

TEST(Tap, DoubleTapHoldsTheViewsFirstEndThenCancelsBoth)
{
    Screen s;
    std::string *log = recordTouches(*s.target);
    int calls = 0;
    auto doubleTap = std::make_shared<TapRecognizer>([&](TapRecognizer &) { ++calls; });
    doubleTap->setNumberOfTapsRequired(2);
    s.target->addGestureRecognizer(doubleTap);

    s.host.tap(QPointF(100, 100), 2);

    EXPECT_EQ(calls, 1);
    EXPECT_EQ(*log, "BBCC");
}

TEST(Tap, ALoneTapUnderADoubleTapRecogniserReachesTheViewWhenTheWaitRunsOut)
{
    Screen s;
    std::string *log = recordTouches(*s.target);
    auto doubleTap = std::make_shared<TapRecognizer>();
    doubleTap->setNumberOfTapsRequired(2);
    s.target->addGestureRecognizer(doubleTap);

    s.host.tap(QPointF(100, 100));
    const std::string whileWaiting = *log;
    s.host.advance(TapRecognizer::kMultiTapInterval + 0.01);

    EXPECT_EQ(whileWaiting, "B");
    EXPECT_EQ(*log, "BE");
    EXPECT_EQ(doubleTap->state(), State::Possible);
}

// --- Long press ---

TEST(LongPress, BeginsFromTheClockWithoutAnyTouchEventAndEndsOnLift)
{
    Screen s;
    std::string *log = recordTouches(*s.target);
    std::vector<State> states;
    auto press = std::make_shared<LongPressRecognizer>([&](LongPressRecognizer &r) { states.push_back(r.state()); });
    press->setMinimumPressDuration(1.5);
    s.target->addGestureRecognizer(press);

    s.host.touchDown(QPointF(100, 100));
    s.host.advance(1.49);
    const size_t callsBefore = states.size();
    s.host.advance(0.02);
    const std::vector<State> atDuration = states;
    s.host.touchMove(QPointF(160, 100)); // no movement limit once it began
    s.host.touchUp(QPointF(160, 100));

    EXPECT_EQ(callsBefore, 0u);
    EXPECT_EQ(atDuration, (std::vector<State>{State::Began}));
    EXPECT_EQ(states, (std::vector<State>{State::Began, State::Changed, State::Ended}));
    EXPECT_EQ(*log, "BC"); // the view's touch was cancelled when the press began
}

TEST(LongPress, MovingTooFarBeforeTheDurationFails)
{
    Screen s;
    int calls = 0;
    auto press = std::make_shared<LongPressRecognizer>([&](LongPressRecognizer &) { ++calls; });
    press->setMinimumPressDuration(1.5);
    s.target->addGestureRecognizer(press);

    s.host.touchDown(QPointF(100, 100));
    s.host.advance(0.5);
    s.host.touchMove(QPointF(111, 100));
    s.host.advance(2);
    s.host.touchUp(QPointF(111, 100));

    EXPECT_EQ(calls, 0);
}

TEST(LongPress, AHandlerThatRemovesItsViewIsCalledAgainSafely)
{
    Screen s;
    std::vector<State> states;
    auto press = std::make_shared<LongPressRecognizer>([&](LongPressRecognizer &r) {
        states.push_back(r.state());
        if (r.view())
            r.view()->removeFromSuperview();
    });
    s.target->addGestureRecognizer(press);
    std::weak_ptr<View> weak = s.target;
    s.target.reset();

    s.host.touchDown(QPointF(100, 100));
    s.host.advance(1);
    s.host.touchUp(QPointF(100, 100));

    EXPECT_EQ(states, (std::vector<State>{State::Began, State::Ended}));
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(s.root->subviewCount(), 0);
}

// --- Who wins ---

TEST(Exclusivity, PanAndPinchOnOneViewExcludeEachOther)
{
    Screen s;
    int pans = 0, pinches = 0;
    auto pan = std::make_shared<PanRecognizer>([&](PanRecognizer &) { ++pans; });
    auto pinch = std::make_shared<PinchRecognizer>([&](PinchRecognizer &) { ++pinches; });
    s.target->addGestureRecognizer(pan);
    s.target->addGestureRecognizer(pinch);

    s.host.pinch(QPointF(100, 100), 40, {1.5, 2.0}); // the centroid stays put: no pan
    const int pansDuringPinch = pans, pinchesDuringPinch = pinches;
    s.host.advance(1);
    s.host.drag(QPointF(100, 100), QPointF(140, 100));

    EXPECT_EQ(pansDuringPinch, 0);
    EXPECT_EQ(pinchesDuringPinch, 3);
    EXPECT_GT(pans, 0);
    EXPECT_EQ(pinches, 3);
}

TEST(Exclusivity, TheDeeperViewsTapWins)
{
    Screen s;
    auto child = std::make_shared<View>(QRectF(10, 10, 40, 40));
    s.target->addSubview(child);
    int parentTaps = 0, childTaps = 0;
    s.target->addGestureRecognizer(std::make_shared<TapRecognizer>([&](TapRecognizer &) { ++parentTaps; }));
    child->addGestureRecognizer(std::make_shared<TapRecognizer>([&](TapRecognizer &) { ++childTaps; }));

    s.host.tap(s.target->convertPointTo(QPointF(20, 20), nullptr));
    s.host.advance(1);
    s.host.tap(s.target->convertPointTo(QPointF(80, 80), nullptr));

    EXPECT_EQ(childTaps, 1);
    EXPECT_EQ(parentTaps, 1);
}

TEST(Exclusivity, AButtonKeepsItsTapFromAnAncestorsRecogniserButNotFromItsOwn)
{
    Screen s;
    auto button = std::make_shared<Button>(QRectF(10, 10, 40, 40));
    s.target->addSubview(button);
    int parentTaps = 0, ownTaps = 0, upInside = 0, cancels = 0;
    s.target->addGestureRecognizer(std::make_shared<TapRecognizer>([&](TapRecognizer &) { ++parentTaps; }));
    button->addAction(ControlEventTouchUpInside, [&](Control &) { ++upInside; });
    button->addAction(ControlEventTouchCancel, [&](Control &) { ++cancels; });
    const QPointF onButton = button->convertPointTo(QPointF(20, 20), nullptr);

    s.host.tap(onButton);
    const int upInsideWithAncestorTap = upInside;
    s.host.advance(1);
    button->addGestureRecognizer(std::make_shared<TapRecognizer>([&](TapRecognizer &) { ++ownTaps; }));
    s.host.tap(onButton);

    EXPECT_EQ(upInsideWithAncestorTap, 1);
    EXPECT_EQ(parentTaps, 0);
    EXPECT_EQ(ownTaps, 1);
    EXPECT_EQ(upInside, 1);
    EXPECT_EQ(cancels, 1);
}

TEST(Exclusivity, WithoutCancellingTheViewSeesEveryEvent)
{
    Screen s;
    std::string *log = recordTouches(*s.target);
    auto pan = std::make_shared<PanRecognizer>();
    pan->setCancelsTouchesInView(false);
    s.target->addGestureRecognizer(pan);

    s.host.drag(QPointF(100, 100), QPointF(150, 100), 2);

    EXPECT_EQ(*log, "BMME");
}

// --- Raw touches ---

TEST(RawTouches, TapCountGrowsForQuickNearbyTaps)
{
    Screen s;
    std::vector<int> counts;
    s.target->setTouchHandler([&](TouchPhase phase, const TouchSet &touches) {
        if (phase == TouchPhase::Began)
            counts.push_back(touches.front()->tapCount);
    });

    s.host.tap(QPointF(100, 100), 3);
    s.host.advance(TapRecognizer::kMultiTapInterval + 0.1);
    s.host.tap(QPointF(100, 100));
    s.host.advance(0.1);
    s.host.tap(QPointF(140, 140)); // quick, but too far from the last one

    EXPECT_EQ(counts, (std::vector<int>{1, 2, 3, 1, 1}));
}

TEST(RawTouches, LocationsGoThroughTransformsAndTheTouchKeepsItsView)
{
    Screen s;
    s.target->setTransform(AffineTransform::makeScale(2, 2));
    std::vector<QPointF> locations;
    s.target->setTouchHandler(
        [&](TouchPhase, const TouchSet &touches) { locations.push_back(touches.front()->locationInView(s.target.get())); });

    s.host.touchDown(QPointF(100, 100));
    s.host.touchMove(QPointF(300, 100)); // far outside the view: still its touch
    s.host.touchUp(QPointF(300, 100));

    ASSERT_EQ(locations.size(), 3u);
    EXPECT_EQ(locations[0], QPointF(50, 50));
    EXPECT_EQ(locations[1], QPointF(150, 50));
}

TEST(RawTouches, WithoutMultipleTouchAViewSeesOnlyItsFirstFinger)
{
    Screen s;
    std::string *log = recordTouches(*s.target);

    s.host.touchDown(QPointF(90, 90), 1);
    s.host.touchDown(QPointF(110, 110), 2);
    s.host.touchUp(QPointF(110, 110), 2);
    s.host.touchUp(QPointF(90, 90), 1);
    s.target->setMultipleTouchEnabled(true);
    s.host.touchDown(QPointF(90, 90), 1);
    s.host.touchDown(QPointF(110, 110), 2);

    EXPECT_EQ(*log, "BEBB");
}

TEST(RawTouches, UnhandledTouchesClimbTheResponderChain)
{
    Screen s;
    auto child = std::make_shared<View>(QRectF(0, 0, 50, 50));
    s.target->addSubview(child);
    std::string *log = recordTouches(*s.target);

    s.host.tap(s.target->convertPointTo(QPointF(10, 10), nullptr));

    EXPECT_EQ(*log, "BE");
}

// --- Attaching ---

TEST(Recognizers, RemovingByKindAndDisabling)
{
    Screen s;
    int pinches = 0, taps = 0;
    s.target->addGestureRecognizer(std::make_shared<PinchRecognizer>([&](PinchRecognizer &) { ++pinches; }));
    s.target->addGestureRecognizer(std::make_shared<PinchRecognizer>([&](PinchRecognizer &) { ++pinches; }));
    auto tap = std::make_shared<TapRecognizer>([&](TapRecognizer &) { ++taps; });
    s.target->addGestureRecognizer(tap);

    const int removed = s.target->removeGestureRecognizers<PinchRecognizer>();
    s.host.pinch(QPointF(100, 100), 40, {1.5});
    tap->setEnabled(false);
    s.host.tap(QPointF(100, 100));

    EXPECT_EQ(removed, 2);
    EXPECT_EQ(s.target->gestureRecognizers().size(), 1u);
    EXPECT_EQ(pinches, 0);
    EXPECT_EQ(taps, 0);
}
