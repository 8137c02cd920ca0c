// A picked JPEG decoded straight at a DCT scale near the working size: the working copy it
// gives against the one the full decode and round trip give, on photo-like pictures of sizes
// that are not multiples of the block, every EXIF orientation, and real photographs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "app/intake_pictures.h"
#include "imaging/codec.h"
#include "imaging/geometry.h"
#include "platform/photo_picker.h"
#include "support/pixel_compare.h"

using namespace vimora;

namespace {

// Smooth shading, fine texture, grain and hard edges in colour: what a camera photo holds and
// what a scaled decode is most likely to get wrong.
QImage photoLike(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator noise(7);
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int grain = int(noise.bounded(6)) - 3;
            const int r = 60 + 150 * x / w + grain;
            const int g = 40 + 160 * y / h + ((x / 3 + y / 5) % 7) * 6;
            const int b = 128 + int(100 * std::sin(x * 0.05) * std::cos(y * 0.03)) - grain;
            row[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::yellow, 3));
    p.setBrush(QColor(20, 20, 200));
    p.drawEllipse(QRectF(w * 0.2, h * 0.25, w * 0.3, h * 0.4));
    p.fillRect(QRectF(w * 0.6, h * 0.1, w * 0.25, h * 0.2), Qt::white);
    p.fillRect(QRectF(0, h - 9, w, 9), Qt::red); // the part-filled last block row
    p.fillRect(QRectF(w - 5, 0, 5, h), Qt::green);
    return image;
}

QString writeJpeg(const QString &path, const QImage &image, QImageIOHandler::Transformations turn = {},
                  int quality = 92)
{
    QImageWriter writer(path, "jpeg");
    writer.setQuality(quality);
    writer.setTransformation(turn);
    EXPECT_TRUE(writer.write(image)) << path.toStdString();
    return path;
}

// The working copy the full decode gives before the round trip: the photo's own pixels
// brought to the working size. (The round trip at quality 1 itself moves about a fifth of the
// channels of a real photo by more than a level, bench/README.md.)
Picture fullDecodeCopy(const QString &path, double maxSide)
{
    return intakeWorkingCopy(readPicture(path), maxSide);
}

QSize headerSize(const QString &path)
{
    const PhotoPicker::Result picked = readPickedPhoto(path, true);
    EXPECT_TRUE(picked.decodeLater) << path.toStdString();
    return picked.size;
}

// A DCT scale is another reduction filter than the resampler's, so the copies differ on fine
// detail by a level or two (more on hard edges); a turned, mirrored or shifted copy, or one
// stretched over the last part-filled block, differs everywhere.
testing::AssertionResult closeCopies(const Picture &scaled, const Picture &full, double meanLevels, double shareBeyondTwo)
{
    const QImage a = scaled.bitmap().convertToFormat(QImage::Format_RGB32);
    const QImage b = full.bitmap().convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size() || a.isNull())
        return testing::AssertionFailure() << "sizes differ";
    long long sum = 0, beyondTwo = 0, channels = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int d : {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))}) {
                sum += d;
                beyondTwo += d > 2;
                ++channels;
            }
        }
    const double mean = double(sum) / double(channels), share = double(beyondTwo) / double(channels);
    if (mean <= meanLevels && share <= shareBeyondTwo)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "mean difference " << mean << " levels, " << 100 * share
                                       << " % of channels beyond two levels";
}

enum class Content { Synthetic, Photograph };

// The scaled copy is close to the full decode's, and the scale was really used.
void expectScaledCopyMatches(const QString &path, double maxSide, int expectedScale, Content content = Content::Synthetic)
{
    SCOPED_TRACE(path.toStdString());
    const QSize size = headerSize(path);
    const Picture full = fullDecodeCopy(path, maxSide);
    const IntakeRead scaled = intakeWorkingCopyOfFile(path, size, maxSide);
    ASSERT_FALSE(scaled.working.isNull());
    EXPECT_EQ(scaled.size, size);
    EXPECT_EQ(jpegScaleFor(size, full.bitmap().size()), expectedScale);
    if (content == Content::Synthetic)
        EXPECT_TRUE(closeCopies(scaled.working, full, 1.4, 0.15));
    else
        EXPECT_TRUE(closeCopies(scaled.working, full, 1.0, 0.06));
}

} // namespace

TEST(IntakeDecode, ScaledDecodeMatchesTheFullDecodeAtEveryScaleAndOddSize)
{
    QTemporaryDir dir;
    struct Case { int w, h; double maxSide; int scale; };
    // Sides not multiples of 8 (the last block part-filled) as well as whole blocks.
    for (const Case &c : {Case{1203, 905, 300, 2}, Case{2405, 1603, 300, 1}, Case{1603, 2401, 300, 1},
                          Case{1000, 800, 240, 2}, Case{1001, 803, 480, 4},
                          Case{999, 1997, 480, 2}})
        expectScaledCopyMatches(writeJpeg(dir.filePath(QStringLiteral("p%1x%2.jpg").arg(c.w).arg(c.h)),
                                          photoLike(c.w, c.h)),
                                c.maxSide, c.scale);
}

TEST(IntakeDecode, EveryExifOrientationComesUprightAsTheFullDecode)
{
    QTemporaryDir dir;
    const QImage photo = photoLike(1203, 803);
    for (int turn = 1; turn < 8; ++turn)
        expectScaledCopyMatches(writeJpeg(dir.filePath(QStringLiteral("turn%1.jpg").arg(turn)), photo,
                                          QImageIOHandler::Transformations(turn)),
                                300, 2);
}

TEST(IntakeDecode, GreyAndFullChromaPhotosToo)
{
    QTemporaryDir dir;
    expectScaledCopyMatches(writeJpeg(dir.filePath("grey.jpg"), photoLike(1205, 901).convertToFormat(QImage::Format_Grayscale8)),
                            300, 2);
    expectScaledCopyMatches(writeJpeg(dir.filePath("fine.jpg"), photoLike(1205, 901), {}, 100), 300, 2);
}

TEST(IntakeDecode, RealPhotographs)
{
    // Camera photos of the wallpaper package the peer benchmarks use; one cut to odd sides.
    const QDir backgrounds(QStringLiteral("/usr/share/backgrounds"));
    const QStringList photos{QStringLiteral("Dragonfly_by_Bolly.jpg")};
    QTemporaryDir dir;
    int seen = 0;
    for (const QString &name : photos) {
        if (!backgrounds.exists(name))
            continue;
        ++seen;
        const QString path = backgrounds.filePath(name);
        expectScaledCopyMatches(path, 1000, 2, Content::Photograph);
        const QImage whole = readPicture(path).bitmap();
        expectScaledCopyMatches(writeJpeg(dir.filePath("cut.jpg"), whole.copy(1203, 805, 1603, 1203)), 700, 4,
                                Content::Photograph);
    }
    if (seen == 0)
        GTEST_SKIP() << "no photographs in " << backgrounds.path().toStdString();
}

TEST(IntakeDecode, FilesTheScaledDecodeCannotReadFallBackOrFailCleanly)
{
    QTemporaryDir dir;
    // A photo within the working size is taken in by the full decode, as before.
    const QString small = writeJpeg(dir.filePath("small.jpg"), photoLike(301, 203));
    const IntakeRead kept = intakeWorkingCopyOfFile(small, headerSize(small), 1500);
    EXPECT_TRUE(test::picturesEqual(kept.working, intakeWorkingCopy(intakeRoundTrip(readPicture(small)), 1500)));

    // Cut short after its header: the picker defers it, the decoder fills in what is missing.
    const QString whole = writeJpeg(dir.filePath("whole.jpg"), photoLike(1203, 905));
    QFile in(whole);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const QString cut = dir.filePath("cut.jpg");
    QFile out(cut);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(bytes.size() / 2));
    out.close();
    const PhotoPicker::Result picked = readPickedPhoto(cut, true);
    EXPECT_TRUE(picked.decodeLater);
    EXPECT_TRUE(picked.damaged);
    const IntakeRead damaged = intakeWorkingCopyOfFile(cut, picked.size, 300);
    EXPECT_TRUE(closeCopies(damaged.working, fullDecodeCopy(cut, 300), 1.4, 0.15));

    // Gone between the pick and the intake: no picture, no crash.
    QFile::remove(whole);
    EXPECT_TRUE(intakeWorkingCopyOfFile(whole, QSize(1203, 905), 300).working.isNull());
    // Not JPEG, or not a picture at all: the picker reads it now, as before.
    const QString png = dir.filePath("x.png");
    ASSERT_TRUE(photoLike(40, 30).save(png, "PNG"));
    const PhotoPicker::Result pickedPng = readPickedPhoto(png, true);
    EXPECT_FALSE(pickedPng.decodeLater);
    EXPECT_FALSE(pickedPng.photo.isNull());
    EXPECT_FALSE(readPickedPhoto(dir.filePath("none.jpg"), true).decodeLater);
}
