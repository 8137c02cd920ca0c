// Property lists, bundle resources and settings in throw-away folders.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/log.h"
#include "platform/photo_picker.h"
#include "platform/property_list.h"
#include "platform/resources.h"
#include "platform/settings.h"
#include "support/pixel_compare.h"
#include "support/temp_home.h"

using namespace vimora;

namespace {

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QStringList captureLog(const std::function<void()> &action)
{
    QStringList lines;
    setLogSink([&](const QString &line) { lines << line; });
    action();
    setLogSink(nullptr);
    return lines;
}

const QByteArray kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";

} // namespace

TEST(PropertyListTest, WrittenStringArrayReadsBack)
{
    QTemporaryDir dir;
    const QStringList words = {"Liberation Serif", "DejaVu Sans", "", "ünïcode"};

    ASSERT_TRUE(writeStringArrayPlist(dir.filePath("wordE.plist"), words));

    EXPECT_EQ(readStringArrayPlist(dir.filePath("wordE.plist")), words);
}

TEST(PropertyListTest, NonArraysMixedArraysAndJunkAreRejectedWithALogLine)
{
    QTemporaryDir dir;
    writeText(dir.filePath("dict.plist"), kXmlHead + "<dict><key>a</key><string>b</string></dict></plist>");
    writeText(dir.filePath("mixed.plist"), kXmlHead + "<array><string>a</string><integer>3</integer></array></plist>");
    writeText(dir.filePath("junk.plist"), "this is not a property list");
    writeText(dir.filePath("empty.plist"), "");
    // A binary list of one UTF-16 string "a" NUL: the library's own string getter aborts on it.
    writeText(dir.filePath("nul.plist"), QByteArray("bplist00\xa1\x01\x62\x00\x61\x00\x00\x08\x0a\x00\x00\x00\x00\x00\x00"
                                                    "\x01\x01\x00\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00\x00\x00\x00"
                                                    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x0f",
                                                    49));

    const QStringList log = captureLog([&] {
        for (const char *name : {"dict", "mixed", "junk", "empty", "nul", "missing"})
            EXPECT_FALSE(readStringArrayPlist(dir.filePath(QString(name) + ".plist"))) << name;
    });

    EXPECT_EQ(log.size(), 6);
}

TEST(ResourcesTest, MissingNamesAreLoggedOnceAndGiveNoPicture)
{
    QTemporaryDir dir;
    Resources::setDirectory(dir.path());
    Resources::clearMissingNames();

    const QStringList log = captureLog([] {
        EXPECT_TRUE(Resources::imageNamed("nothere.png").isNull());
        EXPECT_TRUE(Resources::imageNamed("nothere.png").isNull());
        EXPECT_TRUE(Resources::stringArray("frameE").isEmpty());
    });

    EXPECT_EQ(log, QStringList({"missing resource: nothere.png", "missing resource: frameE.plist"}));
    EXPECT_EQ(Resources::missingNames(), QStringList({"nothere.png", "frameE.plist"}));
}

TEST(ResourcesTest, PrefersTheScaleTwoDrawingWhenAsked)
{
    QTemporaryDir dir;
    Resources::setDirectory(dir.path());
    writeFileAtomically(dir.filePath("b.png"), encodePng(Picture(test::filledRaster(10, 4, 0xff000000))));
    writeFileAtomically(dir.filePath("b@2x.png"), encodePng(Picture(test::filledRaster(20, 8, 0xff000000))));

    Resources::setPreferredScale(1);
    const Picture one = Resources::imageNamed("b.png");
    Resources::setPreferredScale(2);
    const Picture two = Resources::imageNamed("b.png");
    Resources::setPreferredScale(1);

    EXPECT_EQ(one.size(), QSizeF(10, 4));
    EXPECT_EQ(two.size(), QSizeF(10, 4));
    EXPECT_EQ(two.scale(), 2.0);

    // A small screen takes the captioned variant where there is one, and only there.
    writeFileAtomically(dir.filePath("b@small.png"), encodePng(Picture(test::filledRaster(10, 4, 0xffffffff))));
    writeFileAtomically(dir.filePath("c.png"), encodePng(Picture(test::filledRaster(6, 6, 0xff000000))));
    Resources::setSmallScreen(true);
    const Picture small = Resources::imageNamed("b.png");
    const Picture plain = Resources::imageNamed("c");
    Resources::setPreferredScale(2);
    const Picture dense = Resources::imageNamed("b.png");
    Resources::setPreferredScale(1);
    Resources::setSmallScreen(false);
    EXPECT_EQ(small.bitmap().pixel(0, 0), 0xffffffffu);
    EXPECT_EQ(plain.size(), QSizeF(6, 6));
    EXPECT_EQ(dense.scale(), 2.0) << "a dense screen is never a small one";
    EXPECT_EQ(Resources::imageNamed("b.png").bitmap().pixel(0, 0), 0xff000000u);
    EXPECT_EQ(Resources::smallScreenName("words/3.png"), "words/3@small.png");
}

TEST(ResourcesTest, FolderBesideTheBinaryInTheBuildOrInstalled)
{
    QTemporaryDir root;
    const QString bin = root.filePath("prefix/bin");
    QDir().mkpath(bin);
    // Nothing anywhere: the build's folder, so a missing resource names where it was sought.
    EXPECT_EQ(Resources::besideBinary(bin), bin + "/resources");

    const QString installed = root.filePath("prefix/share/vimora/resources");
    QDir().mkpath(installed);
    EXPECT_EQ(Resources::besideBinary(bin), installed);

    // A build tree keeps the resources next to the binary, and those win.
    QDir().mkpath(bin + "/resources");
    EXPECT_EQ(Resources::besideBinary(bin), bin + "/resources");
}

TEST(ResourcesTest, UnreadablePictureIsNoPicture)
{
    QTemporaryDir dir;
    Resources::setDirectory(dir.path());
    writeText(dir.filePath("broken.png"), "\x89PNG\r\n");

    EXPECT_TRUE(Resources::imageNamed("broken.png").isNull());
}

TEST(SettingsTest, ValuesPersistInTheHome)
{
    test::TempHome home;
    Settings::shared().setString(kKeyButtonBack, "SHOW");
    Settings::shared().sync();

    Settings::shared().reopen();

    EXPECT_EQ(Settings::shared().stringForKey(kKeyButtonBack), "SHOW");
    EXPECT_EQ(Settings::shared().stringForKey(kKeyITunes), "");
    EXPECT_TRUE(QFile::exists(AppHome::settingsPath()));
}

TEST(AppHomeTest, FoldersAreCreated)
{
    test::TempHome home;

    EXPECT_TRUE(QFileInfo(AppHome::tempDir()).isDir());
    EXPECT_TRUE(QFileInfo(AppHome::drawImgsDir()).isDir());
    EXPECT_EQ(AppHome::drawImgsDir(), home.path() + "/Documents/drawImgs");
}

TEST(PickedPhotoTest, APhotoBeyondTheLimitsIsRefusedWithItsSize)
{
    QTemporaryDir dir;
    QImage wide(kMaxPictureSide + 1, 1, QImage::Format_RGB32);
    wide.fill(Qt::gray);
    const QString path = dir.filePath("panorama.png");
    ASSERT_TRUE(wide.save(path));

    const PhotoPicker::Result result = readPickedPhoto(path);

    EXPECT_TRUE(result.photo.isNull());
    EXPECT_EQ(result.error, pictureTooLargeMessage(wide.size()));
}
