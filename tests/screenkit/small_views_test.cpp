// The colour picker reads the palette pixel under the lifted finger at any picture scale and
// recolours only what it was told of; the reflection strip and the gradient view draw their
// gradients where they should.

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/resources.h"
#include "support/pixel_compare.h"
#include "ui/headless_host.h"
#include "ui/image_view.h"
#include "screenkit/color_picker_view_controller.h"
#include "screenkit/my_drawing_view.h"
#include "screenkit/reflection_view.h"

using namespace vimora;
using vimora::test::pixelAt;

namespace {

// Pixel (x, y) holds x and y in its low bytes and their ninth bits in blue: every pixel of a
// 468 x 468 palette is told apart.
QImage coordinatePalette(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, qRgb(x & 0xff, y & 0xff, ((x >> 8) & 1) | (((y >> 8) & 1) << 1)));
    return image;
}

QPoint decoded(const QColor &c)
{
    return {c.red() | ((c.blue() & 1) << 8), c.green() | (((c.blue() >> 1) & 1) << 8)};
}

// A resource folder holding only the palettes, at scale 1 and 2.
class PickerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = Resources::directory();
        ASSERT_TRUE(coordinatePalette(234).save(m_dir.filePath("colorpickerBig.png")));
        ASSERT_TRUE(coordinatePalette(468).save(m_dir.filePath("colorpickerBig@2x.png")));
        Resources::setDirectory(m_dir.path());
    }
    void TearDown() override
    {
        Resources::setPreferredScale(1);
        Resources::setDirectory(m_previous);
    }

    QTemporaryDir m_dir;
    QString m_previous;
};

// A soft-edged disc: opaque inside, half transparent on a ring, clear outside.
Picture discLayer()
{
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const double r = std::hypot(x - 19.5, y - 19.5);
            if (r < 12)
                image.setPixel(x, y, qRgba(30, 200, 90, 255));
            else if (r < 16)
                image.setPixel(x, y, qPremultiply(qRgba(30, 200, 90, 128)));
        }
    return Picture(image);
}

Picture solidPalette(QRgb colour)
{
    QImage image(234, 234, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return Picture(image);
}

} // namespace

TEST_F(PickerTest, ReadsThePixelUnderTheLiftedFingerAtEitherScale)
{
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        Resources::setPreferredScale(scale);
        ColorPickerViewController picker;
        picker.buildColorPickerViewBig(QRectF(15, 55, 250, 250));
        ASSERT_EQ(picker.palette()->image().scale(), scale);

        ASSERT_TRUE(picker.pickAt(QPointF(100, 120)));
        EXPECT_EQ(picker.lastPoint(), QPointF(100, 100));
        EXPECT_EQ(decoded(*picker.color()), QPoint(100, 100) * scale);
        ASSERT_TRUE(picker.pickAt(QPointF(233, 253)));
        EXPECT_EQ(decoded(*picker.color()), QPoint(233, 233) * scale);
    }
}

TEST_F(PickerTest, DoubleTapsAndPointsOffThePaletteChangeNothing)
{
    ColorPickerViewController picker;
    picker.buildColorPickerViewBig(QRectF(0, 0, 250, 250));
    ASSERT_TRUE(picker.pickAt(QPointF(10, 30)));
    const QColor first = *picker.color();

    EXPECT_FALSE(picker.pickAt(QPointF(50, 80), 2));
    EXPECT_FALSE(picker.pickAt(QPointF(50, 10)));  // lifted above the palette
    EXPECT_FALSE(picker.pickAt(QPointF(240, 80))); // on the swatch
    EXPECT_FALSE(picker.pickAt(QPointF(-3, 80)));
    EXPECT_EQ(*picker.color(), first);
}

TEST_F(PickerTest, ATouchOnTheScreenPicksThroughTheContainer)
{
    ui::HeadlessHost host(QSizeF(768, 1024));
    auto root = std::make_shared<ui::View>(QRectF(0, 0, 768, 1024));
    host.setRootView(root);
    ColorPickerViewController picker;
    picker.buildColorPickerViewBig(QRectF(15, 55, 250, 250));
    root->addSubview(picker.colorPickerView());
    EXPECT_EQ(picker.colorPickerView()->tag(), kColorPickerViewTag);

    host.tap(QPointF(15 + 40, 55 + 70));
    ASSERT_TRUE(picker.color());
    EXPECT_EQ(decoded(*picker.color()), QPoint(40, 50));
}

TEST(ColourPicking, TextLayersBecomeSilhouettesOfEachPickedColourKeepingTheirEdges)
{
    const Picture disc = discLayer();
    auto layers = std::make_shared<ui::View>(QRectF(0, 0, 300, 300));
    auto chosen = std::make_shared<ui::ImageView>(disc);
    chosen->setTag(10003);
    auto other = std::make_shared<ui::ImageView>(disc);
    other->setTag(10004);
    // A layer wrapped in a holder (with its handles) is found inside it.
    auto holder = std::make_shared<ui::View>(QRectF(0, 0, 60, 60));
    holder->addSubview(chosen);
    layers->addSubview(holder);
    layers->addSubview(other);

    ColorPickerViewController picker;
    picker.buildColorPickerViewBig(QRectF(0, 0, 250, 250));
    picker.setCutImgView(layers);
    picker.giveNum(10003);
    int told = 0;
    picker.setColorPicked([&](const QColor &) { ++told; });

    for (QRgb colour : {qRgb(255, 0, 0), qRgb(0, 0, 255)}) {
        // The palette is replaced by one colour so the pick is known.
        const_cast<ui::ImageView *>(picker.palette())->setImage(solidPalette(colour));
        ASSERT_TRUE(picker.pickAt(QPointF(50, 70)));
        const QImage after = chosen->image().bitmap();
        ASSERT_EQ(after.size(), disc.bitmap().size());
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const int alpha = qAlpha(disc.bitmap().pixel(x, y));
                const QRgb got = pixelAt(after, x, y);
                ASSERT_EQ(qAlpha(got), alpha) << x << "," << y;
                ASSERT_EQ(got, qPremultiply(qRgba(qRed(colour), qGreen(colour), qBlue(colour), alpha))) << x << "," << y;
            }
    }
    EXPECT_EQ(told, 2);
    EXPECT_EQ(other->image().bitmap().cacheKey(), disc.bitmap().cacheKey());
}

TEST(ColourPicking, PreviewFramesTakeTheColourAsBackgroundAndOtherTagsOnlyTheSwatch)
{
    auto panel = std::make_shared<ui::View>(QRectF(0, 0, 300, 300));
    auto frameHolder = std::make_shared<ui::View>(QRectF(0, 0, 100, 100));
    auto frame = std::make_shared<ui::View>(QRectF(0, 0, 50, 50));
    frame->setTag(kPickerPreviewFrameTag);
    frameHolder->addSubview(frame);
    auto bystander = std::make_shared<ui::View>(QRectF(0, 0, 10, 10));
    panel->addSubview(frameHolder);
    panel->addSubview(bystander);

    ColorPickerViewController picker;
    picker.buildColorPickerViewBig(QRectF(0, 0, 250, 250));
    const_cast<ui::ImageView *>(picker.palette())->setImage(solidPalette(qRgb(0, 128, 0)));
    picker.setDescripImg2(panel);

    picker.giveNum(13);
    ASSERT_TRUE(picker.pickAt(QPointF(5, 25)));
    EXPECT_FALSE(frameHolder->backgroundColor().isValid() && frameHolder->backgroundColor().alpha() > 0);

    picker.giveNum(kPickerPreviewFrameTag);
    ASSERT_TRUE(picker.pickAt(QPointF(5, 25)));
    EXPECT_EQ(frameHolder->backgroundColor().rgb(), qRgb(0, 128, 0));
    EXPECT_FALSE(bystander->backgroundColor().isValid() && bystander->backgroundColor().alpha() > 0);
}

TEST(SmallViews, TheReflectionShowsABlackFootWhiteAboveItFadingToBlackAtTheTop)
{
    auto parent = std::make_shared<ui::View>(QRectF(0, 0, 10, 100));
    auto strip = std::make_shared<ReflectionView>(QRectF(0, 0, 10, 100));
    parent->addSubview(strip);
    strip->setImage(discLayer());
    EXPECT_EQ(strip->image().size(), QSizeF(40, 40));
    const QImage shown = parent->renderToPicture(QSizeF(10, 100)).bitmap();

    // Mirrored: the strip's top fifth (black) is at the bottom of the screen.
    EXPECT_EQ(pixelAt(shown, 5, 99), 0xff000000u);
    EXPECT_EQ(pixelAt(shown, 5, 81), 0xff000000u);
    EXPECT_GE(qRed(pixelAt(shown, 5, 79)), 250);
    EXPECT_LE(qRed(pixelAt(shown, 5, 1)), 5);
    // Fading steadily towards the top.
    EXPECT_GT(qRed(pixelAt(shown, 5, 60)), qRed(pixelAt(shown, 5, 30)));
    EXPECT_NEAR(qRed(pixelAt(shown, 5, 40)), 255 * 40.5 / 80, 4);
}

TEST(SmallViews, TheDrawingViewKeepsItsTouchAndPaintsThreeStops)
{
    ui::HeadlessHost host(QSizeF(200, 200));
    auto view = std::make_shared<MyDrawingView>(QRectF(0, 0, 200, 200), 100, 50, 200);
    host.setRootView(view);
    host.drag(QPointF(10, 20), QPointF(60, 90), 5, 0.1);
    EXPECT_EQ(view->fromPoint(), QPointF(10, 20));
    EXPECT_EQ(view->toPoint(), QPointF(60, 90));

    const QImage shown = view->renderToPicture(QSizeF(200, 200)).bitmap();
    EXPECT_GE(qBlue(pixelAt(shown, 0, 0)), 250);
    EXPECT_GE(qRed(pixelAt(shown, 0, 0)), 250);
    const QRgb middle = pixelAt(shown, 50, 50);
    EXPECT_NEAR(qRed(middle), 100, 3);
    EXPECT_NEAR(qGreen(middle), 50, 3);
    EXPECT_NEAR(qBlue(middle), 200, 3);
    // Past the end the last stop continues: the colour brightened by half, capped.
    const QRgb corner = pixelAt(shown, 199, 199);
    EXPECT_NEAR(qRed(corner), 150, 3);
    EXPECT_NEAR(qGreen(corner), 75, 3);
    EXPECT_EQ(qBlue(corner), 255);
}
