// Drawing and capture: exact pixels of small trees, transitions on the virtual clock.

#include <memory>

#include <QPainter>

#include <gtest/gtest.h>

#include "imaging/raster.h"
#include "support/pixel_compare.h"
#include "ui/headless_host.h"
#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/picture_drawing.h"
#include "ui/screen_drawing.h"
#include "ui/text_drawing.h"
#include "ui/stretchable_image.h"
#include "ui/transaction.h"
#include "ui/transition.h"

using namespace vimora;
using namespace vimora::ui;
using vimora::test::imagesEqual;
using vimora::test::pixelAt;
using vimora::test::positionCoded;

namespace {

const QRgb kBlack = 0xff000000, kRed = 0xffff0000, kGreen = 0xff00ff00, kBlue = 0xff0000ff, kWhite = 0xffffffff;

ViewPtr solidView(const QRectF &frame, QRgb color)
{
    auto v = std::make_shared<View>(frame);
    v->setBackgroundColor(QColor::fromRgba(color));
    return v;
}

QImage render(const View &view, int w, int h)
{
    return view.renderToPicture(QSizeF(w, h)).bitmap();
}

// The expected picture, built pixel by pixel from a rule.
template <typename Rule>
QImage expected(int w, int h, Rule rule)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, rule(x, y));
    return image;
}

} // namespace

// --- Capture ---

TEST(Capture, ClippedRotatedSubtreeExactPixels)
{
    // A: bounds 4 × 2 at centre (4, 4) turned a quarter clockwise covers x 3..4, y 2..5;
    // local (lx, ly) lands on (5 − ly, 2 + lx). B sticks out of A's left edge by 1.
    auto root = solidView(QRectF(0, 0, 8, 8), kBlack);
    auto a = solidView(QRectF(0, 0, 4, 2), kBlue);
    a->setCenter(QPointF(4, 4));
    a->setTransform(AffineTransform{0, 1, -1, 0, 0, 0});
    a->setClipsToBounds(true);
    auto b = solidView(QRectF(-1, 0, 3, 2), kGreen);
    root->addSubview(a);
    a->addSubview(b);

    const QImage clipped = render(*root, 8, 8);
    a->setClipsToBounds(false);
    const QImage unclipped = render(*root, 8, 8);

    EXPECT_TRUE(imagesEqual(clipped, expected(8, 8, [](int x, int y) {
        if (x < 3 || x > 4 || y < 2 || y > 5)
            return kBlack;
        return y < 4 ? kGreen : kBlue;
    })));
    EXPECT_TRUE(imagesEqual(unclipped, expected(8, 8, [](int x, int y) {
        if (x < 3 || x > 4 || y < 1 || y > 5)
            return kBlack;
        return y < 4 ? kGreen : kBlue;
    })));
}

TEST(Capture, DrawsInTheViewsOwnCoordinatesIgnoringItsPlace)
{
    auto view = solidView(QRectF(0, 0, 4, 4), kBlack);
    view->setCenter(QPointF(100, 100));
    view->setTransform(AffineTransform::makeScale(3, 3));
    view->setBounds(QRectF(2, 0, 4, 4)); // scrolled two points to the right
    view->addSubview(solidView(QRectF(2, 0, 2, 2), kRed));

    const QImage image = render(*view, 4, 4);

    // Local (x, y) lands on (x, y): what lies left of the bounds origin is off the surface.
    EXPECT_TRUE(imagesEqual(image, expected(4, 4, [](int x, int y) {
        if (x < 2)
            return QRgb(0);
        return y < 2 ? kRed : kBlack;
    })));
}

TEST(Capture, HiddenSubtreesAndTransparentViewsDrawNothing)
{
    auto root = solidView(QRectF(0, 0, 4, 4), kBlack);
    auto hidden = solidView(QRectF(0, 0, 2, 2), kRed);
    hidden->addSubview(solidView(QRectF(0, 0, 1, 1), kGreen));
    hidden->setHidden(true);
    auto clear = solidView(QRectF(2, 2, 2, 2), kRed);
    clear->setAlpha(0);
    root->addSubview(hidden);
    root->addSubview(clear);

    EXPECT_TRUE(imagesEqual(render(*root, 4, 4), expected(4, 4, [](int, int) { return kBlack; })));
}

TEST(Capture, BorderLiesInsideTheBoundsOverTheSubviews)
{
    auto view = solidView(QRectF(0, 0, 6, 6), kRed);
    view->addSubview(solidView(QRectF(0, 0, 6, 6), kGreen));
    view->setBorderWidth(1);
    view->setBorderColor(Qt::white);

    const QImage image = render(*view, 6, 6);

    EXPECT_TRUE(imagesEqual(image, expected(6, 6, [](int x, int y) {
        return x == 0 || y == 0 || x == 5 || y == 5 ? kWhite : kGreen;
    })));
}

TEST(Capture, AlphaFadesASubtreeAsOneGroup)
{
    auto root = solidView(QRectF(0, 0, 4, 1), kBlack);
    auto group = std::make_shared<View>(QRectF(0, 0, 4, 1));
    group->addSubview(solidView(QRectF(0, 0, 3, 1), kRed));
    group->addSubview(solidView(QRectF(1, 0, 3, 1), kBlue));
    group->setAlpha(0.5);
    root->addSubview(group);

    const QImage image = render(*root, 4, 1);

    // Where red lies under blue, no red shows through: the group was drawn first, then
    // faded. One unit of tolerance: the opacity is quantised to eight bits.
    EXPECT_LE(qRed(pixelAt(image, 2, 0)), 1);
    EXPECT_NEAR(qBlue(pixelAt(image, 2, 0)), 128, 1);
    EXPECT_NEAR(qRed(pixelAt(image, 0, 0)), 128, 1);
}

TEST(Capture, ShadowPathDarkensBeyondTheViewUnlessItClips)
{
    auto root = solidView(QRectF(0, 0, 60, 60), kWhite);
    auto piece = solidView(QRectF(15, 15, 30, 30), kRed);
    QPainterPath path;
    path.addRect(piece->bounds());
    piece->setShadowPath(path);
    piece->setShadowOffset(QPointF(-5, -5));
    piece->setShadowOpacity(0.5);
    root->addSubview(piece);

    const QImage shadowed = render(*root, 60, 60);
    piece->setClipsToBounds(true);
    const QImage clipped = render(*root, 60, 60);

    EXPECT_LT(qRed(pixelAt(shadowed, 12, 20)), 200); // left of the piece, inside the shadow
    EXPECT_EQ(pixelAt(shadowed, 55, 55), kWhite);     // the offset points up and left
    EXPECT_EQ(pixelAt(shadowed, 2, 30), kWhite);      // beyond three standard deviations
    EXPECT_EQ(pixelAt(clipped, 12, 20), kWhite);
}

TEST(Capture, DegenerateSizesGiveAClearResult)
{
    auto empty = std::make_shared<View>();
    auto imageView = std::make_shared<ImageView>(Picture());

    EXPECT_TRUE(empty->renderToPicture(QSizeF(0, 0)).isNull());
    EXPECT_EQ(imageView->frame(), QRectF(0, 0, 0, 0));
    EXPECT_EQ(imageView->renderToPicture(QSizeF(1, 1)).bitmap().pixel(0, 0), 0u);
}

// --- Pictures ---

TEST(ImageViewDrawing, AspectFillSpillsOutOfTheBoundsUnlessClipped)
{
    // A 4 × 2 picture aspect-filled into 2 × 2 at (2, 2) lands on x 1..4, y 2..3.
    const QImage source = positionCoded(4, 2);
    auto root = solidView(QRectF(0, 0, 8, 6), kBlack);
    auto imageView = std::make_shared<ImageView>(QRectF(2, 2, 2, 2));
    imageView->setImage(Picture(source));
    imageView->setContentMode(ContentMode::ScaleAspectFill);
    root->addSubview(imageView);

    const QImage spilled = render(*root, 8, 6);
    imageView->setClipsToBounds(true);
    const QImage clipped = render(*root, 8, 6);

    auto rule = [&](int firstColumn, int lastColumn) {
        return [=, &source](int x, int y) {
            if (x < firstColumn || x > lastColumn || y < 2 || y > 3)
                return kBlack;
            return pixelAt(source, x - 1, y - 2);
        };
    };
    EXPECT_TRUE(imagesEqual(spilled, expected(8, 6, rule(1, 4))));
    EXPECT_TRUE(imagesEqual(clipped, expected(8, 6, rule(2, 3))));
}

TEST(ImageViewDrawing, APictureOfScaleTwoDrawsAtItsPointSize)
{
    const QImage pixels = positionCoded(4, 4);
    auto imageView = std::make_shared<ImageView>(Picture(pixels, 2.0));
    HeadlessHost host(QSizeF(2, 2), 2.0);
    host.setRootView(std::make_shared<View>());
    host.rootView()->addSubview(imageView);

    const QImage sharp = host.render();

    EXPECT_EQ(imageView->frame(), QRectF(0, 0, 2, 2));
    EXPECT_TRUE(imagesEqual(sharp, pixels));
}

TEST(ImageViewDrawing, ALargePictureShownSmallKeepsItsColour)
{
    QImage big(3000, 2000, QImage::Format_ARGB32_Premultiplied);
    big.fill(QColor(40, 120, 200));
    auto imageView = std::make_shared<ImageView>(QRectF(0, 0, 30, 20));
    imageView->setImage(Picture(big));

    const QImage first = render(*imageView, 30, 20);
    const QImage second = render(*imageView, 30, 20); // from the cached small copy

    EXPECT_TRUE(imagesEqual(first, expected(30, 20, [](int, int) { return qRgb(40, 120, 200); })));
    EXPECT_TRUE(imagesEqual(second, first));
}

TEST(ImageViewDrawing, ARepeatedFrameFromTheDeviceCopyMatchesDirectDrawing)
{
    // A turned, scaled picture over a clear background: resampled every way there is.
    const QImage source = positionCoded(16, 12);
    auto draw = [&](ImageView &view, QPointF at) {
        QImage frame = vimora::test::filledRaster(48, 40, qRgb(30, 30, 30));
        QPainter p(&frame);
        p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        p.translate(at);
        p.scale(1.5, 1.5);
        view.renderInContext(p);
        return frame;
    };
    auto turned = [&] {
        auto v = std::make_shared<ImageView>(QRectF(0, 0, 16, 12));
        v->setImage(Picture(source));
        v->setTransform(AffineTransform::makeRotation(0.3));
        return v;
    };
    auto cached = turned();

    const QImage first = draw(*cached, QPointF(3.25, 4.5));
    const QImage copied = draw(*cached, QPointF(3.25, 4.5)); // builds the device copy
    const QImage moved = draw(*cached, QPointF(5.25, 3.5));  // a whole-pixel move reuses it
    const QImage half = draw(*cached, QPointF(5.75, 3.5));   // a half-pixel move draws anew

    EXPECT_TRUE(imagesEqual(copied, first, 1));
    EXPECT_TRUE(imagesEqual(moved, draw(*turned(), QPointF(5.25, 3.5)), 1));
    EXPECT_TRUE(imagesEqual(half, draw(*turned(), QPointF(5.75, 3.5)), 1));
}

TEST(PictureDrawCacheTest, APinchDrawsFromAStandInCopyAndComesToRestExact)
{
    const Picture photo(positionCoded(900, 600));
    const auto frame = [&](PictureDrawCache &cache, double width) {
        QImage target = vimora::test::filledRaster(400, 300, qRgb(30, 30, 30));
        QPainter p(&target);
        cache.draw(p, photo, QRectF(10, 10, width, width * 2 / 3));
        return target;
    };
    const auto fresh = [&](double width) {
        PictureDrawCache cache;
        return frame(cache, width);
    };
    PictureDrawCache pinched;
    auto onScreen = std::make_unique<ScreenDrawing>();

    frame(pinched, 150);
    // One change of size is a layout, not a pinch: drawn exactly.
    EXPECT_TRUE(imagesEqual(frame(pinched, 200), fresh(200)));
    const int beforePinch = pinched.rescales();
    for (int i = 1; i <= 12; ++i)
        frame(pinched, 200 * (1 + 0.04 * i));
    EXPECT_EQ(pinched.rescales(), beforePinch);
    // Far beyond twice the copy's size, a new copy is made even mid-pinch.
    frame(pinched, 450);
    EXPECT_EQ(pinched.rescales(), beforePinch + 1);
    frame(pinched, 452);
    // At rest, the frame is the one drawn without any history.
    EXPECT_TRUE(imagesEqual(frame(pinched, 452), fresh(452)));

    // A capture for saving in the middle of a pinch is drawn exactly all the same.
    for (int i = 1; i <= 3; ++i)
        frame(pinched, 452 * (1 - 0.04 * i));
    onScreen.reset();
    EXPECT_TRUE(imagesEqual(frame(pinched, 300), fresh(300)));
}

TEST(StretchableImage, LeftCapKeepsItsColumnsAndStretchesOnePixel)
{
    // Columns red, green, blue; a left cap of 1 stretches the green column.
    const QImage strip = expected(3, 1, [](int x, int) { return x == 0 ? kRed : x == 1 ? kGreen : kBlue; });
    const StretchableImage image = StretchableImage::stretchable(Picture(strip), 1, 0);
    QImage out = makeRaster(7, 1);

    {
        QPainter p(&out);
        image.draw(p, QRectF(0, 0, 7, 1));
    }

    EXPECT_TRUE(imagesEqual(out, expected(7, 1, [](int x, int) { return x == 0 ? kRed : x == 6 ? kBlue : kGreen; })));
    EXPECT_EQ(image.capInsets(), (EdgeInsets{0, 1, 0, 1}));
}

TEST(StretchableImage, ThickBandsTileAndSmallTargetsShrinkTheCaps)
{
    // Caps of 1 around a two-column middle (green, blue) that tiles across 6 columns.
    const QRgb columns[4] = {kRed, kGreen, kBlue, kWhite};
    const QImage strip = expected(4, 1, [&](int x, int) { return columns[x]; });
    const StretchableImage image = StretchableImage::resizable(Picture(strip), EdgeInsets{0, 1, 0, 1});
    QImage wide = makeRaster(8, 1), narrow = makeRaster(1, 1);

    {
        QPainter p(&wide);
        image.draw(p, QRectF(0, 0, 8, 1));
        QPainter q(&narrow);
        image.draw(q, QRectF(0, 0, 1, 1));
    }

    EXPECT_TRUE(imagesEqual(wide, expected(8, 1, [](int x, int) {
        return x == 0 ? kRed : x == 7 ? kWhite : (x % 2 == 1 ? kGreen : kBlue);
    })));
    EXPECT_EQ(qAlpha(pixelAt(narrow, 0, 0)), 255); // caps halved, no middle
}

// --- Transitions ---

TEST(Transitions, FadeRunsOnTheClockWhileTheModelChangesAtOnce)
{
    HeadlessHost host(QSizeF(4, 4));
    auto root = solidView(QRectF(0, 0, 4, 4), kRed);
    host.setRootView(root);
    auto panel = solidView(QRectF(0, 0, 4, 4), kRed);
    root->addSubview(panel);

    panel->addTransition(Transition(TransitionType::Fade, TransitionSubtype::FromBottom, 1.0));
    panel->setBackgroundColor(Qt::blue);
    const QRgb modelNow = pixelAt(render(*root, 4, 4), 1, 1);
    host.runPending(); // the turn ends: "after" is taken
    host.advance(0.5);
    const QRgb halfway = pixelAt(host.render(), 1, 1);
    const bool runningAtHalf = panel->hasTransition();
    host.advance(0.6);

    EXPECT_EQ(modelNow, kBlue);
    EXPECT_NEAR(qRed(halfway), 128, 1);
    EXPECT_NEAR(qBlue(halfway), 128, 1);
    EXPECT_TRUE(runningAtHalf);
    EXPECT_FALSE(panel->hasTransition());
    EXPECT_EQ(pixelAt(host.render(), 1, 1), kBlue);
}

TEST(Transitions, AHiddenViewFadesOutRatherThanVanishing)
{
    HeadlessHost host(QSizeF(4, 4));
    auto root = solidView(QRectF(0, 0, 4, 4), kBlack);
    host.setRootView(root);
    auto panel = solidView(QRectF(0, 0, 4, 4), kWhite);
    root->addSubview(panel);

    panel->addTransition(Transition::named(QStringLiteral("fade"), QStringLiteral("fromTop"), 1.0));
    panel->setHidden(true);
    host.runPending();
    host.advance(0.25);

    EXPECT_NEAR(qRed(pixelAt(host.render(), 0, 0)), 191, 1);
    EXPECT_EQ(host.hitTest(QPointF(1, 1)), root.get());
}

TEST(Transitions, PushFromTheRightMovesBothPictures)
{
    const QImage before = positionCoded(8, 2), after = expected(8, 2, [](int x, int) { return qRgb(0, 0, 30 * x); });
    QImage out = makeRaster(8, 2);

    {
        QPainter p(&out);
        Transition::drawFrame(p, TransitionType::Push, TransitionSubtype::FromRight, before, after, QRectF(0, 0, 8, 2), 0.5);
    }

    EXPECT_TRUE(imagesEqual(out, expected(8, 2, [&](int x, int y) {
        return x < 4 ? pixelAt(before, x + 4, y) : pixelAt(after, x - 4, y);
    })));
}

TEST(Transitions, EveryEffectStartsAtBeforeAndEndsAtAfter)
{
    const QImage before = positionCoded(16, 12), after = expected(16, 12, [](int x, int y) { return qRgb(x * 9, y * 9, 200); });
    for (TransitionType type : {TransitionType::Fade, TransitionType::MoveIn, TransitionType::Push, TransitionType::Reveal,
                                TransitionType::Cube, TransitionType::Ripple, TransitionType::Suck}) {
        for (TransitionSubtype subtype : {TransitionSubtype::FromLeft, TransitionSubtype::FromTop}) {
            QImage start = makeRaster(16, 12), middle = makeRaster(16, 12), end = makeRaster(16, 12);
            for (auto [image, progress] : {std::pair{&start, 0.0}, std::pair{&middle, 0.5}, std::pair{&end, 1.0}}) {
                QPainter p(image);
                Transition::drawFrame(p, type, subtype, before, after, QRectF(0, 0, 16, 12), progress);
            }

            EXPECT_TRUE(imagesEqual(start, before)) << int(type);
            EXPECT_TRUE(imagesEqual(end, after)) << int(type);
            EXPECT_FALSE(imagesEqual(middle, before)) << int(type);
            EXPECT_FALSE(imagesEqual(middle, after)) << int(type);
        }
    }
}

TEST(Transitions, ZeroDurationTakesTheTransactions)
{
    HeadlessHost host(QSizeF(4, 4));
    auto root = solidView(QRectF(0, 0, 4, 4), kBlack);
    host.setRootView(root);

    Transaction::begin();
    Transaction::setAnimationDuration(0.5);
    Transaction::setDisableActions(true);
    root->addTransition(Transition::named(QStringLiteral("tubey"), QStringLiteral("fromRight")));
    Transaction::commit();
    host.runPending();
    host.advance(0.45);
    const bool runningBeforeHalfASecond = root->hasTransition();
    host.advance(0.1);

    EXPECT_TRUE(runningBeforeHalfASecond);
    EXPECT_FALSE(root->hasTransition());
    EXPECT_EQ(Transaction::animationDuration(), Transaction::kDefaultDuration);
}

TEST(Transitions, NamesMapToEffects)
{
    EXPECT_EQ(Transition::named(QStringLiteral("tubey")).type, TransitionType::Cube);
    EXPECT_EQ(Transition::named(QStringLiteral("rippleEffect")).type, TransitionType::Ripple);
    EXPECT_EQ(Transition::named(QStringLiteral("suckEffect")).type, TransitionType::Suck);
    EXPECT_EQ(Transition::named(QStringLiteral("pageCurl")).type, TransitionType::Fade);
    EXPECT_EQ(Transition::named(QStringLiteral("reveal"), QStringLiteral("fromBottom")).subtype,
              TransitionSubtype::FromBottom);
}

TEST(Transitions, AnEmptyOrRemovedViewTransitionsWithoutHarm)
{
    HeadlessHost host(QSizeF(4, 4));
    auto root = solidView(QRectF(0, 0, 4, 4), kBlack);
    host.setRootView(root);
    auto empty = std::make_shared<View>();
    auto leaving = solidView(QRectF(0, 0, 2, 2), kRed);
    root->addSubview(empty);
    root->addSubview(leaving);

    empty->addTransition(Transition(TransitionType::Ripple, TransitionSubtype::FromLeft, 0.5));
    leaving->addTransition(Transition(TransitionType::Suck, TransitionSubtype::FromLeft, 0.5));
    leaving->removeFromSuperview();
    host.runPending();
    host.advance(0.25);
    const QImage during = host.render();
    host.advance(0.5);

    EXPECT_EQ(pixelAt(during, 3, 3), kBlack);
    EXPECT_FALSE(empty->hasTransition());
    EXPECT_EQ(Transition::activeCount(), 0);
}

// --- Legible text ---

namespace {
// Rows of a white-on-black label's picture that carry ink.
int inkedRows(const QImage &image)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) > 128) {
                ++rows;
                break;
            }
    return rows;
}
} // namespace

TEST(LegibleText, SmallTextGrowsToNinePixelsOnTheDeviceOnly)
{
    QFont font;
    font.setPixelSize(10);
    EXPECT_EQ(legibleFont(font, 0.71).pixelSize(), 13); // 9 / 0.71 = 12.7, rounded up
    EXPECT_EQ(legibleFont(font, 1.0).pixelSize(), 10);  // already 10 device pixels
    EXPECT_EQ(legibleFont(font, 0.9).pixelSize(), 10);  // exactly 9
    EXPECT_EQ(legibleFont(font, 2.0).pixelSize(), 10);
    EXPECT_EQ(legibleFont(font, 0).pixelSize(), 10);    // no scale to go by

    // The same label, drawn at 0.5 device pixels per point: taller ink on the screen only.
    auto label = std::make_shared<Label>(QRectF(0, 0, 120, 30), QStringLiteral("Shy"));
    label->setFont(font);
    label->setTextColor(Qt::white);
    label->setBackgroundColor(Qt::black);
    auto drawn = [&] {
        QImage image(60, 15, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter p(&image);
        p.scale(0.5, 0.5);
        label->renderInContext(p);
        return image;
    };
    const int asLaidOut = inkedRows(drawn());
    int onScreen = 0;
    {
        const ScreenDrawing screen;
        onScreen = inkedRows(drawn());
    }
    // From the ascender to the descender: about a font's size.
    EXPECT_LE(asLaidOut, 6) << "a 10-pixel font at half size";
    EXPECT_GE(onScreen, 8) << "an 18-pixel font at half size";
    EXPECT_EQ(inkedRows(drawn()), asLaidOut) << "the scope ends with the screen's frame";
}
