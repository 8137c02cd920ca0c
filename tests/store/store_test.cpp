// Working files, generated names and the termination clean-up in a throw-away home.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/log.h"
#include "platform/settings.h"
#include "store/cleanup.h"
#include "store/names.h"
#include "store/working_files.h"
#include "support/pixel_compare.h"
#include "support/small_disk.h"
#include "support/temp_home.h"

using namespace vimora;
using test::filledRaster;

namespace {

Picture solid(int w, int h, QRgb argb)
{
    return Picture(filledRaster(w, h, argb));
}

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

class StoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WorkingFiles::shared().forget();
        setLogSink([this](const QString &line) { log << line; });
    }
    void TearDown() override
    {
        setLogSink(nullptr);
        WorkingFiles::shared().setFileWriter(nullptr);
        WorkingFiles::shared().forget();
    }
    test::TempHome home;
    WorkingFiles &files = WorkingFiles::shared();
    QStringList log;
};

// Noise with translucent pixels: it does not compress, and premultiplied values show.
QImage noise(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    quint32 seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, seed | (x % 3 == 0 ? 0xff000000u : 0u));
        }
    return image;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void expectSamePicture(const Picture &actual, const Picture &expected)
{
    ASSERT_FALSE(actual.isNull());
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_EQ(actual.scale(), expected.scale());
    EXPECT_EQ(actual.orientation(), expected.orientation());
    EXPECT_TRUE(test::imagesEqual(actual.bitmap(), expected.bitmap()));
}

} // namespace

TEST_F(StoreTest, SecondSaveWinsInMemoryAndOnDisk)
{
    files.originSave(solid(3, 2, 0xff112233));
    files.originSave(solid(5, 4, 0xff445566));

    EXPECT_EQ(files.originLoad().bitmap().size(), QSize(5, 4));
    files.forget(); // read the file itself
    const Picture onDisk = files.originLoad();
    ASSERT_FALSE(onDisk.isNull());
    EXPECT_TRUE(test::imagesEqual(onDisk.bitmap(), filledRaster(5, 4, 0xff445566)));
}

TEST_F(StoreTest, SlotsHaveTheirFixedFileNames)
{
    files.simpleSave(solid(1, 1, 0xff000000));
    files.simple2Save(solid(1, 1, 0xff000000));
    files.simple3Save(solid(1, 1, 0xff000000));
    files.simple4Save(solid(1, 1, 0xff000000));
    files.simple10Save(solid(1, 1, 0xff000000));
    files.originSave(solid(1, 1, 0xff000000));
    files.flush();

    const QStringList names = QDir(AppHome::tempDir()).entryList(QDir::Files, QDir::Name);

    EXPECT_EQ(names, QStringList({"Origin.png", "Tem.png", "adjust.png", "s1.png", "word.png", "yoos.png"}));
}

TEST_F(StoreTest, NeverWrittenMissingOrCorruptSlotsLoadAsNoPicture)
{
    EXPECT_TRUE(files.simple4Load().isNull());

    touch(WorkingFiles::path(WorkingFiles::Slot::Tem)); // one byte, not a PNG
    EXPECT_TRUE(files.simpleLoad().isNull());

    QDir().mkpath(WorkingFiles::path(WorkingFiles::Slot::Word)); // a folder where a file belongs
    EXPECT_TRUE(files.simple2Load().isNull());
}

TEST_F(StoreTest, ImgDataKeepsTheEditorsLastBytesButNotOrigins)
{
    files.simpleSave(solid(2, 2, 0xff0000ff));
    files.originSave(solid(9, 9, 0xffff0000));

    const Picture fromBytes = decodePicture(files.imgData());

    EXPECT_EQ(fromBytes.bitmap().size(), QSize(2, 2));
}

TEST_F(StoreTest, UnwritableTempKeepsThePictureForThisRun)
{
    QDir(AppHome::tempDir()).removeRecursively();
    touch(AppHome::tempDir()); // tmp is now a file: every write fails

    files.simpleSave(solid(4, 4, 0xff00ff00));
    files.flush();

    EXPECT_EQ(files.simpleLoad().bitmap().size(), QSize(4, 4));
    QFile::remove(AppHome::tempDir());
    AppHome::ensureFolders();
}

TEST(NamesTest, NumbersStayWithinTheirRange)
{
    EXPECT_EQ(nameNumber(0), 1000u);
    EXPECT_EQ(nameNumber(9998), 10998u);
    EXPECT_EQ(nameNumber(9999), 1000u);
    EXPECT_EQ(nameNumber(0xffffffffu), 0xffffffffu % 9999u + 1000u);
    EXPECT_EQ(fileNameMe(NameOwner::Editor, [] { return 9998u; }), "D10998.jpg");
    EXPECT_EQ(fileNameMe(NameOwner::Compositor, [] { return 0u; }), "B1000.jpg");
    EXPECT_EQ(fileNameMeNoTail([] { return 42u; }), "R1042");
}

TEST(NamesTest, TakenNamesAreDrawnAgain)
{
    test::TempHome home;
    touch(AppHome::documentsDir() + "/D1000.jpg");
    std::uint32_t draws[] = {0, 0, 1};
    int i = 0;

    const QString name = freeFileName(AppHome::documentsDir(),
                                      [&] { return fileNameMe(NameOwner::Editor, [&] { return draws[i++]; }); });

    EXPECT_EQ(name, "D1001.jpg");
    EXPECT_TRUE(freeFileName(AppHome::documentsDir(), [] { return QString("D1000.jpg"); }, 5).isEmpty());
}

TEST_F(StoreTest, CleanupEmptiesTmpAndKeepsDocumentsWithoutITunes)
{
    files.simpleSave(solid(2, 2, 0xff000000));
    touch(AppHome::documentsDir() + "/D2000.jpg");
    touch(AppHome::documentsDir() + "/temPhoto.plist");
    QDir().mkpath(AppHome::tempDir() + "/collected");
    Settings::shared().setString(kKeyITunes, "NO");

    terminationCleanup();

    EXPECT_TRUE(QDir(AppHome::tempDir()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_TRUE(QFile::exists(AppHome::documentsDir() + "/D2000.jpg"));
    EXPECT_TRUE(QFileInfo(AppHome::drawImgsDir()).isDir());
    EXPECT_FALSE(QFile::exists(AppHome::documentsDir() + "/temPhoto.plist"));
    EXPECT_TRUE(files.simpleLoad().isNull());
}

TEST_F(StoreTest, CleanupWithITunesEmptiesDocumentsIncludingDrawImgs)
{
    touch(AppHome::documentsDir() + "/D2000.jpg");
    touch(AppHome::drawImgsDir() + "/R1234");
    Settings::shared().setString(kKeyITunes, "YES");

    terminationCleanup();
    Settings::shared().remove(kKeyITunes);

    EXPECT_TRUE(QDir(AppHome::documentsDir()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST_F(StoreTest, CleanupLogsTheEmptyListing)
{
    QStringList lines;
    setLogSink([&](const QString &l) { lines << l; });
    touch(AppHome::tempDir() + "/a.png");

    terminationCleanup();
    setLogSink(nullptr);

    EXPECT_EQ(lines, QStringList({"tmp directory: ()"}));
}

TEST_F(StoreTest, LoadDrawJpgReadsByNameOnlyInsideDrawImgs)
{
    writeFileAtomically(AppHome::drawImgsDir() + "/B1234.jpg", encodeJpeg(solid(6, 3, 0xff808080), 0.9));

    EXPECT_EQ(loadDrawJpg("B1234.jpg").size(), QSizeF(6, 3));
    EXPECT_TRUE(loadDrawJpg("B9999.jpg").isNull());
    EXPECT_TRUE(loadDrawJpg("../settings.ini").isNull());
}

TEST_F(StoreTest, ASlotLoadsTheSamePictureBeforeAndAfterARestart)
{
    const QImage pixels = noise(6, 4);
    const Picture retina(pixels, 2.0);
    const Picture turned(pixels, 1.0, Orientation::Left);

    for (const Picture &saved : {retina, turned}) {
        files.simple3Save(saved);
        const Picture before = files.simple3Load();
        files.forget(); // what a new process finds
        const Picture after = files.simple3Load();

        expectSamePicture(after, before);
        // Upright pixels at one pixel a point: the file cannot carry a scale or a turn.
        EXPECT_EQ(after.bitmap().size(), saved.uprightBitmap().size());
        EXPECT_TRUE(test::imagesEqual(after.bitmap(), Picture(saved.uprightBitmap()).bitmap()));
    }
}

TEST_F(StoreTest, AFullDiskLogsOnceAndKeepsTheEarlierFileWhole)
{
    const QString slotFile = WorkingFiles::path(WorkingFiles::Slot::Adjust);
    test::SmallDisk disk(AppHome::tempDir(), 64 * 1024);
    if (!disk.mounted())
        files.setFileWriter([](const QString &, const QByteArray &) { return false; });
    else {
        files.simple3Save(solid(8, 8, 0xff204060));
        files.flush();
    }
    const QByteArray earlier = fileBytes(slotFile);

    // Each noisy picture alone is larger than the whole disk.
    files.simple3Save(Picture(noise(200, 200)));
    files.flush();
    files.simple3Save(Picture(noise(201, 200)));
    files.simpleSave(Picture(noise(202, 200)));
    files.flush();

    EXPECT_EQ(log.filter("could not write").size(), 1) << qPrintable(log.join('\n'));
    EXPECT_EQ(fileBytes(slotFile), earlier);
    EXPECT_EQ(files.simple3Load().bitmap().size(), QSize(201, 200)); // this run keeps its picture
    if (disk.mounted()) {
        EXPECT_EQ(QDir(AppHome::tempDir()).entryList(QDir::Files), QStringList{"adjust.png"});
    }

    // Room again: writes resume, and the next failure is news worth a line.
    files.setFileWriter([](const QString &, const QByteArray &) { return true; });
    files.simple3Save(solid(2, 2, 0xff000000));
    files.flush();
    files.setFileWriter([](const QString &, const QByteArray &) { return false; });
    files.simple3Save(solid(3, 3, 0xff000000));
    files.flush();
    EXPECT_EQ(log.filter("could not write").size(), 2);
}

TEST_F(StoreTest, AReadOnlyTempLeavesItsFilesAlone)
{
    test::SmallDisk disk(AppHome::tempDir(), 1024 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs without root; the failing writer case covers the log";
    files.originSave(solid(5, 5, 0xff102030));
    files.flush();
    const QByteArray earlier = fileBytes(WorkingFiles::path(WorkingFiles::Slot::Origin));
    ASSERT_TRUE(disk.makeReadOnly());

    files.originSave(solid(7, 7, 0xff405060));
    files.flush();

    EXPECT_EQ(log.filter("could not write").size(), 1);
    EXPECT_EQ(fileBytes(WorkingFiles::path(WorkingFiles::Slot::Origin)), earlier);
    EXPECT_EQ(files.originLoad().bitmap().size(), QSize(7, 7));
}
