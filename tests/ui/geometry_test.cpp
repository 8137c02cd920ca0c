// Frames, centres and transforms; point conversion; autoresizing; content modes; the tree;
// hit testing.

#include <cmath>

#include <gtest/gtest.h>

#include "ui/affine_transform.h"
#include "ui/autoresizing.h"
#include "ui/content_mode.h"
#include "ui/image_view.h"
#include "ui/view.h"

using namespace vimora::ui;

namespace {

const AffineTransform kQuarterTurn{0, 1, -1, 0, 0, 0}; // 90° clockwise on screen, exactly

void expectRect(const QRectF &actual, double x, double y, double w, double h, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.x(), x, tolerance);
    EXPECT_NEAR(actual.y(), y, tolerance);
    EXPECT_NEAR(actual.width(), w, tolerance);
    EXPECT_NEAR(actual.height(), h, tolerance);
}

void expectPoint(QPointF actual, double x, double y, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.x(), x, tolerance);
    EXPECT_NEAR(actual.y(), y, tolerance);
}

ViewPtr viewWithBoundsAndCentre(double w, double h, QPointF centre)
{
    auto v = std::make_shared<View>();
    v->setBounds(QRectF(0, 0, w, h));
    v->setCenter(centre);
    return v;
}

} // namespace

// --- Affine transforms ---

TEST(AffineTransform, ConcatAppliesTheFirstTransformFirst)
{
    const AffineTransform t = concat(AffineTransform::makeTranslation(10, 0), AffineTransform::makeScale(2, 3));

    expectPoint(t.map(QPointF(1, 1)), (1 + 10) * 2, 1 * 3);
}

TEST(AffineTransform, PostMultipliedScaleActsInTheViewsOwnAxes)
{
    // scale(t, 2, 1) on a quarter turn stretches the local x axis, which then points down.
    const AffineTransform post = scaled(kQuarterTurn, 2, 1);
    const AffineTransform pre = concat(kQuarterTurn, AffineTransform::makeScale(2, 1));

    EXPECT_EQ(post, (AffineTransform{0, 2, -1, 0, 0, 0}));
    EXPECT_EQ(pre, (AffineTransform{0, 1, -2, 0, 0, 0}));
}

TEST(AffineTransform, PostMultipliedScaleLeavesTheTranslationAlone)
{
    const AffineTransform t = AffineTransform::makeTranslation(10, 0);

    EXPECT_EQ(scaled(t, 2, 2).tx, 10);
    EXPECT_EQ(concat(t, AffineTransform::makeScale(2, 2)).tx, 20);
}

TEST(AffineTransform, PositiveRotationTurnsClockwiseOnScreen)
{
    expectPoint(AffineTransform::makeRotation(M_PI / 2).map(QPointF(1, 0)), 0, 1, 1e-12);
}

TEST(AffineTransform, InverseUndoesTheMapAndSingularGivesIdentity)
{
    const AffineTransform t = rotated(scaled(AffineTransform::makeTranslation(5, -3), 2, 0.5), 0.7);
    bool invertible = false;
    const AffineTransform inv = t.inverted(&invertible);

    EXPECT_TRUE(invertible);
    expectPoint(inv.map(t.map(QPointF(3, 4))), 3, 4, 1e-12);
    EXPECT_TRUE(AffineTransform::makeScale(0, 1).inverted(&invertible).isIdentity());
    EXPECT_FALSE(invertible);
}

// --- Frames under transforms ---

struct FrameCase
{
    const char *name;
    AffineTransform transform;
    QRectF frame;
};

class FrameUnderTransform : public testing::TestWithParam<FrameCase>
{
};

TEST_P(FrameUnderTransform, IsTheBoundingBoxOfTheTransformedBounds)
{
    auto v = viewWithBoundsAndCentre(100, 50, QPointF(200, 150));

    v->setTransform(GetParam().transform);

    const QRectF e = GetParam().frame;
    expectRect(v->frame(), e.x(), e.y(), e.width(), e.height(), 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, FrameUnderTransform,
    testing::Values(FrameCase{"Identity", {}, QRectF(150, 125, 100, 50)},
                    FrameCase{"ScaleTwo", AffineTransform::makeScale(2, 2), QRectF(100, 100, 200, 100)},
                    FrameCase{"QuarterTurn", kQuarterTurn, QRectF(175, 100, 50, 100)},
                    FrameCase{"EighthTurn", AffineTransform::makeRotation(M_PI / 4),
                              QRectF(146.967, 96.967, 106.066, 106.066)},
                    FrameCase{"Translation", AffineTransform::makeTranslation(30, 0), QRectF(180, 125, 100, 50)}),
    [](const auto &info) { return info.param.name; });

TEST(ViewGeometry, SettingTheFrameUnderAScaleGoesThroughTheInverse)
{
    auto v = std::make_shared<View>();
    v->setTransform(AffineTransform::makeScale(2, 2));

    v->setFrame(QRectF(0, 0, 300, 300));

    expectPoint(v->center(), 150, 150);
    expectRect(v->bounds(), 0, 0, 150, 150);
    expectRect(v->frame(), 0, 0, 300, 300);
}

TEST(ViewGeometry, SettingTheFrameUnderAQuarterTurnSwapsTheBoundsSize)
{
    auto v = std::make_shared<View>();
    v->setTransform(kQuarterTurn);

    v->setFrame(QRectF(10, 20, 40, 100));

    expectRect(v->bounds(), 0, 0, 100, 40);
    expectRect(v->frame(), 10, 20, 40, 100);
}

TEST(ViewGeometry, SettingTheFrameKeepsTheBoundsOriginAndTranslationStaysOutOfTheCentre)
{
    auto v = std::make_shared<View>();
    v->setBounds(QRectF(5, 7, 10, 10));
    v->setTransform(AffineTransform::makeTranslation(30, 0));

    v->setFrame(QRectF(0, 0, 20, 20));

    expectPoint(v->center(), 10 - 30, 10);
    expectRect(v->bounds(), 5, 7, 20, 20);
}

TEST(ViewGeometry, BoundsSizeChangeKeepsTheCentreAndTransformKeepsTheFrameOfChildren)
{
    auto parent = viewWithBoundsAndCentre(100, 100, QPointF(50, 50));
    auto child = std::make_shared<View>(QRectF(10, 10, 20, 20));
    child->setAutoresizingMask(63);
    parent->addSubview(child);

    parent->setTransform(AffineTransform::makeScale(3, 3));
    const QRectF afterTransform = child->frame();
    parent->setBounds(QRectF(0, 0, 200, 100));

    expectRect(afterTransform, 10, 10, 20, 20);
    expectPoint(parent->center(), 50, 50);
    EXPECT_NE(child->frame(), afterTransform); // only the size change autoresized it
}

TEST(ViewGeometry, NegativeFrameSizesReadBackAsSet)
{
    auto v = std::make_shared<View>();

    v->setFrame(QRectF(50, 20, -30, 10));

    expectRect(v->frame(), 50, 20, -30, 10);
}

// --- Point conversion ---

TEST(PointConversion, GoesUpToTheWindowAndDownThroughEveryTransform)
{
    auto window = viewWithBoundsAndCentre(400, 400, QPointF(200, 200));
    auto a = viewWithBoundsAndCentre(200, 200, QPointF(200, 200));
    a->setTransform(AffineTransform::makeScale(2, 2));
    auto b = viewWithBoundsAndCentre(20, 20, QPointF(50, 50));
    b->setTransform(kQuarterTurn);
    window->addSubview(a);
    a->addSubview(b);

    expectPoint(b->convertPointTo(QPointF(0, 0), a.get()), 60, 40);
    expectPoint(b->convertPointTo(QPointF(0, 0), nullptr), 120, 80);
    expectPoint(b->convertPointFrom(QPointF(120, 80), nullptr), 0, 0);
    expectPoint(a->convertPointFrom(QPointF(0, 0), b.get()), 60, 40);
}

TEST(PointConversion, BoundsOriginShiftsChildrenTheOtherWay)
{
    auto window = std::make_shared<View>(QRectF(0, 0, 100, 100));
    auto scroller = viewWithBoundsAndCentre(100, 100, QPointF(50, 50));
    auto child = std::make_shared<View>(QRectF(0, 200, 10, 10));
    window->addSubview(scroller);
    scroller->addSubview(child);

    scroller->setBounds(QRectF(0, 150, 100, 100));

    expectPoint(child->convertPointTo(QPointF(0, 0), nullptr), 0, 50);
}

// --- Autoresizing ---

struct ResizeCase
{
    const char *name;
    AutoresizingMask mask;
    QRectF expected;
};

class AutoresizingGrowth : public testing::TestWithParam<ResizeCase>
{
};

TEST_P(AutoresizingGrowth, SharesTheChangeAmongFlexibleParts)
{
    auto parent = std::make_shared<View>(QRectF(0, 0, 300, 300));
    auto child = std::make_shared<View>(QRectF(100, 100, 100, 100));
    child->setAutoresizingMask(GetParam().mask);
    parent->addSubview(child);

    parent->setFrame(QRectF(0, 0, 450, 450));

    const QRectF e = GetParam().expected;
    expectRect(child->frame(), e.x(), e.y(), e.width(), e.height());
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, AutoresizingGrowth,
                         testing::Values(ResizeCase{"AllSix63", 63, QRectF(150, 150, 150, 150)},
                                         ResizeCase{"FourMargins45", 45, QRectF(175, 175, 100, 100)},
                                         ResizeCase{"None", 0, QRectF(100, 100, 100, 100)},
                                         ResizeCase{"WidthAndHeight", 2 + 16, QRectF(100, 100, 250, 250)},
                                         ResizeCase{"LeftAndTop", 1 + 8, QRectF(250, 250, 100, 100)},
                                         ResizeCase{"MarginAndSize", 3 + 24, QRectF(175, 175, 175, 175)}),
                         [](const auto &info) { return info.param.name; });

TEST(Autoresizing, BothMarginsShareInProportionNotEvenly)
{
    const QRectF f = autoresizedFrame(QRectF(50, 0, 100, 10), FlexibleLeftMargin | FlexibleRightMargin,
                                      QSizeF(300, 10), QSizeF(450, 10));

    EXPECT_DOUBLE_EQ(f.x(), 87.5);
    EXPECT_DOUBLE_EQ(f.width(), 100);
}

TEST(Autoresizing, GrowingThenShrinkingReturnsTheOriginalFrame)
{
    auto parent = std::make_shared<View>(QRectF(0, 0, 300, 300));
    auto child = std::make_shared<View>(QRectF(37, 11, 101, 53));
    child->setAutoresizingMask(63);
    parent->addSubview(child);

    parent->setFrame(QRectF(0, 0, 457, 333));
    parent->setFrame(QRectF(0, 0, 300, 300));

    expectRect(child->frame(), 37, 11, 101, 53, 1e-9);
}

TEST(Autoresizing, FlexiblePartsSummingToZeroShareEqually)
{
    const QRectF f = autoresizedFrame(QRectF(0, 0, 0, 10), FlexibleLeftMargin | FlexibleWidth, QSizeF(0, 10),
                                      QSizeF(100, 10));

    expectRect(f, 50, 0, 50, 10);
}

TEST(Autoresizing, ASizeThatWouldTurnNegativeBecomesZero)
{
    const QRectF f = autoresizedFrame(QRectF(0, 0, 10, 10), FlexibleWidth, QSizeF(100, 100), QSizeF(50, 100));

    EXPECT_EQ(f.width(), 0);
}

TEST(Autoresizing, ResizedChildrenResizeTheirOwnChildren)
{
    auto root = std::make_shared<View>(QRectF(0, 0, 100, 100));
    auto middle = std::make_shared<View>(QRectF(0, 0, 100, 100));
    auto leaf = std::make_shared<View>(QRectF(0, 0, 50, 50));
    middle->setAutoresizingMask(FlexibleWidth);
    leaf->setAutoresizingMask(FlexibleWidth);
    root->addSubview(middle);
    middle->addSubview(leaf);

    root->setFrame(QRectF(0, 0, 200, 100));

    EXPECT_DOUBLE_EQ(leaf->frame().width(), 150);
}

TEST(Autoresizing, MovingTheParentOrTurningItOffDoesNothing)
{
    auto parent = std::make_shared<View>(QRectF(0, 0, 100, 100));
    auto child = std::make_shared<View>(QRectF(10, 10, 10, 10));
    child->setAutoresizingMask(63);
    parent->addSubview(child);

    parent->setFrame(QRectF(50, 50, 100, 100));
    parent->setAutoresizesSubviews(false);
    parent->setFrame(QRectF(50, 50, 300, 300));

    expectRect(child->frame(), 10, 10, 10, 10);
}

TEST(Autoresizing, GridWithFourMarginsDriftsApartKeepingSizes)
{
    // 9 × 9 pieces in a container W wide: piece c moves by D·c/8 when the width grows by D.
    const double W = 360, D = 80;
    auto container = std::make_shared<View>(QRectF(0, 0, W, W));
    for (int c = 0; c < 9; ++c) {
        auto piece = std::make_shared<View>(QRectF(c * W / 9, 0, W / 9, W / 9));
        piece->setAutoresizingMask(45);
        container->addSubview(piece);
    }

    container->setFrame(QRectF(0, 0, W + D, W));

    for (int c = 0; c < 9; ++c) {
        const QRectF f = container->subviewAt(c)->frame();
        EXPECT_NEAR(f.x(), c * W / 9 + D * c / 8, 1e-9) << "column " << c;
        EXPECT_NEAR(f.width(), W / 9, 1e-9);
    }
    EXPECT_NEAR(container->subviewAt(8)->frame().right(), W + D, 1e-9);
}

// --- Content modes ---

TEST(ContentMode, WorkedExampleFourHundredByThreeHundredInASquare)
{
    const QRectF bounds(0, 0, 200, 200);
    const QSizeF image(400, 300);

    expectRect(contentRect(ContentMode::ScaleAspectFit, bounds, image), 0, 25, 200, 150);
    expectRect(contentRect(ContentMode::ScaleAspectFill, bounds, image), -100.0 / 3, 0, 800.0 / 3, 200);
    expectRect(contentRect(ContentMode::Center, bounds, image), -100, -50, 400, 300);
    expectRect(contentRect(ContentMode::ScaleToFill, bounds, image), 0, 0, 200, 200);
    expectRect(contentRect(ContentMode::BottomRight, bounds, image), -200, -100, 400, 300);
}

TEST(ContentMode, EmptyContentGivesAnEmptyRectangle)
{
    EXPECT_TRUE(contentRect(ContentMode::ScaleAspectFit, QRectF(0, 0, 10, 10), QSizeF(0, 5)).isEmpty());
}

// --- Tree ---

TEST(ViewTree, AddingMovesToTheFrontAndReparents)
{
    auto a = std::make_shared<View>(), b = std::make_shared<View>();
    auto x = std::make_shared<View>(), y = std::make_shared<View>();
    a->addSubview(x);
    a->addSubview(y);

    a->addSubview(x);
    const View *frontAfterReAdd = a->subviewAt(1);
    b->addSubview(x);

    EXPECT_EQ(frontAfterReAdd, x.get());
    EXPECT_EQ(a->subviewCount(), 1);
    EXPECT_EQ(x->superview(), b.get());
}

TEST(ViewTree, ReorderingOperations)
{
    auto parent = std::make_shared<View>();
    std::vector<ViewPtr> v;
    for (int i = 0; i < 4; ++i) {
        v.push_back(std::make_shared<View>());
        v.back()->setTag(i);
        parent->addSubview(v.back());
    }
    auto order = [&] {
        std::string s;
        for (const ViewPtr &c : parent->subviews())
            s += char('0' + c->tag());
        return s;
    };

    parent->bringSubviewToFront(v[0].get());
    EXPECT_EQ(order(), "1230");
    parent->sendSubviewToBack(v[3].get());
    EXPECT_EQ(order(), "3120");
    parent->insertSubview(v[0], 1);
    EXPECT_EQ(order(), "3012");
    parent->insertSubviewAbove(v[3], v[1].get());
    EXPECT_EQ(order(), "0132");
    parent->insertSubviewBelow(v[2], v[0].get());
    EXPECT_EQ(order(), "2013");
    v[1]->removeFromSuperview();
    EXPECT_EQ(order(), "203");
    EXPECT_EQ(v[1]->superview(), nullptr);
}

TEST(ViewTree, AViewCannotBecomeItsOwnAncestor)
{
    auto a = std::make_shared<View>(), b = std::make_shared<View>();
    a->addSubview(b);

    b->addSubview(a);
    a->addSubview(a);

    EXPECT_EQ(a->superview(), nullptr);
    EXPECT_EQ(b->subviewCount(), 0);
}

TEST(ViewTree, RemovedViewStaysAliveWhileAScreenHoldsIt)
{
    auto parent = std::make_shared<View>();
    std::weak_ptr<View> weak;
    {
        auto child = std::make_shared<View>();
        weak = child;
        parent->addSubview(child);
    }

    ViewPtr held = weak.lock();
    held->removeFromSuperview();
    const bool aliveWhileHeld = !weak.expired();
    held.reset();

    EXPECT_TRUE(aliveWhileHeld);
    EXPECT_TRUE(weak.expired());
}

TEST(ViewWithTag, FindsItselfFirstThenDepthFirstPreOrder)
{
    auto root = std::make_shared<View>();
    root->setTag(7);
    auto first = std::make_shared<View>(), second = std::make_shared<View>();
    auto deep = std::make_shared<View>();
    first->setTag(1);
    deep->setTag(5);
    second->setTag(5);
    root->addSubview(first);
    root->addSubview(second);
    first->addSubview(deep);

    EXPECT_EQ(root->viewWithTag(7), root.get());
    EXPECT_EQ(root->viewWithTag(5), deep.get()); // the first subtree is searched completely first
    EXPECT_EQ(second->viewWithTag(5), second.get());
    EXPECT_EQ(root->viewWithTag(99), nullptr);
}

// --- Hit testing ---

TEST(HitTest, GoesThroughARotatedView)
{
    auto window = std::make_shared<View>(QRectF(0, 0, 300, 300));
    auto bar = viewWithBoundsAndCentre(100, 20, QPointF(100, 100));
    bar->setTransform(kQuarterTurn);
    window->addSubview(bar);

    expectPoint(bar->fromSuperview(QPointF(100, 140)), 90, 10);
    EXPECT_EQ(window->hitTest(QPointF(100, 140)), bar.get());
    expectPoint(bar->fromSuperview(QPointF(140, 100)), 50, -30);
    EXPECT_EQ(window->hitTest(QPointF(140, 100)), window.get());
}

TEST(HitTest, GoesThroughAScaledAndRotatedSubtree)
{
    auto window = std::make_shared<View>(QRectF(0, 0, 400, 400));
    auto a = viewWithBoundsAndCentre(200, 200, QPointF(200, 200));
    a->setTransform(AffineTransform::makeScale(2, 2));
    auto b = viewWithBoundsAndCentre(20, 20, QPointF(50, 50));
    b->setTransform(kQuarterTurn);
    window->addSubview(a);
    a->addSubview(b);

    // b's local (1, 1) lands at window (118, 82) (its top-left corner turned to the top right).
    EXPECT_EQ(window->hitTest(QPointF(118, 82)), b.get());
    EXPECT_EQ(window->hitTest(QPointF(122, 78)), a.get());
}

TEST(HitTest, HalfOpenEdgesAndFrontMostFirst)
{
    auto window = std::make_shared<View>(QRectF(0, 0, 100, 100));
    auto back = std::make_shared<View>(QRectF(0, 0, 50, 50));
    auto front = std::make_shared<View>(QRectF(25, 25, 50, 50));
    window->addSubview(back);
    window->addSubview(front);

    EXPECT_EQ(window->hitTest(QPointF(30, 30)), front.get());
    EXPECT_EQ(window->hitTest(QPointF(10, 10)), back.get());
    EXPECT_EQ(window->hitTest(QPointF(75, 75)), window.get()); // the maximum edge is outside
    EXPECT_EQ(window->hitTest(QPointF(100, 50)), nullptr);
}

TEST(HitTest, HiddenTransparentAndNonInteractiveSubtreesAreSkipped)
{
    auto window = std::make_shared<View>(QRectF(0, 0, 100, 100));
    auto parent = std::make_shared<View>(QRectF(0, 0, 100, 100));
    auto child = std::make_shared<View>(QRectF(0, 0, 50, 50));
    window->addSubview(parent);
    parent->addSubview(child);

    parent->setAlpha(0.009);
    EXPECT_EQ(window->hitTest(QPointF(10, 10)), window.get());
    parent->setAlpha(0.01);
    EXPECT_EQ(window->hitTest(QPointF(10, 10)), child.get());
    parent->setHidden(true);
    EXPECT_EQ(window->hitTest(QPointF(10, 10)), window.get());
    parent->setHidden(false);
    parent->setUserInteractionEnabled(false);
    EXPECT_EQ(window->hitTest(QPointF(10, 10)), window.get());
}

TEST(HitTest, ImageViewsTakeNoTouchesUntilSwitchedOn)
{
    auto window = std::make_shared<View>(QRectF(0, 0, 100, 100));
    auto imageView = std::make_shared<ImageView>(QRectF(0, 0, 100, 100));
    auto button = std::make_shared<View>(QRectF(10, 10, 20, 20));
    window->addSubview(imageView);
    imageView->addSubview(button);

    EXPECT_EQ(window->hitTest(QPointF(15, 15)), window.get());
    imageView->setUserInteractionEnabled(true);
    EXPECT_EQ(window->hitTest(QPointF(15, 15)), button.get());
}

TEST(HitTest, ClippingDoesNotChangeWhatIsHit)
{
    auto window = std::make_shared<View>(QRectF(0, 0, 200, 200));
    auto parent = std::make_shared<View>(QRectF(0, 0, 100, 100));
    auto child = std::make_shared<View>(QRectF(80, 80, 50, 50));
    window->addSubview(parent);
    parent->addSubview(child);

    for (bool clips : {false, true}) {
        parent->setClipsToBounds(clips);
        EXPECT_EQ(window->hitTest(QPointF(120, 120)), window.get());
        EXPECT_EQ(window->hitTest(QPointF(90, 90)), child.get());
    }
}

TEST(HitTest, AViewScaledToNothingIsNeverHit)
{
    auto window = std::make_shared<View>(QRectF(0, 0, 100, 100));
    auto flat = std::make_shared<View>(QRectF(0, 0, 100, 100));
    flat->setTransform(AffineTransform::makeScale(0, 0));
    window->addSubview(flat);

    EXPECT_EQ(window->hitTest(QPointF(50, 50)), window.get());
}
