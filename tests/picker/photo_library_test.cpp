// The folder photo library (albums, what counts as a photo, bad folders), the grid's
// arithmetic per device and orientation, and the thumbnail cache on disk.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "picker/grid_layout.h"
#include "picker/photo_library_model.h"
#include "picker/thumbnail_cache.h"
#include "picker_support.h"
#include "support/temp_home.h"

using namespace vimora;
using namespace vimora::picker;

namespace {

QStringList names(const std::vector<PhotoAlbum> &albums)
{
    QStringList out;
    for (const auto &album : albums)
        out << album.name;
    return out;
}

QStringList fileNames(const std::vector<PhotoAsset> &photos)
{
    QStringList out;
    for (const auto &photo : photos)
        out << QFileInfo(photo.path()).fileName();
    return out;
}

} // namespace

TEST(PhotoLibrary, OnlyDecodablePicturesCount)
{
    QTemporaryDir dir;
    test::writePhoto(dir.filePath("a.png"));
    test::writePhoto(dir.filePath("b.jpg"));
    QFile(dir.filePath("empty.jpg")).open(QIODevice::WriteOnly);
    QFile text(dir.filePath("notes.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture at all");
    text.close();
    test::writePhoto(dir.filePath("locked.png"));
    QFile::setPermissions(dir.filePath("locked.png"), QFileDevice::Permissions());
    // The superuser reads it anyway.
    const bool lockedReadable = QFile(dir.filePath("locked.png")).open(QIODevice::ReadOnly);
    QFile::link(dir.filePath("gone.png"), dir.filePath("dangling.png"));
    QDir().mkpath(dir.filePath("sub"));
    test::writePhoto(dir.filePath("sub/deeper.png"));

    EXPECT_EQ(fileNames(albumPhotos(dir.path())), lockedReadable ? QStringList({"a.png", "b.jpg", "locked.png"}) : QStringList({"a.png", "b.jpg"}));
    EXPECT_TRUE(albumPhotos(dir.filePath("missing")).empty());
}

TEST(PhotoLibrary, AlbumsAreSubfoldersWithSavedPhotosFirstWhenAsked)
{
    QTemporaryDir dir;
    const QString library = dir.filePath("library");
    QDir().mkpath(library + "/Trips");
    QDir().mkpath(library + "/Beach");
    QDir().mkpath(dir.filePath("Pictures"));
    // A link back to the library must neither repeat it nor loop.
    QFile::link(library, library + "/Loop");

    const auto albums = libraryAlbums(library, {dir.filePath("Pictures"), dir.filePath("nowhere"), library});
    EXPECT_EQ(names(albums), QStringList({"Saved Photos", "Beach", "Trips", "Pictures"}));

    std::vector<PhotoAlbum> mixed = {{"Beach", "/b", AlbumType::Album},
                                     {"Stream", "/s", AlbumType::PhotoStream},
                                     {"Saved Photos", "/l", AlbumType::SavedPhotos},
                                     {"Trips", "/t", AlbumType::Album}};
    EXPECT_EQ(names(orderedAlbums(mixed, true)), QStringList({"Saved Photos", "Stream", "Beach", "Trips"}));
    EXPECT_EQ(names(orderedAlbums(mixed, false)), names(mixed));
}

TEST(PhotoLibrary, MissingLibraryIsCreatedEmpty)
{
    QTemporaryDir dir;
    const QString library = dir.filePath("not/yet/there");
    const auto albums = libraryAlbums(library, {});
    ASSERT_EQ(albums.size(), 1u);
    EXPECT_EQ(albums[0].type, AlbumType::SavedPhotos);
    EXPECT_TRUE(QFileInfo(library).isDir());
    EXPECT_TRUE(albumPhotos(library).empty());
}

TEST(PhotoLibrary, TenThousandFilesInOneFolder)
{
    QTemporaryDir dir;
    for (int i = 0; i < 10000; ++i)
        QFile(dir.filePath(QStringLiteral("f%1.jpg").arg(i, 5, 10, QLatin1Char('0')))).open(QIODevice::WriteOnly);
    test::writePhoto(dir.filePath("real.png"));
    EXPECT_EQ(fileNames(albumPhotos(dir.path())), QStringList({"real.png"}));
}

TEST(PhotoLibrary, AssetsAreEqualByUrl)
{
    const PhotoAsset a{QUrl::fromLocalFile("/photos/a.jpg")};
    EXPECT_EQ(a, PhotoAsset{QUrl::fromLocalFile("/photos/a.jpg")});
    EXPECT_FALSE(a == PhotoAsset{QUrl::fromLocalFile("/photos/b.jpg")});
}

TEST(GridLayout, ItemsPerRowAndGapsPerDeviceAndOrientation)
{
    struct Case
    {
        bool tablet, landscape;
        double width;
        int perRow;
        double gap;
    } cases[] = {
        {true, false, 768, 8, (768 - 600) / 9.0},
        {true, true, 1024, 12, (1024 - 900) / 13.0},
        {false, false, 320, 4, 4},
        {false, true, 568, 6, (568 - 450) / 7.0},
        {false, true, 480, 6, 30.0 / 7},
    };
    for (const auto &c : cases) {
        const GridLayout grid = GridLayout::forScreen(c.tablet, c.landscape, c.width);
        EXPECT_EQ(grid.itemsPerRow, c.perRow) << c.width;
        EXPECT_DOUBLE_EQ(grid.gap, c.gap) << c.width;
        EXPECT_DOUBLE_EQ(grid.rowHeight(), c.gap + 75);
        EXPECT_EQ(grid.itemOrigin(0), QPointF(c.gap, c.gap));
        EXPECT_DOUBLE_EQ(grid.itemOrigin(c.perRow - 1).x() + 75 + c.gap, c.width) << "the last item leaves one gap";
    }
    // Too narrow a width overlaps nothing.
    EXPECT_EQ(GridLayout::forScreen(true, false, 320).gap, 0);
    EXPECT_EQ(GridLayout::kCheckmarkOrigin, QPointF(43, 43));
}

TEST(GridLayout, RowsAndTheLastRowsCount)
{
    const GridLayout phone = GridLayout::forScreen(false, false, 320);
    EXPECT_EQ(phone.rowCount(9), 3);
    EXPECT_EQ(phone.countInRow(0, 9), 4);
    EXPECT_EQ(phone.countInRow(2, 9), 1);
    EXPECT_EQ(phone.countInRow(3, 9), 0);
    EXPECT_EQ(phone.rowCount(8), 2);
    EXPECT_EQ(phone.countInRow(1, 8), 4);
    EXPECT_EQ(phone.rowCount(0), 0);
}

TEST(ThumbnailCache, SquareThumbnailsKeptOnDiskByPathSizeAndTime)
{
    test::TempHome home;
    QTemporaryDir dir;
    const QString photo = dir.filePath("wide.png");
    test::writePhoto(photo, Qt::red, QSize(400, 200));

    ui::HeadlessHost host;
    ThumbnailCache cache(home.path() + "/thumbs", 64);
    QImage got;
    bool answered = false;
    cache.request(photo, [&](const QImage &image) {
        got = image;
        answered = true;
    });
    ASSERT_TRUE(test::waitUntil(host, [&] { return answered; }));
    EXPECT_EQ(got.size(), QSize(64, 64));
    EXPECT_TRUE(QFileInfo::exists(cache.diskPath(photo)));
    EXPECT_EQ(cache.cached(photo).size(), QSize(64, 64));

    // A changed photo gets a new disk file.
    const QString before = cache.diskPath(photo);
    test::writePhoto(photo, Qt::blue, QSize(300, 300));
    QFile(photo).setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    EXPECT_NE(cache.diskPath(photo), before);

    // An unreadable file answers with nothing, once.
    const QString broken = dir.filePath("broken.png");
    QFile(broken).open(QIODevice::WriteOnly);
    int calls = 0;
    cache.request(broken, [&](const QImage &image) {
        EXPECT_TRUE(image.isNull());
        ++calls;
    });
    ASSERT_TRUE(test::waitUntil(host, [&] { return calls > 0; }));
    EXPECT_EQ(calls, 1);
}

TEST(ThumbnailCache, DiskCopyReadBackExactlyAndRemadeWhenDamaged)
{
    test::TempHome home;
    QTemporaryDir dir;
    const QString photo = dir.filePath("square.png");
    test::writePhoto(photo, QColor(200, 40, 90), QSize(128, 128));

    ui::HeadlessHost host;
    ThumbnailCache cache(home.path() + "/thumbs", 64);
    auto fetch = [&] {
        QImage got;
        bool answered = false;
        cache.request(photo, [&](const QImage &image) {
            got = image;
            answered = true;
        });
        EXPECT_TRUE(test::waitUntil(host, [&] { return answered; }));
        cache.waitForDone();
        cache.clearMemory();
        return got;
    };
    const QImage made = fetch();
    ASSERT_EQ(made.size(), QSize(64, 64));
    EXPECT_EQ(fetch(), made); // read back from disk, not remade

    // A torn disk copy must not show as a picture: the photo is cut down again.
    QFile torn(cache.diskPath(photo));
    ASSERT_TRUE(torn.open(QIODevice::ReadWrite));
    torn.resize(torn.size() / 2);
    torn.close();
    EXPECT_EQ(fetch(), made);
    QFile garbage(cache.diskPath(photo));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(64 * 64 * 3 + 12, '\xff'));
    garbage.close();
    EXPECT_EQ(fetch(), made);
}

TEST(ThumbnailCache, DiskCopiesStayWithinTheirBudgetDroppingTheLeastRecentlyUsed)
{
    test::TempHome home;
    QTemporaryDir dir;
    const QString folder = home.path() + "/thumbs";
    const qint64 each = 12 + 32 * 32 * 3;
    ui::HeadlessHost host;
    ThumbnailCache cache(folder, 32, 5 * each); // room for five
    auto fetch = [&](const QString &photo) {
        bool answered = false;
        cache.request(photo, [&](const QImage &) { answered = true; });
        EXPECT_TRUE(test::waitUntil(host, [&] { return answered; }));
        cache.waitForDone();
        cache.clearMemory();
    };
    QStringList photos;
    for (int i = 0; i < 8; ++i) {
        photos << dir.filePath(QStringLiteral("p%1.png").arg(i));
        test::writePhoto(photos.back(), QColor(i * 30, 0, 0), QSize(40, 40));
    }
    // A stale thumbnail left by an earlier run counts from the first write on.
    QDir().mkpath(folder);
    QFile stale(folder + "/stale.thumb");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray(int(each), '\0'));
    stale.close();
    stale.setFileTime(QDateTime::currentDateTime().addDays(-30), QFileDevice::FileModificationTime);
    for (int i = 0; i < 4; ++i) {
        fetch(photos[i]);
        // Distinct ages, oldest first; p0 is read again below and so outlives p1 and p2.
        QFile(cache.diskPath(photos[i])).setFileTime(QDateTime::currentDateTime().addSecs(i - 100), QFileDevice::FileModificationTime);
    }
    fetch(photos[0]);
    fetch(photos[4]); // the sixth file: over the budget
    fetch(photos[5]);

    EXPECT_LE(cache.diskBytes(), 5 * each);
    EXPECT_FALSE(QFileInfo::exists(folder + "/stale.thumb"));
    EXPECT_TRUE(QFileInfo::exists(cache.diskPath(photos[0])));
    EXPECT_FALSE(QFileInfo::exists(cache.diskPath(photos[1])));
    EXPECT_FALSE(QFileInfo::exists(cache.diskPath(photos[2])));
    EXPECT_TRUE(QFileInfo::exists(cache.diskPath(photos[5])));
    for (int i = 6; i < 8; ++i)
        fetch(photos[i]);
    EXPECT_LE(QDir(folder).entryList({"*.thumb"}, QDir::Files).size(), 5);
    EXPECT_TRUE(QFileInfo::exists(cache.diskPath(photos[7])));
}

TEST(ThumbnailCache, AnEarlierListingVouchesOnlyForUnchangedFiles)
{
    test::TempHome home;
    QTemporaryDir dir;
    test::writePhoto(dir.filePath("a.png"));
    test::writePhoto(dir.filePath("b.png"));
    ThumbnailCache cache(home.path() + "/thumbs", 64);
    cache.rememberAlbum(dir.path(), albumPhotos(dir.path()));

    // b becomes a non-picture of another size, c is new: neither may be taken on trust.
    QFile b(dir.filePath("b.png"));
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write("not a picture");
    b.close();
    test::writePhoto(dir.filePath("c.png"));
    EXPECT_EQ(fileNames(albumPhotos(dir.path(), cache.knownPictures(dir.path()))), QStringList({"a.png", "c.png"}));

    // Same size but a new time is a different file as well.
    const QString a = dir.filePath("a.png");
    const qint64 size = QFileInfo(a).size();
    QFile rewritten(a);
    ASSERT_TRUE(rewritten.open(QIODevice::WriteOnly));
    rewritten.write(QByteArray(size, 'x'));
    rewritten.close();
    rewritten.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    EXPECT_EQ(fileNames(albumPhotos(dir.path(), cache.knownPictures(dir.path()))), QStringList({"c.png"}));

    // A damaged index only costs header reads.
    cache.rememberAlbum(dir.path(), albumPhotos(dir.path()));
    const QDir indexes(home.path() + "/thumbs/albums");
    for (const QString &name : indexes.entryList(QDir::Files)) {
        QFile index(indexes.filePath(name));
        ASSERT_TRUE(index.open(QIODevice::ReadWrite));
        index.resize(6);
    }
    EXPECT_EQ(fileNames(albumPhotos(dir.path(), cache.knownPictures(dir.path()))), QStringList({"c.png"}));
}
