// Corner handles, dragging, pinching, deleting and the transform commands.

#include "imaging/geometry.h"
#include "support/pixel_compare.h"
#include "text/text_layout.h"
#include "text_fixture.h"
#include "ui/affine_transform.h"

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

TEST_F(TransformMode, StartsWithTheHandlesOnATwoHundredPointSquareAndItsTools)
{
    const QPointF topLeft = layer->frame().topLeft();

    EXPECT_TRUE(s.table->transformBegin());
    EXPECT_EQ(handleCentre(s, Corner::LeftUpper), topLeft);
    EXPECT_EQ(handleCentre(s, Corner::RightLower), topLeft + QPointF(200, 200));
    EXPECT_NE(s.views->cutImgView->viewWithTag(kTransformDoneTag), nullptr);
    EXPECT_TRUE(s.table->transformBar().isShown());
    EXPECT_TRUE(s.views->wordView->isHidden());
}

TEST_F(TransformMode, LeftUpperHandlePastTheRightEdgeGivesANegativeWidth)
{
    const QPointF lu = handleCentre(s, Corner::LeftUpper);
    const double right = lu.x() + 200; // the square's right side until the first move

    s.host.drag(lu, QPointF(right + 60, lu.y() + 10));

    EXPECT_DOUBLE_EQ(layer->frame().width(), -60);
    EXPECT_DOUBLE_EQ(layer->frame().left(), right + 60);
    EXPECT_NO_FATAL_FAILURE(s.host.render());
}

TEST_F(TransformMode, FinishingReturnsTheLayerToItsCentreAndKeepsItsNewSize)
{
    const QPointF centre = layer->center();
    s.host.drag(TextScreen::centreOf(*layer), TextScreen::centreOf(*layer) + QPointF(100, 300));
    s.host.drag(handleCentre(s, Corner::RightLower), handleCentre(s, Corner::RightLower) + QPointF(40, 20));
    const QSizeF stretched = layer->frame().size();

    s.table->finishTransform();

    EXPECT_EQ(layer->center(), centre);
    EXPECT_EQ(layer->frame().size(), stretched);
    EXPECT_FALSE(s.table->transformBegin());
    EXPECT_EQ(s.table->handles().handle(Corner::LeftUpper), nullptr);
    EXPECT_EQ(s.views->cutImgView->viewWithTag(kTransformDoneTag), nullptr);
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
    const QPointF centre = TextScreen::centreOf(*layer);

    s.host.pinch(centre, 100, {1.1, 1.2});
    const double once = layer->transform().a;
    const double lastAfterFirst = s.table->lastScale();
    s.host.advance(0.5);
    s.host.pinch(TextScreen::centreOf(*layer), 100, {1.1, 1.2});

    EXPECT_GT(once, 1.1);
    EXPECT_EQ(lastAfterFirst, 1.0);
    EXPECT_NEAR(layer->transform().a, once * once, 1e-9);
}

TEST_F(PlacedLayer, AHeldPressDeletesTheLayerAndAShortOneDoesNot)
{
    s.table->colorChoose();
    const QPointF at = TextScreen::centreOf(*layer);

    s.host.press(at, 1.0);
    const bool afterShort = layer->superview() != nullptr;
    s.host.advance(0.5);
    s.host.press(at, 1.6);

    EXPECT_TRUE(afterShort);
    EXPECT_TRUE(s.table->layers().layers().empty());
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
