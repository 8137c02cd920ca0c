// Controls: buttons, sliders, switches, alerts, spinners, scroll views, labels.

#include <string>
#include <vector>

#include <QFontMetricsF>

#include <gtest/gtest.h>

#include "ui/activity_indicator.h"
#include "ui/alert_view.h"
#include "ui/button.h"
#include "ui/control_reach.h"
#include "ui/headless_host.h"
#include "ui/label.h"
#include "ui/overlay_stack.h"
#include "ui/pan_recognizer.h"
#include "ui/scroll_view.h"
#include "ui/slider.h"
#include "ui/switch.h"
#include "ui/tap_recognizer.h"

using namespace vimora;
using namespace vimora::ui;

namespace {

struct Screen
{
    HeadlessHost host{QSizeF(400, 400)};
    ViewPtr root = std::make_shared<View>();

    Screen() { host.setRootView(root); }

    QPointF onScreen(const View &view, QPointF local) const { return view.convertPointTo(local, nullptr); }
};

// Names of the control events a control sends, in order.
std::vector<std::string> *recordEvents(Control &control)
{
    static std::vector<std::shared_ptr<std::vector<std::string>>> keep;
    auto log = std::make_shared<std::vector<std::string>>();
    keep.push_back(log);
    const std::pair<ControlEvent, const char *> names[] = {
        {ControlEventTouchDown, "Down"},          {ControlEventTouchDownRepeat, "DownRepeat"},
        {ControlEventTouchDragInside, "DragIn"},  {ControlEventTouchDragOutside, "DragOut"},
        {ControlEventTouchDragEnter, "Enter"},    {ControlEventTouchDragExit, "Exit"},
        {ControlEventTouchUpInside, "UpInside"},  {ControlEventTouchUpOutside, "UpOutside"},
        {ControlEventTouchCancel, "Cancel"},      {ControlEventValueChanged, "Value"},
    };
    for (const auto &[event, name] : names)
        control.addAction(event, [log, name = std::string(name)](Control &) { log->push_back(name); });
    return log.get();
}

Picture solidPicture(int w, int h, QColor color, double scale = 1)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return Picture(image, scale);
}

class Delegate : public AlertViewDelegate
{
public:
    std::vector<std::string> calls;
    void alertViewClickedButtonAtIndex(AlertView &, int i) override { calls.push_back("clicked " + std::to_string(i)); }
    void alertViewWillDismissWithButtonIndex(AlertView &alert, int i) override
    {
        calls.push_back("will " + std::to_string(i) + (alert.isVisible() ? " visible" : " gone"));
    }
    void alertViewDidDismissWithButtonIndex(AlertView &alert, int i) override
    {
        calls.push_back("did " + std::to_string(i) + (alert.isVisible() ? " visible" : " gone"));
    }
};

} // namespace

// --- Button ---

TEST(Button, HighlightsWhilePressedAndFiresTouchUpInside)
{
    Screen s;
    auto button = std::make_shared<Button>(QRectF(100, 100, 80, 40));
    s.root->addSubview(button);
    auto *log = recordEvents(*button);

    s.host.touchDown(QPointF(120, 120));
    const bool highlightedWhileDown = button->isHighlighted();
    const ControlState stateWhileDown = button->state();
    s.host.touchUp(QPointF(120, 120));

    EXPECT_TRUE(highlightedWhileDown);
    EXPECT_EQ(stateWhileDown, ControlStateHighlighted);
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(*log, (std::vector<std::string>{"Down", "UpInside"}));
}

TEST(Button, TheTrackingRectangleReachesSeventyPointsOut)
{
    Screen s;
    auto button = std::make_shared<Button>(QRectF(100, 100, 80, 40));
    s.root->addSubview(button);
    auto *log = recordEvents(*button);

    s.host.touchDown(QPointF(120, 120));
    s.host.touchMove(QPointF(230, 120)); // 50 pt right of the button: still inside
    const bool highlightedNear = button->isHighlighted();
    s.host.touchMove(QPointF(251, 120)); // 71 pt right: outside
    const bool highlightedFar = button->isHighlighted();
    s.host.touchUp(QPointF(251, 120));
    s.host.touchDown(QPointF(120, 120));
    s.host.touchUp(QPointF(230, 120));

    EXPECT_TRUE(highlightedNear);
    EXPECT_FALSE(highlightedFar);
    EXPECT_EQ(*log, (std::vector<std::string>{"Down", "DragIn", "DragOut", "Exit", "UpOutside", "Down", "UpInside"}));
}

TEST(Button, DisabledPassesTouchesToItsSuperview)
{
    Screen s;
    auto panel = std::make_shared<View>(QRectF(0, 0, 300, 300));
    auto button = std::make_shared<Button>(QRectF(100, 100, 80, 40));
    s.root->addSubview(panel);
    panel->addSubview(button);
    std::string panelLog;
    panel->setTouchHandler([&](TouchPhase phase, const TouchSet &) {
        panelLog += phase == TouchPhase::Began ? 'B' : phase == TouchPhase::Cancelled ? 'C' : 'E';
    });
    auto *log = recordEvents(*button);
    int panelTaps = 0;
    panel->addGestureRecognizer(std::make_shared<TapRecognizer>([&](TapRecognizer &) { ++panelTaps; }));

    button->setEnabled(false);
    s.host.tap(QPointF(120, 120));

    EXPECT_TRUE(log->empty());
    EXPECT_EQ(panelTaps, 1); // a disabled control leaves ancestor recognisers free
    EXPECT_EQ(panelLog, "BC"); // the recognised tap cancelled the touch it took
}

TEST(Button, TouchCancelWhenAnEnclosingScrollViewStartsScrolling)
{
    Screen s;
    auto scroll = std::make_shared<ScrollView>(QRectF(0, 0, 200, 200));
    scroll->setContentSize(QSizeF(200, 600));
    auto button = std::make_shared<Button>(QRectF(20, 20, 100, 40));
    s.root->addSubview(scroll);
    scroll->addSubview(button);
    auto *log = recordEvents(*button);

    s.host.drag(QPointF(50, 40), QPointF(50, 10), 3);

    EXPECT_EQ(log->front(), "Down");
    EXPECT_EQ(log->back(), "Cancel");
    EXPECT_DOUBLE_EQ(scroll->contentOffset().y(), 30);
}

TEST(Button, PerStateValuesFallBackToNormal)
{
    Button button;
    button.setTitle(QStringLiteral("load"));
    button.setTitle(QStringLiteral("pressed"), ControlStateHighlighted);
    button.setTitle(QStringLiteral("chosen"), ControlStateSelected);

    button.setHighlighted(true);
    const QString highlighted = button.currentTitle();
    button.setSelected(true);
    const QString highlightedAndSelected = button.currentTitle();
    button.setHighlighted(false);

    EXPECT_EQ(highlighted, "pressed");
    EXPECT_EQ(highlightedAndSelected, "load"); // no value for that exact state
    EXPECT_EQ(button.currentTitle(), "chosen");
}

TEST(Button, ImageAndTitleFormOneCentredRow)
{
    Button button(QRectF(0, 0, 160, 50));
    button.setImage(solidPicture(40, 40, Qt::red));
    button.setTitle(QStringLiteral("Blur"));
    const QFontMetricsF fm(button.font());
    const double tw = fm.horizontalAdvance(QStringLiteral("Blur")), th = fm.height();

    const QRectF image = button.imageRect(), title = button.titleRect();

    const double left = (160 - 40 - tw) / 2;
    EXPECT_EQ(image, QRectF(left, 5, 40, 40));
    EXPECT_EQ(title, QRectF(left + 40, (50 - th) / 2, tw, th));
}

TEST(Button, ATooLargeImageIsSqueezedIntoTheContentRectangle)
{
    Button button(QRectF(0, 0, 60, 30));
    button.setImage(solidPicture(100, 20, Qt::red));

    EXPECT_EQ(button.imageRect(), QRectF(0, 5, 60, 20));
}

// --- Slider ---

TEST(Slider, ContinuousFiresOnEveryStepOnReleaseOnlyOnceAtTheEnd)
{
    for (bool continuous : {true, false}) {
        Screen s;
        auto slider = std::make_shared<Slider>(QRectF(50, 100, 150, 40));
        slider->setContinuous(continuous);
        s.root->addSubview(slider);
        auto *log = recordEvents(*slider);
        const QPointF thumb = s.onScreen(*slider, slider->thumbRect().center());

        s.host.drag(thumb, thumb + QPointF(60, 0), 3);

        const auto values = std::count(log->begin(), log->end(), std::string("Value"));
        EXPECT_EQ(values, continuous ? 3 : 1) << (continuous ? "continuous" : "on release");
        EXPECT_EQ(log->back(), "UpInside");
        if (!continuous) { // the value arrives before the release is reported
            EXPECT_EQ((*log)[log->size() - 2], "Value");
        }
    }
}

TEST(Slider, DraggingMovesTheValueByTheFingersTravel)
{
    Screen s;
    auto slider = std::make_shared<Slider>(QRectF(0, 0, 150, 40));
    slider->setThumbImage(solidPicture(30, 30, Qt::white));
    slider->setMaximumValue(2.8);
    slider->setValue(1.4);
    s.root->addSubview(slider);

    const double thumbCentre = slider->thumbRect().center().x();
    s.host.drag(QPointF(thumbCentre + 5, 20), QPointF(thumbCentre + 35, 20), 4);

    EXPECT_DOUBLE_EQ(thumbCentre, 75);
    EXPECT_NEAR(slider->value(), 2.1, 1e-12);
}

TEST(Slider, OnlyATouchOnTheThumbTracksAndNothingFiresForAnUnchangedValue)
{
    Screen s;
    auto slider = std::make_shared<Slider>(QRectF(0, 0, 300, 40));
    slider->setContinuous(false);
    s.root->addSubview(slider);
    auto *log = recordEvents(*slider);

    s.host.drag(QPointF(250, 20), QPointF(200, 20)); // far from the thumb at the left end
    const double afterTrackDrag = slider->value();
    const QPointF thumb = slider->thumbRect().center();
    s.host.touchDown(thumb);
    s.host.touchMove(thumb + QPointF(40, 0));
    s.host.touchMove(thumb); // back where it started
    s.host.touchUp(thumb);
    s.host.drag(thumb, thumb + QPointF(40, 0));

    EXPECT_EQ(afterTrackDrag, 0);
    EXPECT_EQ(std::count(log->begin(), log->end(), std::string("Value")), 1); // only the second drag
    EXPECT_GT(slider->value(), 0);
}

TEST(Slider, ValueAndThumbCentreMapBothWaysAndSettingClamps)
{
    Slider slider(QRectF(0, 0, 200, 40));
    slider.setMinimumValue(-60);
    slider.setMaximumValue(60);

    slider.setValue(500);
    const double clamped = slider.value();

    EXPECT_EQ(clamped, 60);
    for (double v : {-60.0, -12.5, 0.0, 33.0, 60.0})
        EXPECT_NEAR(slider.valueForThumbCenter(slider.thumbCenterForValue(v)), v, 1e-9);
    for (double x : {12.0, 50.0, 188.0})
        EXPECT_NEAR(slider.thumbCenterForValue(slider.valueForThumbCenter(x)), x, 1e-9);
}

TEST(Slider, ItsThumbDragBeatsAnAncestorsPan)
{
    Screen s;
    auto panel = std::make_shared<View>(QRectF(0, 0, 400, 400));
    auto slider = std::make_shared<Slider>(QRectF(50, 100, 200, 40));
    s.root->addSubview(panel);
    panel->addSubview(slider);
    int pans = 0;
    panel->addGestureRecognizer(std::make_shared<PanRecognizer>([&](PanRecognizer &) { ++pans; }));
    const QPointF thumb = s.onScreen(*slider, slider->thumbRect().center());

    s.host.drag(thumb, thumb + QPointF(80, 0));
    const double value = slider->value();
    s.host.drag(QPointF(300, 300), QPointF(340, 300));

    EXPECT_GT(value, 0);
    EXPECT_GT(pans, 0); // only the drag outside the slider
}

// --- Switch ---

TEST(Switch, KeepsItsSizeAndToggles)
{
    Screen s;
    auto sw = std::make_shared<Switch>(QRectF(5, 45, 70, 50));
    s.root->addSubview(sw);
    auto *log = recordEvents(*sw);

    s.host.tap(QPointF(20, 55));
    const bool afterTap = sw->isOn();
    sw->setOn(false);
    const size_t eventsAfterCode = log->size();

    EXPECT_EQ(sw->frame(), QRectF(5, 45, 79, 27));
    EXPECT_TRUE(afterTap);
    EXPECT_EQ(std::count(log->begin(), log->end(), std::string("Value")), 1);
    EXPECT_EQ(eventsAfterCode, log->size());
}

TEST(Switch, DraggingSetsItByTheHalfTheKnobEndsIn)
{
    Screen s;
    auto sw = std::make_shared<Switch>(QRectF(0, 0, 79, 27));
    s.root->addSubview(sw);

    s.host.drag(QPointF(13, 13), QPointF(30, 13)); // 17 of 52 pt: the knob stays in the off half
    const bool shortDrag = sw->isOn();
    s.host.advance(1);
    s.host.drag(QPointF(13, 13), QPointF(50, 13));

    EXPECT_FALSE(shortDrag);
    EXPECT_TRUE(sw->isOn());
}

// --- Alert ---

TEST(Alert, ButtonIndicesFollowTheCancelButton)
{
    Delegate d;
    AlertView withCancel(QString(), QStringLiteral("Save to Album"), &d, QStringLiteral("Cancel"),
                         {QStringLiteral("High"), QStringLiteral("Medium")});
    AlertView withoutCancel(QStringLiteral("Save"), QStringLiteral("Saved"), &d, QString(), {QStringLiteral("OK")});
    AlertView none(QStringLiteral("Processing..."), QStringLiteral(" "));

    EXPECT_EQ(withCancel.cancelButtonIndex(), 0);
    EXPECT_EQ(withCancel.firstOtherButtonIndex(), 1);
    EXPECT_EQ(withCancel.buttonTitleAtIndex(2), "Medium");
    EXPECT_EQ(withoutCancel.cancelButtonIndex(), -1);
    EXPECT_EQ(withoutCancel.buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(none.numberOfButtons(), 0);
    EXPECT_EQ(none.firstOtherButtonIndex(), -1);
}

TEST(Alert, TappingAButtonReportsItsIndexThenDismisses)
{
    Screen s;
    Delegate d;
    auto alert = std::make_shared<AlertView>(QString(), QStringLiteral("Save to Album"), &d, QStringLiteral("Cancel"),
                                             QStringList{QStringLiteral("High"), QStringLiteral("Medium")});
    alert->setTag(1);
    alert->show();
    Button *medium = alert->buttonAtIndex(2);
    ASSERT_NE(medium, nullptr);

    s.host.tap(s.onScreen(*medium, medium->bounds().center()));

    EXPECT_EQ(d.calls, (std::vector<std::string>{"clicked 2", "will 2 visible", "did 2 gone"}));
    EXPECT_FALSE(s.host.hasModal());
}

TEST(Alert, LayoutPutsCancelLeftOfTwoAndBelowThree)
{
    Screen s;
    auto two = std::make_shared<AlertView>(QString(), QStringLiteral("Sure to delete this photo?"), nullptr,
                                           QStringLiteral("cancel"), QStringList{QStringLiteral("YES")});
    two->show();
    const QRectF cancelOfTwo = two->buttonAtIndex(0)->frame(), yes = two->buttonAtIndex(1)->frame();
    two->dismissWithClickedButtonIndex(0, false);
    auto three = std::make_shared<AlertView>(QString(), QStringLiteral("Save to Album"), nullptr, QStringLiteral("Cancel"),
                                             QStringList{QStringLiteral("High"), QStringLiteral("Medium")});
    three->show();

    EXPECT_LT(cancelOfTwo.x(), yes.x());
    EXPECT_EQ(cancelOfTwo.y(), yes.y());
    EXPECT_GT(three->buttonAtIndex(0)->frame().y(), three->buttonAtIndex(2)->frame().y());
    EXPECT_GT(three->buttonAtIndex(2)->frame().y(), three->buttonAtIndex(1)->frame().y());
    EXPECT_EQ(three->bounds().width(), AlertView::kWidth);
}

TEST(Alert, IsModalAndDismissedByCodeWithoutAClick)
{
    Screen s;
    Delegate d;
    auto behind = std::make_shared<Button>(QRectF(0, 0, 400, 400));
    s.root->addSubview(behind);
    auto *behindLog = recordEvents(*behind);
    auto alert = std::make_shared<AlertView>(QStringLiteral("Processing..."), QStringLiteral(" "), &d);
    auto spinner = std::make_shared<ActivityIndicator>();
    spinner->setFrame(QRectF(125, 60, 30, 30));
    alert->addSubview(spinner);

    alert->show();
    s.host.tap(QPointF(5, 5));
    const bool tapReachedBehind = !behindLog->empty();
    alert->dismissWithClickedButtonIndex(0, true);
    s.host.tap(QPointF(5, 5));

    EXPECT_FALSE(tapReachedBehind);
    EXPECT_GE(alert->bounds().height(), 90 + 10); // grown to hold the spinner
    EXPECT_EQ(d.calls, (std::vector<std::string>{"will 0 visible", "did 0 gone"}));
    EXPECT_FALSE(behindLog->empty()); // touches reach the screen at once, while it fades
}

// --- Activity indicator ---

TEST(ActivityIndicator, HiddenWhileStoppedAndTurnsOnTheClock)
{
    Screen s;
    auto spinner = std::make_shared<ActivityIndicator>();
    s.root->addSubview(spinner);

    const bool hiddenAtFirst = spinner->isHidden();
    spinner->startAnimating();
    const bool hiddenWhileRunning = spinner->isHidden();
    s.host.advance(ActivityIndicator::kStepInterval * 3 + 0.001);
    const int phase = spinner->phase();
    spinner->stopAnimating();
    s.host.advance(1);
    spinner->setHidesWhenStopped(false);

    EXPECT_TRUE(hiddenAtFirst);
    EXPECT_FALSE(hiddenWhileRunning);
    EXPECT_EQ(phase, 3);
    EXPECT_EQ(spinner->phase(), 3);
    EXPECT_FALSE(spinner->isHidden());
    EXPECT_EQ(spinner->bounds().size(), QSizeF(37, 37));
}

// --- Scroll view ---

TEST(ScrollView, ScrollsWithinTheContentAndSpringsBackAfterABounce)
{
    Screen s;
    auto scroll = std::make_shared<ScrollView>(QRectF(0, 0, 200, 200));
    scroll->setContentSize(QSizeF(200, 500));
    s.root->addSubview(scroll);

    s.host.drag(QPointF(100, 150), QPointF(100, 50));
    const QPointF afterDrag = scroll->contentOffset();
    s.host.drag(QPointF(100, 50), QPointF(100, 150));
    s.host.drag(QPointF(100, 50), QPointF(100, 150)); // 100 pt past the top end
    const QPointF stretched = scroll->contentOffset();
    s.host.advance(ScrollView::kSpringDuration + 0.05);

    EXPECT_EQ(afterDrag, QPointF(0, 100));
    EXPECT_DOUBLE_EQ(stretched.y(), -50); // half the finger's travel past the end
    EXPECT_EQ(scroll->contentOffset(), QPointF(0, 0));
    EXPECT_FALSE(scroll->isAnimating());
}

TEST(ScrollView, WithoutBounceOrScrollingItStaysInRange)
{
    Screen s;
    auto scroll = std::make_shared<ScrollView>(QRectF(0, 0, 200, 200));
    scroll->setContentSize(QSizeF(200, 300));
    scroll->setBounces(false);
    s.root->addSubview(scroll);

    s.host.drag(QPointF(100, 190), QPointF(100, 10));
    const QPointF clamped = scroll->contentOffset();
    scroll->setScrollEnabled(false);
    s.host.drag(QPointF(100, 10), QPointF(100, 190));

    EXPECT_EQ(clamped, QPointF(0, 100));
    EXPECT_EQ(scroll->contentOffset(), QPointF(0, 100));
    EXPECT_EQ(scroll->maximumContentOffset(), QPointF(0, 100));
}

// --- Label ---

TEST(Label, WrapsIntoAsManyLinesAsAllowed)
{
    Label label(QRectF(0, 0, 100, 200), QStringLiteral("one two three four five six seven eight"));
    const double lineHeight = QFontMetricsF(label.font()).height();

    const QSizeF single = label.sizeThatFits(100);
    label.setNumberOfLines(0);
    const QSizeF wrapped = label.sizeThatFits(100);
    label.setNumberOfLines(2);
    const QSizeF twoLines = label.sizeThatFits(100);

    EXPECT_DOUBLE_EQ(single.height(), lineHeight);
    EXPECT_LE(single.width(), 100);
    EXPECT_GT(wrapped.height(), 2 * lineHeight);
    EXPECT_DOUBLE_EQ(twoLines.height(), 2 * lineHeight);
    EXPECT_TRUE(Label().backgroundColor() == QColor(Qt::white));
}

TEST(ScrollView, KeptIndicatorsShowWhileStillOnlyWhereTheContentIsTaller)
{
    Screen s;
    auto scroll = std::make_shared<ScrollView>(QRectF(0, 0, 200, 200));
    s.root->addSubview(scroll);
    scroll->setContentSize(QSizeF(200, 600));
    EXPECT_FALSE(scroll->isVerticalScrollIndicatorShown()) << "only while moving, by default";
    scroll->setKeepsScrollIndicatorsShown(true);
    EXPECT_TRUE(scroll->isVerticalScrollIndicatorShown());
    // Drawn: a light bar along the right edge, over the dark content.
    scroll->setBackgroundColor(Qt::black);
    const QImage shot = s.host.render();
    bool bar = false;
    for (int x = 185; x < 200; ++x)
        bar = bar || qGray(shot.pixel(x, 20)) > 40;
    EXPECT_TRUE(bar);
    scroll->setContentSize(QSizeF(200, 150));
    EXPECT_FALSE(scroll->isVerticalScrollIndicatorShown()) << "nothing to scroll";
}

TEST(ControlReach, FindsControlsDrawnOutsideTheirParentOrCoveredAndNoOthers)
{
    Screen s;
    // A bar 40 high that does not clip: its second button hangs below it, drawn but refused.
    auto bar = std::make_shared<View>(QRectF(0, 300, 400, 40));
    s.root->addSubview(bar);
    auto inside = std::make_shared<Button>(QRectF(10, 5, 60, 30));
    inside->setTitle("In");
    auto below = std::make_shared<Button>(QRectF(100, 50, 60, 30));
    below->setTitle("Below");
    bar->addSubview(inside);
    bar->addSubview(below);
    // One under a clear view in front that takes its taps, one painted over by an opaque view,
    // one hidden, one disabled, one clipped away by a scroll view: only the first counts.
    auto covered = std::make_shared<Button>(QRectF(10, 10, 60, 30));
    covered->setTitle("Covered");
    s.root->addSubview(covered);
    s.root->addSubview(std::make_shared<View>(QRectF(0, 0, 100, 100)));
    auto under = std::make_shared<Button>(QRectF(310, 10, 60, 30));
    under->setTitle("Under");
    s.root->addSubview(under);
    auto opaque = std::make_shared<View>(QRectF(300, 0, 100, 100));
    opaque->setBackgroundColor(Qt::darkGray);
    s.root->addSubview(opaque);
    auto hidden = std::make_shared<Button>(QRectF(200, 10, 60, 30));
    hidden->setHidden(true);
    auto disabled = std::make_shared<Button>(QRectF(200, 50, 60, 30));
    disabled->setEnabled(false);
    s.root->addSubview(hidden);
    s.root->addSubview(disabled);
    auto scroll = std::make_shared<ScrollView>(QRectF(200, 100, 100, 100));
    scroll->setContentSize(QSizeF(100, 400));
    scroll->addSubview(std::make_shared<Button>(QRectF(10, 250, 60, 30)));
    s.root->addSubview(scroll);

    auto found = unansweredControls(s.host);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].control, below.get());
    EXPECT_EQ(found[0].reason, "drawn outside View") << found[0].reason.toStdString();
    EXPECT_EQ(found[0].centre, QPointF(130, 365));
    EXPECT_EQ(found[1].control, covered.get());
    EXPECT_TRUE(found[1].reason.startsWith("covered by")) << found[1].reason.toStdString();

    // What the report says is what a tap does.
    int belowTaps = 0;
    below->addAction(ControlEventTouchUpInside, [&](Control &) { ++belowTaps; });
    s.host.tap(found[0].centre);
    EXPECT_EQ(belowTaps, 0);

    // Grown to hold it, the bar passes it on; a modal alert puts everything behind it out of reach.
    bar->setFrame(QRectF(0, 300, 400, 90));
    s.host.tap(found[0].centre);
    EXPECT_EQ(belowTaps, 1);
    covered->removeFromSuperview();
    EXPECT_TRUE(unansweredControls(s.host).empty());
    // An open panel's backdrop takes the taps around it, on purpose: its own controls count.
    auto panel = std::make_shared<View>(QRectF(50, 50, 100, 100));
    auto hanging = std::make_shared<Button>(QRectF(20, 90, 60, 30));
    hanging->setTitle("Hanging");
    panel->addSubview(hanging);
    s.root->addSubview(panel);
    OverlayStack::of(panel.get()).open(panel, [panel] { panel->setHidden(true); });
    auto found2 = unansweredControls(s.host);
    ASSERT_EQ(found2.size(), 1u);
    EXPECT_EQ(found2[0].control, hanging.get());
    panel->removeFromSuperview();
    OverlayStack::of(s.root.get()).closed(panel.get());
    EXPECT_TRUE(unansweredControls(s.host).empty());
    // A panel laid over a control dims it out of plain view and takes its taps on purpose; a
    // faint tint in front does not excuse it.
    auto dimmed = std::make_shared<Button>(QRectF(10, 200, 60, 30));
    dimmed->setTitle("Dimmed");
    s.root->addSubview(dimmed);
    auto shade = std::make_shared<View>(QRectF(0, 190, 100, 50));
    shade->setBackgroundColor(QColor(20, 20, 30, 220));
    s.root->addSubview(shade);
    EXPECT_TRUE(unansweredControls(s.host).empty());
    shade->setBackgroundColor(QColor(20, 20, 30, 60));
    auto found3 = unansweredControls(s.host);
    ASSERT_EQ(found3.size(), 1u);
    EXPECT_EQ(found3[0].control, dimmed.get());
    shade->removeFromSuperview();
    dimmed->removeFromSuperview();

    // A backdrop that lets some points through: a control there answers, one elsewhere is
    // behind the panel on purpose.
    auto sheet = std::make_shared<View>(QRectF(200, 200, 100, 100));
    s.root->addSubview(sheet);
    auto through = std::make_shared<Button>(QRectF(10, 150, 60, 30));
    s.root->insertSubviewBelow(through, sheet.get());
    int closes = 0;
    OverlayStack::of(sheet.get()).open(sheet, [&closes] { ++closes; }, OverlayStack::OutsideTap::Closes,
                                       [](QPointF p) { return p.y() > 140 && p.y() < 190; });
    EXPECT_TRUE(unansweredControls(s.host).empty());
    int throughTaps = 0;
    through->addAction(ControlEventTouchUpInside, [&](Control &) { ++throughTaps; });
    s.host.tap(QPointF(40, 165));
    EXPECT_EQ(throughTaps, 1);
    EXPECT_EQ(closes, 0);
    s.host.tap(QPointF(40, 100));
    EXPECT_EQ(closes, 1);
    OverlayStack::of(sheet.get()).closed(sheet.get());
    sheet->removeFromSuperview();

    auto alert = std::make_shared<AlertView>("Title", "Message", nullptr, "OK", QStringList{"Other"});
    alert->show();
    EXPECT_TRUE(unansweredControls(s.host).empty());
}
