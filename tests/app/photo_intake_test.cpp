// The photo intake: working copies and thumbnails, cancel and bad picks, the picker's
// presentation per device.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include "app/photo_intake.h"
#include "support/fake_picker.h"
#include "support/screen_driver.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/log.h"
#include "store/working_files.h"
#include "support/temp_home.h"
#include "ui/alert_view.h"
#include "ui/button.h"
#include "ui/headless_host.h"

using namespace vimora;

namespace {

struct HandOver
{
    QStringList origins;
    QStringList thumbs;
};

// A photo whose quadrants differ, so a turned or mirrored copy shows.
Picture quadrantPhoto(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(QRectF(0, 0, w / 2.0, h / 2.0), Qt::red);
    p.fillRect(QRectF(w / 2.0, h / 2.0, w / 2.0, h / 2.0), Qt::blue);
    p.end();
    return Picture(image);
}

QSize fileImageSize(const QString &name)
{
    return QImageReader(AppHome::tempDir() + '/' + name).size();
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    return path;
}

QStringList tmpFiles()
{
    return QDir(AppHome::tempDir()).entryList(QDir::Files, QDir::Name);
}

class IntakeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setLogSink([this](const QString &line) { log << line; });
        useDevice(DeviceProfile::Phone480);
    }
    void TearDown() override
    {
        setLogSink(nullptr);
        PhotoPicker::setCurrent(nullptr);
        Device::setProfile(DeviceProfile::Tablet);
        Device::setOrientation(InterfaceOrientation::Portrait);
    }

    void useDevice(DeviceProfile profile, bool landscape = false)
    {
        intakeUnderTest.reset();
        Device::setProfile(profile);
        Device::setOrientation(landscape ? InterfaceOrientation::LandscapeLeft : InterfaceOrientation::Portrait);
        host = std::make_unique<ui::HeadlessHost>(Device::screenSize());
        const double side = Device::windowSide(profile);
        views = ShellViews::create(QSizeF(side, side));
        host->setRootView(views.rootView);
        picker = test::FakePicker::install();
        handOvers.clear();
        intakeUnderTest = std::make_unique<PhotoIntake>(views, [this](const QStringList &o, const QStringList &t) {
            handOvers.push_back({o, t});
        });
        picker->afterAnswer = [this] {
            intakeUnderTest->waitForIntake();
            host->runPending();
        };
        intakeUnderTest->setIntakeEndedHandler([this] { ++intakesEnded; });
    }

    // One album intake answered with photo.
    void intake(const Picture &photo, const QString &error = {})
    {
        intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
        picker->pick(photo, error);
        host->runPending();
    }

    test::TempHome home;
    QStringList log;
    std::unique_ptr<ui::HeadlessHost> host;
    ShellViews views;
    std::shared_ptr<test::FakePicker::State> picker;
    std::unique_ptr<PhotoIntake> intakeUnderTest;
    std::vector<HandOver> handOvers;
    int intakesEnded = 0;
};

} // namespace

TEST_F(IntakeTest, PhonePhotoBecomesAWorkingCopyAndAThumbnailForTheEditor)
{
    intake(quadrantPhoto(4000, 3000));

    ASSERT_EQ(handOvers.size(), 1u);
    const HandOver &job = handOvers.front();
    ASSERT_EQ(job.origins.size(), 1);
    ASSERT_EQ(job.thumbs.size(), 1);
    EXPECT_TRUE(job.origins[0].startsWith('B') && job.origins[0].endsWith(".jpg")) << job.origins[0].toStdString();
    EXPECT_TRUE(job.thumbs[0].startsWith('D') && job.thumbs[0].endsWith(".jpg")) << job.thumbs[0].toStdString();
    EXPECT_EQ(fileImageSize(job.origins[0]), QSize(1500, 1125));
    EXPECT_EQ(fileImageSize(job.thumbs[0]), QSize(156, 117));
    EXPECT_EQ(intakeUnderTest->originMuAry(), job.origins);
    EXPECT_EQ(intakeUnderTest->thuMuAry(), job.thumbs);
    EXPECT_EQ(intakeUnderTest->fun(), "album");
    EXPECT_TRUE(log.contains("str:album"));
    EXPECT_TRUE(log.contains("imgPreCompress.Width:1500.000000"));
    EXPECT_TRUE(log.contains("imgPreCompress.Height:1125.000000"));
    EXPECT_TRUE(views.cateViewTop->isHidden());
    EXPECT_FALSE(views.waitIndicator->isAnimating());
}

TEST_F(IntakeTest, SizeLimitsFollowTheDevice)
{
    useDevice(DeviceProfile::Tablet);
    intake(quadrantPhoto(3000, 4000));
    ASSERT_EQ(handOvers.size(), 1u);
    EXPECT_EQ(fileImageSize(handOvers[0].origins[0]), QSize(1500, 2000));

    useDevice(DeviceProfile::Phone568);
    intake(quadrantPhoto(1500, 1500));
    ASSERT_EQ(handOvers.size(), 1u);
    EXPECT_EQ(fileImageSize(handOvers[0].origins[0]), QSize(1500, 1500));
}

TEST_F(IntakeTest, WorkingCopyKeepsThePhotoUpright)
{
    intake(quadrantPhoto(400, 300));

    ASSERT_EQ(handOvers.size(), 1u);
    const Picture copy = readPicture(AppHome::tempDir() + '/' + handOvers[0].origins[0]);
    ASSERT_FALSE(copy.isNull());
    // JPEG at quality 1 is near-lossless away from the quadrant edges.
    const QColor topLeft = copy.bitmap().pixelColor(50, 50);
    const QColor bottomRight = copy.bitmap().pixelColor(350, 250);
    EXPECT_GT(topLeft.red(), 240);
    EXPECT_LT(topLeft.blue(), 15);
    EXPECT_GT(bottomRight.blue(), 240);
    EXPECT_LT(bottomRight.red(), 15);
}

TEST_F(IntakeTest, PhotoTurnedByItsExifTagArrivesUpright)
{
    // Stored sideways, 40 wide, with a tag saying "turn a quarter clockwise to view".
    QTemporaryDir dir;
    const QString path = dir.path() + "/sideways.jpg";
    QImageWriter writer(path, "jpeg");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(quadrantPhoto(40, 20).bitmap()));
    const PhotoPicker::Result picked = readPickedPhoto(path);

    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    picker->pending(picked);

    ASSERT_EQ(handOvers.size(), 1u);
    EXPECT_EQ(fileImageSize(handOvers[0].origins[0]), QSize(20, 40));
}

TEST_F(IntakeTest, DegeneratePhotosStillGiveUsableCopies)
{
    intake(quadrantPhoto(1, 1));
    ASSERT_EQ(handOvers.size(), 1u);
    EXPECT_EQ(fileImageSize(handOvers[0].origins[0]), QSize(1, 1));
    EXPECT_EQ(fileImageSize(handOvers[0].thumbs[0]), QSize(156, 156));

    intake(quadrantPhoto(10000, 200));
    ASSERT_EQ(handOvers.size(), 2u);
    EXPECT_EQ(fileImageSize(handOvers[1].origins[0]), QSize(1500, 30));
    EXPECT_EQ(fileImageSize(handOvers[1].thumbs[0]), QSize(156, 3));

    // Thinner than a pixel at the working size: one pixel it is.
    intake(quadrantPhoto(10000, 2));
    ASSERT_EQ(handOvers.size(), 3u);
    EXPECT_EQ(fileImageSize(handOvers[2].origins[0]), QSize(1500, 1));
    EXPECT_EQ(fileImageSize(handOvers[2].thumbs[0]), QSize(156, 1));
    EXPECT_EQ(test::shownAlert(*host), nullptr);
}

TEST_F(IntakeTest, TheSamePhotoPickedTwiceGetsTwoCopiesAndKeepsTheFirst)
{
    const Picture photo = quadrantPhoto(600, 400);
    intake(photo);
    const QString first = handOvers.at(0).origins.at(0);
    const QByteArray firstBytes = [&] {
        QFile f(AppHome::tempDir() + '/' + first);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    intake(photo);

    ASSERT_EQ(handOvers.size(), 2u);
    EXPECT_NE(handOvers[1].origins[0], first);
    EXPECT_EQ(intakeUnderTest->originMuAry(), handOvers[1].origins);
    QFile again(AppHome::tempDir() + '/' + first);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), firstBytes);
    EXPECT_EQ(tmpFiles().size(), 4);
}

TEST_F(IntakeTest, CancelWritesNothingAndLeavesTheListsAsTheyWere)
{
    intake(quadrantPhoto(300, 200));
    const QStringList files = tmpFiles();
    const QStringList origins = intakeUnderTest->originMuAry();

    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    picker->cancel();

    EXPECT_EQ(tmpFiles(), files);
    EXPECT_EQ(intakeUnderTest->originMuAry(), origins);
    EXPECT_EQ(handOvers.size(), 1u);
    EXPECT_FALSE(views.cateViewTop->isHidden());
    EXPECT_EQ(intakeUnderTest->pickerView()->superview(), nullptr);
    EXPECT_EQ(intakesEnded, 1);
}

TEST_F(IntakeTest, AnUnreadablePickShowsAnAlertAndChangesNothing)
{
    intake(quadrantPhoto(300, 200));
    const QStringList files = tmpFiles();
    const QStringList origins = intakeUnderTest->originMuAry();
    const QStringList thumbs = intakeUnderTest->thuMuAry();

    intake(Picture(), QStringLiteral("The photo \"broken.jpg\" could not be read."));

    ui::AlertView *alert = test::shownAlert(*host);
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->message(), "The photo \"broken.jpg\" could not be read.");
    EXPECT_EQ(tmpFiles(), files);
    EXPECT_EQ(intakeUnderTest->originMuAry(), origins);
    EXPECT_EQ(intakeUnderTest->thuMuAry(), thumbs);
    EXPECT_EQ(handOvers.size(), 1u);
    EXPECT_FALSE(views.cateViewTop->isHidden());
    EXPECT_EQ(intakesEnded, 1);

    // The alert's OK button dismisses it.
    host->tap(alert->buttonAtIndex(0)->convertRectTo(alert->buttonAtIndex(0)->bounds(), nullptr).center());
    host->advance(1);
    EXPECT_FALSE(host->hasModal());
}

TEST_F(IntakeTest, ALargeJpegIsDecodedByTheIntakeAtTheWorkingSize)
{
    // Stored sideways with a quarter-turn tag, as a camera held upright writes it.
    QTemporaryDir dir;
    const QString path = dir.path() + "/camera.jpg";
    QImageWriter writer(path, "jpeg");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(quadrantPhoto(3203, 2405).bitmap()));
    const PhotoPicker::Result picked = readPickedPhoto(path, true);
    ASSERT_TRUE(picked.decodeLater);
    EXPECT_TRUE(picked.photo.isNull());
    EXPECT_EQ(picked.size, QSize(2405, 3203));

    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    picker->pending(picked);

    ASSERT_EQ(handOvers.size(), 1u);
    EXPECT_EQ(fileImageSize(handOvers[0].origins[0]), QSize(1126, 1500));
    EXPECT_EQ(intakeUnderTest->pickedSize(), QSize(2405, 3203));
    EXPECT_EQ(intakeUnderTest->pickedPath(), path);
    // Upright: the red quadrant, top left as stored, is top right once turned.
    const QImage working(AppHome::tempDir() + '/' + handOvers[0].origins[0]);
    EXPECT_GT(qRed(working.pixel(1000, 200)), 200);
    EXPECT_LT(qGreen(working.pixel(1000, 200)), 60);
}

TEST_F(IntakeTest, AJpegGoneBeforeTheIntakeDecodesItShowsAnAlertAndChangesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/moved.jpg";
    ASSERT_TRUE(quadrantPhoto(3200, 2400).bitmap().save(path, "JPEG"));
    const PhotoPicker::Result picked = readPickedPhoto(path, true);
    ASSERT_TRUE(picked.decodeLater);
    QFile::remove(path);

    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    picker->pending(picked);

    EXPECT_TRUE(handOvers.empty());
    EXPECT_TRUE(tmpFiles().isEmpty());
    ui::AlertView *alert = test::shownAlert(*host);
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->message(), "The photo \"moved.jpg\" could not be read.");
    EXPECT_EQ(intakesEnded, 1);
    EXPECT_FALSE(intakeUnderTest->isTakingIn());
}

TEST_F(IntakeTest, EmptyCorruptAndTruncatedFilesFromThePicker)
{
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QByteArray &bytes) { writeFile(dir.path() + '/' + name, bytes); };
    const QByteArray png = encodePng(quadrantPhoto(200, 100));
    const QByteArray jpeg = encodeJpeg(quadrantPhoto(200, 100), 1.0);
    write("empty.jpg", {});
    write("notes.jpg", "not a photo at all");
    write("truncated.png", png.left(png.size() / 2));
    write("truncated.jpg", jpeg.left(jpeg.size() / 3));

    for (const char *name : {"empty.jpg", "notes.jpg", "truncated.png"}) {
        intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
        picker->pending(readPickedPhoto(dir.path() + '/' + name));
        host->runPending();

        ui::AlertView *alert = test::shownAlert(*host);
        ASSERT_NE(alert, nullptr) << name;
        EXPECT_TRUE(alert->message().contains(name)) << alert->message().toStdString();
        alert->dismissWithClickedButtonIndex(0, false);
    }
    EXPECT_TRUE(handOvers.empty());
    EXPECT_TRUE(tmpFiles().isEmpty());

    EXPECT_EQ(intakesEnded, 3);
}

TEST_F(IntakeTest, ADamagedPhotoThatStillDecodesAsksBeforeItOpens)
{
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QByteArray &bytes) { return writeFile(dir.path() + '/' + name, bytes); };
    const QByteArray jpeg = encodeJpeg(quadrantPhoto(200, 100), 1.0);
    const QString truncated = write("truncated.jpg", jpeg.left(jpeg.size() / 3));
    const QString endless = write("endless.jpg", jpeg.left(jpeg.size() - 2));
    const QString trailer = write("trailer.jpg", jpeg + QByteArrayLiteral("\xff\xd8 maker notes"));

    // A whole photo opens without a word, whatever follows its end; one missing only its
    // end marker is damaged.
    EXPECT_FALSE(readPickedPhoto(trailer).damaged);
    EXPECT_TRUE(readPickedPhoto(endless).damaged);

    // Cancel: nothing is written, the editor is not called, the home screen is told.
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    const PhotoPicker::Result damaged = readPickedPhoto(truncated);
    ASSERT_FALSE(damaged.photo.isNull()); // the decoder fills in the missing rows
    ASSERT_TRUE(damaged.damaged);
    picker->pending(damaged);
    host->runPending();
    ui::AlertView *notice = test::shownAlert(*host);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice, intakeUnderTest->damagedPhotoNotice());
    EXPECT_EQ(notice->title(), QStringLiteral("Part of this photo could not be read"));
    EXPECT_EQ(notice->buttonTitleAtIndex(PhotoIntake::kNoticeCancelIndex), QStringLiteral("Cancel"));
    EXPECT_EQ(notice->buttonTitleAtIndex(PhotoIntake::kNoticeContinueIndex), QStringLiteral("Continue"));
    EXPECT_TRUE(handOvers.empty());
    EXPECT_TRUE(tmpFiles().isEmpty());
    host->tap(notice->convertRectTo(notice->buttonAtIndex(PhotoIntake::kNoticeCancelIndex)->frame(), nullptr).center());
    host->advance(1);
    EXPECT_FALSE(host->hasModal());
    EXPECT_EQ(intakeUnderTest->damagedPhotoNotice(), nullptr);
    EXPECT_TRUE(handOvers.empty());
    EXPECT_TRUE(tmpFiles().isEmpty());
    EXPECT_EQ(intakesEnded, 1);

    // Continue: the photo opens as far as it goes.
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    picker->pending(readPickedPhoto(truncated));
    host->runPending();
    notice = test::shownAlert(*host);
    ASSERT_NE(notice, nullptr);
    host->tap(notice->convertRectTo(notice->buttonAtIndex(PhotoIntake::kNoticeContinueIndex)->frame(), nullptr).center());
    intakeUnderTest->waitForIntake();
    host->advance(1);
    ASSERT_EQ(handOvers.size(), 1u);
    EXPECT_EQ(fileImageSize(handOvers[0].origins[0]), QSize(200, 100));
    EXPECT_EQ(intakesEnded, 1);
}

TEST_F(IntakeTest, AWorkingCopyThatCannotBeWrittenIsNotHandedOn)
{
    // tmp/ is a plain file: nothing can be written into it.
    QDir(AppHome::tempDir()).removeRecursively();
    QFile blocker(AppHome::tempDir());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    intake(quadrantPhoto(300, 200));

    EXPECT_TRUE(handOvers.empty());
    EXPECT_TRUE(intakeUnderTest->originMuAry().isEmpty());
    ASSERT_NE(test::shownAlert(*host), nullptr);
    EXPECT_FALSE(views.cateViewTop->isHidden());
}

TEST_F(IntakeTest, ALateAnswerFromAReplacedPickerIsIgnored)
{
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    PhotoPicker::Done stale = picker->pending;
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    EXPECT_GE(picker->dismissed, 1);

    stale(std::nullopt);
    EXPECT_EQ(intakesEnded, 0);
    PhotoPicker::Result late;
    late.photo = quadrantPhoto(10, 10);
    stale(late);
    EXPECT_TRUE(handOvers.empty());

    picker->pick(quadrantPhoto(10, 10));
    EXPECT_EQ(handOvers.size(), 1u);
}

TEST_F(IntakeTest, PhonePickerCoversTheScreenWithTheSpinnerThenGivesTheSpinnerBack)
{
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));

    EXPECT_EQ(picker->source, PhotoPicker::Source::Album);
    ASSERT_EQ(intakeUnderTest->pickerView()->superview(), views.rootView.get());
    EXPECT_FALSE(intakeUnderTest->pickerView()->isHidden());
    EXPECT_EQ(intakeUnderTest->pickerView()->frame(), views.rootView->bounds());
    EXPECT_EQ(views.waitIndicator->superview(), intakeUnderTest->pickerView().get());
    EXPECT_TRUE(intakeUnderTest->popoverAnchor().isEmpty());

    picker->pick(quadrantPhoto(20, 20));
    host->runPending();
    EXPECT_EQ(intakeUnderTest->pickerView()->superview(), nullptr);
    EXPECT_EQ(views.waitIndicator->superview(), views.mainView.get());
}

TEST_F(IntakeTest, TabletAlbumPopsOverFromItsOrientationsAnchor)
{
    useDevice(DeviceProfile::Tablet);
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    EXPECT_EQ(intakeUnderTest->popoverAnchor(), QRectF(75, 920, 400, 400));
    EXPECT_EQ(intakeUnderTest->pickerView()->superview(), nullptr);
    EXPECT_FALSE(views.cateViewTop->isHidden());
    picker->pick(quadrantPhoto(20, 20));
    host->runPending();

    useDevice(DeviceProfile::Tablet, true);
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    EXPECT_EQ(intakeUnderTest->popoverAnchor(), QRectF(110, 650, 400, 400));

    // The camera never goes into a popover.
    intakeUnderTest->toAlbumiPad(QStringLiteral("whatever"), QStringLiteral("camera"));
    EXPECT_EQ(picker->source, PhotoPicker::Source::Camera);
    EXPECT_TRUE(intakeUnderTest->popoverAnchor().isEmpty());
    EXPECT_EQ(intakeUnderTest->pickerView()->superview(), views.rootView.get());
}

TEST_F(IntakeTest, ClosingThePopoverEndsTheIntakeWithoutAPhoto)
{
    useDevice(DeviceProfile::Tablet);
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));

    intakeUnderTest->popoverControllerDidDismissPopover();
    picker->cancel(); // the picker's own answer to being closed comes too late to matter

    EXPECT_TRUE(log.contains("popover dismissed"));
    EXPECT_EQ(intakesEnded, 1);
    EXPECT_TRUE(tmpFiles().isEmpty());
    EXPECT_TRUE(handOvers.empty());
}

TEST_F(IntakeTest, APhotoBeingOpenedRefusesASecondIntakeAndHandsOverOnce)
{
    useDevice(DeviceProfile::Phone480);
    // The test answers by hand and lets the work land when it chooses.
    picker->afterAnswer = nullptr;
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    picker->pick(quadrantPhoto(40, 30));
    EXPECT_TRUE(intakeUnderTest->isTakingIn());
    const int presented = picker->presented;
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    EXPECT_EQ(picker->presented, presented);

    intakeUnderTest->waitForIntake();
    host->runPending();
    EXPECT_FALSE(intakeUnderTest->isTakingIn());
    ASSERT_EQ(handOvers.size(), 1u);
    EXPECT_FALSE(test::shownAlert(*host));
    // Done: the next tap opens the picker again.
    intakeUnderTest->toAlbumiPad(QStringLiteral("BW"), QStringLiteral("album"));
    EXPECT_EQ(picker->presented, presented + 1);
}
