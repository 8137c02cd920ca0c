// The smart cut on generated pictures whose subject is known: the mask against the truth.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include <QColor>
#include <QImage>

#include "imaging/subject_cut.h"

namespace vimora {
namespace {

using Inside = std::function<bool(int x, int y)>;

/// A texture: base colour, a soft wave and grain, different for every seed.
QRgb texel(QColor base, int x, int y, std::mt19937 &grain)
{
    std::uniform_int_distribution<int> noise(-28, 28);
    const double wave = 18 * std::sin(x * 0.11) * std::cos(y * 0.07);
    auto sample = [&](int c) { return std::clamp(int(c + wave) + noise(grain), 0, 255); };
    return qRgb(sample(base.red()), sample(base.green()), sample(base.blue()));
}

/// subject (where inside says) in one texture over a background in another.
QImage scene(QSize size, const Inside &inside, QColor subject, QColor background, unsigned seed = 7)
{
    std::mt19937 grain(seed);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, texel(inside(x, y) ? subject : background, x, y, grain));
    return image;
}

Inside disc(double cx, double cy, double r)
{
    return [=](int x, int y) { return std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r; };
}

/// Intersection over union of the cut's mask (coverage at least half) and the truth, over the
/// cut's rectangle.
double iou(const SubjectCut &cut, const Inside &truth)
{
    long long both = 0, either = 0;
    const QRect r = cut.rect();
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            const bool a = !cut.alpha().isNull() && cut.alpha().constScanLine(y)[x] >= 128;
            const bool t = truth(r.x() + x, r.y() + y);
            both += a && t;
            either += a || t;
        }
    return either ? double(both) / double(either) : 0;
}

const QColor kRed(200, 60, 50);
const QColor kGreen(60, 150, 80);
const QColor kBlue(40, 60, 200);

TEST(SubjectCut, FindsTheSubjectAtTheWorkingSizeWithASoftEdge)
{
    // The working photo's size: the segmentation runs reduced, the edge is refined at full size.
    const Inside truth = disc(1000, 660, 300);
    const QImage photo = scene(QSize(2000, 1333), truth, kRed, kGreen);
    const SubjectCut cut = SubjectCut::find(photo, QRect(620, 280, 760, 760));
    ASSERT_TRUE(cut.found());
    EXPECT_EQ(cut.alpha().size(), QSize(760, 760));
    EXPECT_GE(iou(cut, truth), 0.95);

    // Across the edge on the middle row the coverage climbs within a few pixels, not in blocks
    // of the reduced copy's size.
    const uchar *row = cut.alpha().constScanLine(380);
    int partial = 0, firstOpaque = -1;
    for (int x = 0; x < 380; ++x) {
        partial += row[x] > 0 && row[x] < 255;
        if (firstOpaque < 0 && row[x] == 255)
            firstOpaque = x;
    }
    EXPECT_GE(partial, 1);
    EXPECT_LE(partial, 5);
    EXPECT_NEAR(firstOpaque, 80, 4); // the disc's left edge, 700 - 620
}

TEST(SubjectCut, SubjectCutByTheRectanglesEdge)
{
    const Inside round = disc(300, 250, 120);
    const QImage photo = scene(QSize(640, 480), round, kRed, kGreen);
    // The rectangle's left side runs through the disc: the subject is what lies inside.
    const QRect rect(260, 100, 220, 300);
    const SubjectCut cut = SubjectCut::find(photo, rect);
    ASSERT_TRUE(cut.found());
    EXPECT_GE(iou(cut, [&](int x, int y) { return rect.contains(x, y) && round(x, y); }), 0.95);
}

TEST(SubjectCut, NothingToTellApartFailsClearly)
{
    // A subject in its background's colours (another grain of the same texture).
    QImage same = scene(QSize(640, 480), disc(320, 240, 100), kGreen, kGreen, 11);
    EXPECT_FALSE(SubjectCut::find(same, QRect(180, 100, 280, 280)).found());

    QImage flat(640, 480, QImage::Format_ARGB32_Premultiplied);
    flat.fill(QColor(120, 130, 140));
    const SubjectCut flatCut = SubjectCut::find(flat, QRect(100, 100, 300, 200));
    EXPECT_FALSE(flatCut.found());
    EXPECT_TRUE(flatCut.alpha().isNull());

    // The whole photo: no background to learn from.
    const QImage photo = scene(QSize(400, 300), disc(200, 150, 80), kRed, kGreen);
    EXPECT_FALSE(SubjectCut::find(photo, QRect(-10, -10, 500, 400)).found());
    EXPECT_FALSE(SubjectCut::find(photo, QRect(10, 10, 0, 50)).found());
    EXPECT_FALSE(SubjectCut::find(QImage(), QRect(0, 0, 10, 10)).found());
}

TEST(SubjectCut, StrokesMendWhatThePassGotWrong)
{
    // The subject: a red disc with a tail in the background's colours, which colour alone
    // cannot tell; beside it a blue blob that is not the subject.
    const Inside round = disc(300, 260, 90);
    const QRect tail(380, 240, 70, 40);
    const Inside blob = disc(200, 130, 25);
    const Inside truth = [&](int x, int y) { return round(x, y) || tail.contains(x, y); };
    QImage photo = scene(QSize(640, 480), truth, kRed, kGreen);
    const QImage blue = scene(QSize(640, 480), blob, kBlue, kGreen, 3);
    photo = scene(QSize(640, 480), [&](int x, int y) { return round(x, y) || blob(x, y); }, kRed, kGreen);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (blob(x, y))
                photo.setPixel(x, y, blue.pixel(x, y));

    const SubjectCut first = SubjectCut::find(photo, QRect(160, 90, 320, 300));
    ASSERT_TRUE(first.found());
    EXPECT_LT(iou(first, truth), 0.95);

    SubjectStroke keep;
    keep.keep = true;
    keep.radius = 16;
    keep.points = {QPointF(390, 250), QPointF(440, 250), QPointF(440, 270), QPointF(390, 270)};
    SubjectStroke drop;
    drop.keep = false;
    drop.radius = 30;
    drop.points = {QPointF(200, 130)};
    const SubjectCut mended = first.touchedUp(keep).touchedUp(drop);
    ASSERT_TRUE(mended.found());
    EXPECT_GE(iou(mended, truth), 0.95);
    // The cut touched up is a new one: the first stays as it was.
    EXPECT_LT(iou(first, truth), 0.95);

    // Strokes far off or malformed change nothing and break nothing.
    SubjectStroke wild;
    wild.radius = std::numeric_limits<double>::quiet_NaN();
    wild.points = {QPointF(1e12, -1e12), QPointF(std::numeric_limits<double>::infinity(), 0)};
    EXPECT_GE(iou(first.touchedUp(wild), truth), iou(first, truth) - 0.01);

    // A stroke removing everything leaves no subject.
    SubjectStroke all;
    all.keep = false;
    all.radius = 400;
    all.points = {QPointF(320, 240)};
    EXPECT_FALSE(first.touchedUp(all).found());
}

TEST(SubjectCut, ShapedPieceAndHoleFollowTheCoverage)
{
    const Inside round = disc(160, 120, 60);
    const QImage photo = scene(QSize(320, 240), round, kRed, kGreen);
    const SubjectCut cut = SubjectCut::find(photo, QRect(80, 40, 160, 160));
    ASSERT_TRUE(cut.found());

    const QImage piece = shapedPiece(photo, cut).bitmap();
    ASSERT_EQ(piece.size(), QSize(160, 160));
    EXPECT_EQ(qAlpha(piece.pixel(2, 2)), 0);       // background corner: transparent
    EXPECT_EQ(piece.pixel(80, 80), photo.pixel(160, 120)); // the subject's own pixels
    const QImage hole = shapedHole(Picture(photo), cut).bitmap();
    ASSERT_EQ(hole.size(), photo.size());
    EXPECT_EQ(hole.pixel(160, 120), qRgb(0, 0, 0));      // black where the subject was
    EXPECT_EQ(hole.pixel(82, 42), photo.pixel(82, 42));   // inside the rectangle, off the subject
    EXPECT_EQ(hole.pixel(5, 5), photo.pixel(5, 5));
    // Where the coverage is partial, the piece over the hole gives back the photo.
    for (int x = 0; x < 160; ++x) {
        const int a = cut.alpha().constScanLine(80)[x];
        if (a == 0 || a == 255)
            continue;
        const QRgb p = piece.pixel(x, 80), h = hole.pixel(80 + x, 120), o = photo.pixel(80 + x, 120);
        EXPECT_NEAR(qRed(p) + qRed(h), qRed(o), 2);
        EXPECT_EQ(qAlpha(h), 255);
    }
    // No cut gives no piece and the photo back unchanged.
    EXPECT_TRUE(shapedPiece(photo, SubjectCut()).isNull());
    EXPECT_EQ(shapedHole(Picture(photo), SubjectCut()).bitmap(), photo);
}

} // namespace
} // namespace vimora
