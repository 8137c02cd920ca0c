// Typing, rendering and placing text layers, and the edit panel's size and transparency.

#include <cmath>

#include <QElapsedTimer>

#include "text/font_names.h"
#include "text/text_layout.h"
#include "text_fixture.h"

namespace vimora::test {
namespace {

using text::kFirstLayerTag;

/// How many pixels of the picture are mostly red and opaque.
int redPixels(const Picture &picture)
{
    const QImage image = picture.bitmap();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qAlpha(p) > 128 && qRed(p) > 128 && qGreen(p) < 80 && qBlue(p) < 80;
        }
    return count;
}

TEST(TextLayout, PhoneRendersAtThreeAndThreeQuartersAndPlacesTwoHundredWide)
{
    const QRectF render = text::renderFrame(QSizeF(240, 50), DeviceProfile::Phone480);
    const QRectF layer = text::layerFrame(render.size(), DeviceProfile::Phone480);

    EXPECT_EQ(render, QRectF(0, 0, 900, 187.5));
    EXPECT_DOUBLE_EQ(layer.width(), 200);
    EXPECT_NEAR(layer.height(), 41.67, 0.005);
}

TEST(TextLayout, TabletLayerKeepsTheBoxSize)
{
    const QRectF render = text::renderFrame(QSizeF(400, 50), DeviceProfile::Tablet);

    EXPECT_EQ(render, QRectF(0, 0, 1000, 125));
    EXPECT_EQ(text::layerFrame(render.size(), DeviceProfile::Tablet).size(), QSizeF(400, 50));
}

TEST(TextLayout, NewLayerSitsLeftOfCentreThirtyBelowTheTopAndOnScreen)
{
    // Tablet: exactly 80 left of the centre.
    EXPECT_EQ(text::layerCentreOnScreen(768, QSizeF(400, 50)), QPointF(304, 55));
    // Phone: 80 left of the centre would put 20 points off the left edge.
    EXPECT_EQ(text::layerCentre(160, 41.67), QPointF(80, 41.67 / 2 + 30));
    EXPECT_EQ(text::layerCentreOnScreen(320, QSizeF(200, 41.67)), QPointF(100, 41.67 / 2 + 30));
}

TEST(TextLayout, ANewLayerLandsCentredInItsAreaAndShrinksToFit)
{
    EXPECT_EQ(text::landedFrame(QSizeF(100, 40), QRectF(0, 300, 600, 400)), QRectF(250, 480, 100, 40));
    EXPECT_EQ(text::landedFrame(QSizeF(400, 100), QRectF(10, 10, 200, 200)), QRectF(10, 85, 200, 50))
        << "too wide: shrunk, shape kept";
    EXPECT_EQ(text::landedFrame(QSizeF(80, 20), QRectF()), QRectF(-40, -10, 80, 20)) << "no area: size kept";
}

TEST(TextEntry, PhoneDoneRendersTheFittedBoxEnlargedIntoATwoHundredPointLayer)
{
    TextScreen s(DeviceProfile::Phone480);
    s.table->noteViewOpen();
    s.type(QStringLiteral("Hello"));
    const double fitted = s.table->entry().noteTextView().contentSize().height();

    s.table->inputTextDone();

    ui::ImageView *layer = s.table->tView();
    ASSERT_NE(layer, nullptr);
    const QRectF render = s.table->entry().renderFrame();
    EXPECT_DOUBLE_EQ(render.width(), 240 * 3.75);
    EXPECT_DOUBLE_EQ(render.height(), fitted * 3.75);
    EXPECT_EQ(layer->image().size(), render.size());
    EXPECT_DOUBLE_EQ(layer->frame().width(), 200);
    EXPECT_NEAR(layer->frame().height(), 200 * render.height() / render.width(), 1e-9);
    EXPECT_NEAR(layer->frame().top(), 30, 1e-9);
    EXPECT_EQ(s.table->tViewSize(), layer->frame().size());
    EXPECT_GT(redPixels(layer->image()), 100);
    EXPECT_EQ(qAlpha(layer->image().bitmap().pixel(0, 0)), 0) << "the background is transparent";
    EXPECT_TRUE(s.table->entry().textBack().isHidden());
}

TEST(TextEntry, LayersAreTaggedFromTenThousandAndTheEditPanelFollowsTheLastTap)
{
    TextScreen s(DeviceProfile::Tablet);
    ui::ImageView *first = s.makeLayer(QStringLiteral("one"));
    s.table->colorChoose();
    ui::ImageView *second = s.makeLayer(QStringLiteral("two"));
    s.table->colorChoose();
    second->setCenter(first->center() + QPointF(0, 200));

    s.host.tap(TextScreen::inkOf(*first));
    s.host.advance(0.5);
    s.press(QStringLiteral("-"));

    EXPECT_EQ(first->tag(), kFirstLayerTag);
    EXPECT_EQ(second->tag(), kFirstLayerTag + 1);
    EXPECT_EQ(s.table->tViewTag(), kFirstLayerTag + 2);
    EXPECT_EQ(s.table->detectTag(), kFirstLayerTag);
    EXPECT_DOUBLE_EQ(first->transform().a, 0.95);
    EXPECT_TRUE(second->transform().isIdentity());
}

TEST(TextEntry, EmptyTextMakesNoLayerAndKeepsTheBoxOpen)
{
    TextScreen s(DeviceProfile::Phone480);
    s.table->noteViewOpen();

    s.table->inputTextDone();
    s.type(QStringLiteral("   "));
    s.table->inputTextDone();

    EXPECT_EQ(s.table->tView(), nullptr);
    EXPECT_EQ(s.table->tViewTag(), kFirstLayerTag);
    EXPECT_TRUE(s.table->entry().isOpen());
    EXPECT_FALSE(s.table->textInputDone());
}

TEST(TextEntry, ComposedAccentedAndEmojiTextRenders)
{
    TextScreen s(DeviceProfile::Tablet);
    for (const QString &text : {QStringLiteral("日本語の文字"), QStringLiteral("中文字"),
             QStringLiteral("Crème brûlée ñ"), QStringLiteral("Party \U0001F389 \U0001F600")}) {
        ui::ImageView *layer = s.makeLayer(text);

        ASSERT_NE(layer, nullptr) << qPrintable(text);
        EXPECT_EQ(s.table->entry().noteTextView().text(), text);
        EXPECT_GT(redPixels(layer->image()), 50) << qPrintable(text);
        s.table->colorChoose();
    }
}

TEST(TextEntry, TenThousandCharactersRenderBounded)
{
    TextScreen s(DeviceProfile::Phone480);
    ui::ImageView *layer = s.makeLayer(QString(10000, QLatin1Char('W')));

    ASSERT_NE(layer, nullptr);
    EXPECT_LE(layer->image().size().height(), text::kMaxRenderHeight);
    EXPECT_DOUBLE_EQ(layer->image().size().width(), 900);
}

TEST(TextEntry, FontChooserTakesAnInstalledEntryAndUnknownNamesFallBack)
{
    TextScreen s(DeviceProfile::Tablet);
    s.table->noteViewOpen();
    ASSERT_GT(s.table->wAryE().size(), 13);
    EXPECT_EQ(s.table->fontNam(), s.table->wAryE().at(13));

    s.table->fontViewOpen();
    s.table->fontType(1);

    EXPECT_EQ(s.table->fontNam(), s.table->wAryE().at(1));
    EXPECT_EQ(s.table->entry().noteTextView().font().family(), s.table->wAryE().at(1));
    EXPECT_TRUE(s.views->wordView->isHidden());
    EXPECT_EQ(text::fontNamed(QStringLiteral("No Such Family 42"), 20).family(), text::defaultFontFamily());
    EXPECT_TRUE(text::isFontInstalled(text::defaultFontFamily()));
}

TEST(TextEntry, UnknownFontStillRendersTheText)
{
    TextScreen s(DeviceProfile::Tablet);
    s.table->noteViewOpen();
    s.type(QStringLiteral("fallback"));

    const Picture rendered = s.table->entry().screenShotTextView(QStringLiteral("No Such Family 42"));

    EXPECT_GT(redPixels(rendered), 100);
}

TEST(EditPanel, MinusThreeTimesAndPlusThenMinusScaleAsMultiplied)
{
    TextScreen s(DeviceProfile::Tablet);
    ui::ImageView *layer = s.makeLayer(QStringLiteral("size"));

    for (int i = 0; i < 3; ++i)
        s.table->wordSize(QStringLiteral("-"));
    const double afterThree = layer->transform().a;
    layer->setTransform({});
    s.table->wordSize(QStringLiteral("+"));
    s.table->wordSize(QStringLiteral("-"));

    EXPECT_NEAR(afterThree, 0.857375, 1e-12);
    EXPECT_NEAR(layer->transform().a, 0.9975, 1e-12);
    EXPECT_NE(layer->transform().a, 1.0);
}

TEST(EditPanel, TransparencyZeroHidesTheLayerButItStillTakesTaps)
{
    TextScreen s(DeviceProfile::Tablet);
    ui::ImageView *layer = s.makeLayer(QStringLiteral("fade"));
    const QPointF where = layer->center();
    s.table->colorChoose();
    s.host.tap(TextScreen::inkOf(*layer));
    s.host.advance(0.5);
    ui::Slider *slider = s.table->panel().backPhotoSlider();
    ASSERT_NE(slider, nullptr);

    slider->setValue(0);
    s.table->adjustTransparent();
    s.table->colorChoose();
    s.host.advance(2);
    s.table->layers().setDetectTag(0);
    s.host.tap(TextScreen::inkOf(*layer));

    EXPECT_LT(layer->alpha(), 0.02);
    EXPECT_EQ(layer->center(), where);
    EXPECT_EQ(s.table->detectTag(), layer->tag()) << "the tap reached the faded layer";
    EXPECT_FALSE(s.views->wordView->isHidden());
}

} // namespace
} // namespace vimora::test
