// The album writer over a throw-away photo library folder.
#include <optional>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "imaging/codec.h"
#include "store/album_writer.h"
#include "support/pixel_compare.h"
#include "support/small_disk.h"

using namespace vimora;

namespace {

// Runs the event loop until the completion has been delivered.
AlbumSaveResult waitFor(AlbumWriter &writer, const std::function<void(AlbumCompletion)> &request)
{
    std::optional<AlbumSaveResult> result;
    bool onUiThread = false;
    request([&](const AlbumSaveResult &r) {
        result = r;
        onUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    writer.waitForWrites();
    for (int i = 0; i < 1000 && !result; ++i) {
        QCoreApplication::processEvents();
        if (!result)
            QThread::msleep(2);
    }
    EXPECT_TRUE(result.has_value()) << "no completion";
    EXPECT_TRUE(onUiThread) << "completion ran off the UI thread";
    return result.value_or(AlbumSaveResult{{}, {}, QStringLiteral("no completion")});
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

class AlbumWriterTest : public ::testing::Test
{
protected:
    AlbumSaveResult save(const Picture &p, const QString &album)
    {
        return waitFor(writer, [&](AlbumCompletion c) { writer.saveImage(p, album, std::move(c)); });
    }

    QTemporaryDir root;
    QString library = root.path() + "/Photos";
    AlbumWriter writer{library};
    Picture photo{test::filledRaster(6, 4, 0xff336699)};
};

TEST_F(AlbumWriterTest, TwoSavesCreateTheAlbumOnceAndLinkBothPictures)
{
    const AlbumSaveResult first = save(photo, "Quorlan");
    const AlbumSaveResult second = save(photo, "Quorlan");

    ASSERT_TRUE(first.succeeded()) << first.error.toStdString();
    ASSERT_TRUE(second.succeeded()) << second.error.toStdString();
    EXPECT_EQ(first.album, "Quorlan");
    EXPECT_NE(first.assetUrl, second.assetUrl);
    // The missing library folder was made; it holds the two pictures and one
    // album, no leftovers.
    const QStringList top = entries(library);
    ASSERT_EQ(top.size(), 3) << top.join(", ").toStdString();
    EXPECT_EQ(top.filter("Quorlan").size(), 1);
    const QStringList inAlbum = entries(library + "/Quorlan");
    ASSERT_EQ(inAlbum.size(), 2);
    QStringList targets;
    for (const QString &name : inAlbum) {
        const QFileInfo link(library + "/Quorlan/" + name);
        EXPECT_TRUE(link.isSymLink());
        targets << link.canonicalFilePath();
    }
    EXPECT_TRUE(targets.contains(QFileInfo(first.assetUrl.toLocalFile()).canonicalFilePath()));
    EXPECT_TRUE(targets.contains(QFileInfo(second.assetUrl.toLocalFile()).canonicalFilePath()));
    const Picture back = readPicture(first.assetUrl.toLocalFile());
    EXPECT_TRUE(test::imagesEqual(back.bitmap(), photo.bitmap()));
}

TEST_F(AlbumWriterTest, AlbumIsMatchedByExactNameOnly)
{
    QDir().mkpath(library + "/quorlan");
    QDir().mkpath(library + "/Quorlan ");

    const AlbumSaveResult result = save(photo, "Quorlan");

    ASSERT_TRUE(result.succeeded()) << result.error.toStdString();
    EXPECT_TRUE(QFileInfo(library + "/Quorlan").isDir());
    EXPECT_TRUE(entries(library + "/quorlan").isEmpty());
    EXPECT_TRUE(entries(library + "/Quorlan ").isEmpty());
    EXPECT_EQ(entries(library + "/Quorlan").size(), 1);
}

TEST_F(AlbumWriterTest, UnsafeAlbumNamesAreRefusedBeforeAnythingIsWritten)
{
    for (const QString &name : {QStringLiteral("../Escaped"), QStringLiteral("a/b"), QStringLiteral(".."),
             QStringLiteral("."), QStringLiteral(""), QStringLiteral("  "), QStringLiteral(".hidden")}) {
        const AlbumSaveResult result = save(photo, name);

        EXPECT_FALSE(result.succeeded()) << name.toStdString();
        EXPECT_FALSE(result.error.isEmpty());
    }
    EXPECT_TRUE(entries(library).isEmpty());
    EXPECT_TRUE(entries(root.path()).isEmpty()) << entries(root.path()).join(",").toStdString();
}

TEST_F(AlbumWriterTest, AFileWhereTheAlbumShouldBeIsReportedAndKept)
{
    QDir().mkpath(library);
    QFile blocker(library + "/Quorlan");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("notes");
    blocker.close();

    const AlbumSaveResult result = save(photo, "Quorlan");

    EXPECT_FALSE(result.succeeded());
    EXPECT_TRUE(result.error.contains("Quorlan")) << result.error.toStdString();
    EXPECT_TRUE(result.error.contains("file")) << result.error.toStdString();
    ASSERT_TRUE(blocker.open(QIODevice::ReadOnly));
    EXPECT_EQ(blocker.readAll(), "notes");
    // The picture itself reached the camera roll and says where.
    EXPECT_TRUE(QFileInfo(result.assetUrl.toLocalFile()).isFile());
}

TEST_F(AlbumWriterTest, AddingTheSameAssetTwiceMakesOneEntryAndMissingAssetsFail)
{
    const AlbumSaveResult saved = save(photo, "Quorlan");
    ASSERT_TRUE(saved.succeeded());

    const AlbumSaveResult again =
        waitFor(writer, [&](AlbumCompletion c) { writer.addAssetURL(saved.assetUrl, "Quorlan", std::move(c)); });
    const AlbumSaveResult other =
        waitFor(writer, [&](AlbumCompletion c) { writer.addAssetURL(saved.assetUrl, "Trips", std::move(c)); });
    const AlbumSaveResult missing = waitFor(writer, [&](AlbumCompletion c) {
        writer.addAssetURL(QUrl::fromLocalFile(library + "/gone.png"), "Quorlan", std::move(c));
    });

    EXPECT_TRUE(again.succeeded());
    EXPECT_EQ(entries(library + "/Quorlan").size(), 1);
    EXPECT_TRUE(other.succeeded());
    EXPECT_EQ(entries(library + "/Trips").size(), 1);
    EXPECT_FALSE(missing.succeeded());
    EXPECT_EQ(entries(library + "/Quorlan").size(), 1);
}

TEST_F(AlbumWriterTest, NoPictureIsAnErrorNotAnEmptyFile)
{
    const AlbumSaveResult result = save(Picture(), "Quorlan");
    const AlbumSaveResult empty = waitFor(writer, [&](AlbumCompletion c) {
        writer.writeImageToSavedPhotosAlbum(Picture(QImage(0, 0, QImage::Format_ARGB32_Premultiplied)), std::move(c));
    });

    EXPECT_FALSE(result.succeeded());
    EXPECT_FALSE(empty.succeeded());
    EXPECT_TRUE(entries(library).isEmpty());
}

TEST_F(AlbumWriterTest, APictureMadeOnTheWritersThreadIsLinkedIntoTheAlbumAndNoneWritesNothing)
{
    const AlbumSaveResult made = waitFor(writer, [&](AlbumCompletion c) {
        writer.saveImage([this] { return photo; }, "unreadable", "Quorlan", std::move(c));
    });
    const AlbumSaveResult none = waitFor(writer, [&](AlbumCompletion c) {
        writer.saveImage([] { return Picture(); }, "gone.png could not be read", "Quorlan", std::move(c));
    });

    ASSERT_TRUE(made.succeeded()) << made.error.toStdString();
    EXPECT_EQ(made.album, "Quorlan");
    const QStringList inAlbum = entries(library + "/Quorlan");
    ASSERT_EQ(inAlbum.size(), 1);
    EXPECT_EQ(QFileInfo(library + "/Quorlan/" + inAlbum.front()).canonicalFilePath(),
        QFileInfo(made.assetUrl.toLocalFile()).canonicalFilePath());
    EXPECT_EQ(none.error, "gone.png could not be read");
    EXPECT_EQ(entries(library).size(), 2) << "one picture and the album";
}

TEST_F(AlbumWriterTest, FullAndReadOnlyDisksAreReportedWithTheirReason)
{
    QDir().mkpath(library);
    test::SmallDisk disk(library, 64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small disk needs root";
    QImage big(600, 600, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.setPixel(
                x, y, qPremultiply(qRgba((x * 7919 + y * 104729) & 0xff, (x * y) & 0xff, (x ^ y) & 0xff, 255)));

    const AlbumSaveResult full = save(Picture(big), "Quorlan");

    EXPECT_FALSE(full.succeeded());
    EXPECT_TRUE(full.error.contains("No space left on device")) << full.error.toStdString();
    EXPECT_TRUE(entries(library).filter(".part").isEmpty()) << "temporary file left behind";

    ASSERT_TRUE(disk.makeReadOnly());
    const AlbumSaveResult readOnly = save(photo, "Quorlan");

    EXPECT_FALSE(readOnly.succeeded());
    EXPECT_TRUE(readOnly.error.contains("Read-only file system")) << readOnly.error.toStdString();
}

} // namespace
