// Corner handles, dragging, pinching, deleting and the transform commands.

#include "imaging/geometry.h"
#include "support/pixel_compare.h"
#include "text/text_layout.h"
#include "text_fixture.h"
#include "ui/affine_transform.h"

#include <QKeyEvent>

namespace vimora::test {
namespace {

using text::Corner;

QPointF handleCentre(TextScreen &s, Corner corner)
{
    ui::ImageView *handle = s.table->handles().handle(corner);
    return handle ? TextScreen::centreOf(*handle) : QPointF();
}

TEST(TextBoxHandles, KeepTheBoxAtLeastFortyPointsWide)
{
    TextScreen s(DeviceProfile::Tablet);
    s.table->noteViewOpen();
    ui::TextView &box = s.table->entry().noteTextView();
    const QRectF before = box.frame();
    const QPointF rd = handleCentre(s, Corner::RightLower);
    ASSERT_EQ(rd, before.bottomRight());

    // One step each: a slow drag would pass through the sizes between.
    s.host.drag(rd, QPointF(before.left() + 30, rd.y()), 1);
    const QRectF afterThirty = box.frame();
    s.host.drag(handleCentre(s, Corner::RightLower), QPointF(before.left() + 41, rd.y()), 1);

    EXPECT_EQ(afterThirty, before);
    EXPECT_EQ(box.frame(), QRectF(before.topLeft(), QSizeF(41, before.height())));
    EXPECT_EQ(handleCentre(s, Corner::RightLower), box.frame().bottomRight()) << "the handles follow the corners";
}

TEST(TextBoxHandles, DraggingTheBoxCarriesItsHandles)
{
    TextScreen s(DeviceProfile::Tablet);
    s.table->noteViewOpen();
    ui::TextView &box = s.table->entry().noteTextView();
    const QPointF start = box.center();

    s.host.drag(TextScreen::centreOf(box), TextScreen::centreOf(box) + QPointF(60, 120));

    EXPECT_EQ(box.center(), start + QPointF(60, 120));
    EXPECT_EQ(handleCentre(s, Corner::LeftUpper), box.frame().topLeft());
}

class TransformMode : public testing::Test {
protected:
    TransformMode()
        : s(DeviceProfile::Tablet)
    {
        layer = s.makeLayer(QStringLiteral("Transform me"));
        s.table->TransformExcute(1);
    }
    TextScreen s;
    ui::ImageView *layer = nullptr;
};

TEST_F(TransformMode, StartsWithTheHandlesOnTheLayersCornersAndItsToolsClearOfTheTop)
{
    const QRectF frame = layer->frame();

    EXPECT_TRUE(s.table->transformBegin());
    EXPECT_EQ(handleCentre(s, Corner::LeftUpper), frame.topLeft());
    EXPECT_EQ(handleCentre(s, Corner::RightLower), frame.bottomRight());
    ui::View *done = s.views->mainView->viewWithTag(kTransformDoneTag);
    ASSERT_NE(done, nullptr);
    const QRectF doneOnScreen = done->convertRectTo(done->bounds(), nullptr);
    const QRectF bar = s.table->transformBar().bar().convertRectTo(s.table->transformBar().bar().bounds(), nullptr);
    EXPECT_LE(doneOnScreen.bottom(), bar.top()) << "just above the transform bar";
    EXPECT_GT(doneOnScreen.top(), 100) << "away from the controls along the top";
    EXPECT_TRUE(QRectF(QPointF(0, 0), Device::screenSize()).contains(doneOnScreen));
    EXPECT_TRUE(s.table->transformBar().isShown());
    EXPECT_TRUE(s.views->wordView->isHidden());
}

TEST_F(TransformMode, LeftUpperHandlePastTheRightEdgeGivesANegativeWidth)
{
    const QPointF lu = handleCentre(s, Corner::LeftUpper);
    const double right = layer->frame().right();

    s.host.drag(lu, QPointF(right + 60, lu.y() + 10));

    EXPECT_DOUBLE_EQ(layer->frame().width(), -60);
    EXPECT_DOUBLE_EQ(layer->frame().left(), right + 60);
    EXPECT_NO_FATAL_FAILURE(s.host.render());
}

TEST_F(TransformMode, FinishingKeepsTheLayerWhereTheUserLeftItAndItsNewSize)
{
    const QRectF before = layer->frame();
    s.host.drag(TextScreen::inkOf(*layer), TextScreen::inkOf(*layer) + QPointF(100, 300));
    const QPointF rd = handleCentre(s, Corner::RightLower);
    s.host.drag(rd, rd + QPointF(40, 20));
    const QRectF placed = layer->frame();

    s.table->finishTransform();

    EXPECT_EQ(placed.topLeft(), before.topLeft() + QPointF(100, 300)) << "the corner drag kept the moved corner";
    EXPECT_EQ(placed.size(), before.size() + QSizeF(40, 20));
    EXPECT_EQ(layer->frame(), placed);
    EXPECT_FALSE(s.table->transformBegin());
    EXPECT_EQ(s.table->handles().handle(Corner::LeftUpper), nullptr);
    EXPECT_EQ(s.views->mainView->viewWithTag(kTransformDoneTag), nullptr);
    EXPECT_FALSE(s.table->transformBar().isShown());
    EXPECT_FALSE(s.views->wordView->isHidden());
}

TEST_F(TransformMode, FlipsChangeThePictureAndLaterRotationsKeepThem)
{
    const Picture first = s.table->layers().original(layer->tag());

    s.table->TransformExcute(3);
    const Picture flipped = layer->image();
    s.table->finishTransform();
    s.table->TransformExcute(13); // the colour panel's rotation slider, at 0

    EXPECT_TRUE(imagesEqual(flipped.bitmap(), horizontalFlip(first).bitmap()));
    EXPECT_TRUE(imagesEqual(layer->image().bitmap(), horizontalFlip(first).bitmap()));
}

TEST_F(TransformMode, SkewAndBulgeStartFromTheFirstRender)
{
    const Picture first = s.table->layers().original(layer->tag());
    s.table->transformBar().tSlider().setValue(0.5);
    s.table->TransformExcute(11);
    const QSizeF skewedOnce = layer->image().size();

    s.table->TransformExcute(11);

    EXPECT_GT(skewedOnce.height(), first.size().height());
    EXPECT_EQ(layer->image().size(), skewedOnce) << "a second skew does not add to the first";
    s.table->transformBar().tSlider().setValue(0);
    s.table->TransformExcute(11);
    EXPECT_EQ(layer->image().size(), first.size());
}

TEST_F(TransformMode, ResetRestoresTheLayerAndEndsTheTransformWithIt)
{
    const Picture first = s.table->layers().original(layer->tag());
    s.table->transformBar().tSlider().setValue(0.5);
    s.table->TransformExcute(text::kSkewHorizontalTag);
    s.table->TransformExcute(text::kRestoreTag);

    EXPECT_TRUE(imagesEqual(layer->image().bitmap(), first.bitmap()));
    EXPECT_EQ(s.table->transformBar().tSlider().value(), 0);
    // The colour panel comes back and the bar goes: closing the panel then leaves no bar open
    // under the toolbar.
    EXPECT_FALSE(s.table->transformBegin());
    EXPECT_FALSE(s.table->transformBar().isShown());
    s.table->colorChoose();
    EXPECT_FALSE(s.table->transformBar().isShown());
}

class PlacedLayer : public testing::Test {
protected:
    PlacedLayer()
        : s(DeviceProfile::Tablet)
    {
        layer = s.makeLayer(QStringLiteral("Rotate me"));
    }
    void rotateTo(double degrees)
    {
        s.table->panel().kSlider()->setValue(degrees);
        s.table->TransformExcute(13);
    }
    TextScreen s;
    ui::ImageView *layer = nullptr;
};

TEST_F(PlacedLayer, RotationThirtyThenFortyFiveGivesFortyFive)
{
    const Picture first = s.table->layers().original(layer->tag());

    rotateTo(30);
    rotateTo(45);

    EXPECT_TRUE(imagesEqual(layer->image().bitmap(), rotateInDegrees(first, 45).bitmap()));
    EXPECT_NE(layer->image().size(), rotateInDegrees(first, 75).size());
}

TEST_F(PlacedLayer, RotationKeepsTheLayersScaleInsteadOfSqueezingIntoTheOldFrame)
{
    const QSizeF before = layer->bounds().size();
    const QPointF centre = layer->center();

    rotateTo(90);

    const QSizeF after = layer->bounds().size();
    EXPECT_NEAR(after.width(), before.height(), 1.0);
    EXPECT_NEAR(after.height(), before.width(), 1.0);
    EXPECT_EQ(layer->center(), centre);
}

TEST_F(PlacedLayer, EachLayerRotatesFromItsOwnFirstRender)
{
    const Picture firstOwn = s.table->layers().original(layer->tag());
    s.table->colorChoose();
    s.makeLayer(QStringLiteral("x"));
    s.table->colorChoose();

    s.table->layers().select(*layer);
    s.table->colorSelectView();
    rotateTo(0);

    EXPECT_TRUE(imagesEqual(layer->image().bitmap(), firstOwn.bitmap()));
}

TEST_F(PlacedLayer, APinchThatStartsAgainStartsFromScaleOne)
{
    s.table->colorChoose();
    const QPointF centre = TextScreen::inkOf(*layer);

    s.host.pinch(centre, 100, {1.1, 1.2});
    const double once = layer->transform().a;
    const double lastAfterFirst = s.table->lastScale();
    s.host.advance(0.5);
    s.host.pinch(TextScreen::inkOf(*layer), 100, {1.1, 1.2});

    EXPECT_GT(once, 1.1);
    EXPECT_EQ(lastAfterFirst, 1.0);
    EXPECT_NEAR(layer->transform().a, once * once, 1e-9);
}

TEST_F(PlacedLayer, AHeldPressAsksBeforeDeletingAndCancelKeepsTheLayer)
{
    s.table->colorChoose();
    const QPointF at = TextScreen::inkOf(*layer);

    s.host.press(at, 1.0);
    const bool askedAfterShort = s.table->deleteQuestion() != nullptr;
    s.host.advance(0.5);
    s.host.press(at, 1.6);
    const bool asked = shownAlert(s.host) != nullptr;
    const bool keptWhileAsking = layer->superview() != nullptr;
    answerAlert(s.host, QStringLiteral("Cancel"));
    const bool keptAfterCancel = layer->superview() != nullptr;
    s.host.advance(0.5);
    s.host.press(at, 1.6);
    answerAlert(s.host, QStringLiteral("Delete"));

    EXPECT_FALSE(askedAfterShort);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(keptWhileAsking);
    EXPECT_TRUE(keptAfterCancel);
    EXPECT_TRUE(s.table->layers().layers().empty());
}

TEST_F(PlacedLayer, ATouchOnTheClearPartOfALayerReachesWhatLiesUnder)
{
    s.table->colorChoose();
    // Something under the layer, as a piece lies under text laid before a new cut.
    auto under = std::make_shared<ui::View>(layer->frame().adjusted(-40, -40, 40, 40));
    under->setUserInteractionEnabled(true);
    s.views->cutImgView->insertSubview(under, 0);
    const QImage pixels = layer->image().bitmap();
    const QSizeF size = layer->bounds().size();
    const double sx = pixels.width() / size.width(), sy = pixels.height() / size.height();
    auto inkNear = [&](QPointF p, double reach) {
        for (int y = std::max(0, int((p.y() - reach) * sy)); y < std::min(pixels.height(), int((p.y() + reach) * sy)); ++y)
            for (int x = std::max(0, int((p.x() - reach) * sx)); x < std::min(pixels.width(), int((p.x() + reach) * sx)); ++x)
                if (qAlpha(pixels.pixel(x, y)) > 0)
                    return true;
        return false;
    };
    std::optional<QPointF> ink, clear;
    for (double y = 1; y < size.height(); y += 2)
        for (double x = 1; x < size.width(); x += 2) {
            const QPointF p(x, y);
            if (!ink && qAlpha(pixels.pixel(int(x * sx), int(y * sy))) == 255)
                ink = p;
            if (!clear && !inkNear(p, text::TextLayerView::kGrabReach + 4))
                clear = p;
        }
    ASSERT_TRUE(ink.has_value());
    ASSERT_TRUE(clear.has_value()) << "the render leaves clear room beside short text";

    EXPECT_EQ(s.host.hitTest(layer->convertPointTo(*ink, nullptr)), layer);
    EXPECT_EQ(s.host.hitTest(layer->convertPointTo(*clear, nullptr)), under.get());
}

TEST_F(PlacedLayer, TheColourPanelClosesByEscapeAndByATapOutside)
{
    const bool openFirst = s.table->panel().isShown();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    s.host.pressKey(&escape);
    const bool afterEscape = s.table->panel().isShown();
    s.table->colorSelectView();
    const bool reopened = s.table->panel().isShown();
    const QRectF panel = s.views->wordView->frame();
    s.host.tap(QPointF(panel.right() + 20 < Device::screenSize().width() ? panel.right() + 20 : 5, 5));

    EXPECT_TRUE(openFirst);
    EXPECT_FALSE(afterEscape);
    EXPECT_TRUE(reopened);
    EXPECT_FALSE(s.table->panel().isShown());
    EXPECT_FALSE(s.views->selectTopView->isHidden()) << "the screen's toolbar is back";
}

} // namespace
} // namespace vimora::test

namespace vimora::test {
namespace {

/// The colour at the middle of a picture's opaque pixels (un-premultiplied).
QColor inkColour(const Picture &picture)
{
    const QImage image = picture.bitmap();
    for (int y = image.height() / 3; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255)
                return QColor::fromRgba(image.pixel(x, y));
    return {};
}

TEST_F(PlacedLayer, ATouchOnThePaletteRecoloursTheLayerAndRotationKeepsTheColour)
{
    ui::View *palette = s.table->panel().paletteView();
    ASSERT_NE(palette, nullptr);
    ASSERT_FALSE(palette->isHidden());
    // Bottom-left of the palette is dark; its right column is a grey ramp. Take a hue from the
    // middle of the top half, read 20 points above the finger.
    s.host.tap(palette->convertPointTo(QPointF(40, 100), nullptr));
    const std::optional<QColor> picked = s.table->panel().colorPicker()->color();
    ASSERT_TRUE(picked.has_value());
    const QColor recoloured = inkColour(layer->image());

    rotateTo(20);
    const QColor afterRotation = inkColour(layer->image());

    EXPECT_NE(recoloured, QColor(Qt::red));
    EXPECT_EQ(recoloured.rgb(), picked->rgb());
    EXPECT_EQ(afterRotation.rgb(), picked->rgb()) << "the rotation starts from the recoloured render";
}

} // namespace
} // namespace vimora::test
