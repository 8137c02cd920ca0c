// Saving and sharing from the editor on the headless host: the quality choice into the album,
// the capture with text labels, the one-by-one chain, the document export and the share panel.

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QPainter>
#include <QThread>

#include "editor/lifted_piece.h"
#include "editor/list_export.h"
#include "editor/photo_capture.h"
#include "editor_fixture.h"
#include "platform/log.h"
#include "platform/photo_picker.h"
#include "platform/settings.h"
#include "support/pixel_compare.h"
#include "ui/label.h"

using namespace vimora;
using namespace vimora::test;

namespace {

bool sameWithin(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
           && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

class EditorSavingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        PhotoLibrary::setFolder(library());
        setLogSink([this](const QString &line) { log << line; });
        Settings::shared().remove(kKeyITunes);
        Settings::shared().remove(kKeySaved);
    }
    void TearDown() override { setLogSink(nullptr); }

    /// The worked example cut: a 1200 x 900 photo on a 480-point phone shown at 300 x 225,
    /// the piece cut at (10, 20) in points, the toolbar up.
    void cutExample()
    {
        screen.writePhoto("D1001.jpg", photo);
        screen.startJob("D1001.jpg");
        const ui::ImageView &r = *screen.rectangle();
        const QPointF from = EditorScreen::centreOnScreen(r);
        screen.host.drag(from, from + (QPointF(10, 20) - r.frame().topLeft()));
        screen.host.tap(EditorScreen::centreOnScreen(*screen.doneButton()));
        ASSERT_TRUE(screen.piece());
    }
    /// Runs Qt's events and the host's clock until the condition holds.
    bool waitUntil(const std::function<bool()> &condition)
    {
        for (int i = 0; i < 3000; ++i) {
            QCoreApplication::processEvents();
            screen.host.runPending();
            if (condition())
                return true;
            QThread::msleep(2);
        }
        return condition();
    }
    /// Lets every write asked for so far complete and its completion run.
    void settle()
    {
        screen.editor->saving().albumWriter().waitForWrites();
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents();
            screen.host.runPending();
        }
    }
    QString shownMessage()
    {
        ui::AlertView *alert = screen.shownAlert();
        return alert ? alert->title() + "|" + alert->message() : QString();
    }
    /// A plain label standing in for a text layer.
    static std::shared_ptr<ui::Label> textLabel(int tag, const QRectF &frame, QColor colour)
    {
        auto label = std::make_shared<ui::Label>(frame, QString());
        label->setTag(tag);
        label->setBackgroundColor(colour);
        return label;
    }
    QString library() const { return screen.home.path() + "/Photos"; }
    QString album() const { return library() + "/Quorlan"; }

    EditorScreen screen{DeviceProfile::Phone480};
    QImage photo = codedPhoto(1200, 900);
    QStringList log;
};

TEST_F(EditorSavingTest, SaveHighWritesThePhotoAtFullSizeAndSaysSoOnlyOnceWritten)
{
    cutExample();
    ASSERT_NE(screen.toolbarButton("Save"), nullptr);
    // Just cut: the piece is lifted, its shadow and outline pulse on screen.
    ASSERT_TRUE(LiftedPiece::isShaded(*screen.piece()));
    ASSERT_GT(screen.piece()->borderWidth(), 0);

    screen.tap(*screen.toolbarButton("Save"));
    ASSERT_NE(screen.shownAlert(), nullptr);
    EXPECT_EQ(screen.shownAlert()->message(), "Save to Album");
    screen.answer(QStringLiteral("High \u2014 1200 \u00d7 900"));

    EXPECT_EQ(shownMessage(), QString()) << "claimed before the write completed";
    ASSERT_TRUE(waitUntil([&] { return !shownMessage().isEmpty(); }));
    EXPECT_EQ(shownMessage(), "Save|Saved in Quorlan");
    const QStringList saved = filesIn(album());
    ASSERT_EQ(saved.size(), 1);
    // The piece lies exactly over its hole. Drawn
    // through a scale of four and back, it may be resampled at a float-rounded identity: one
    // step per channel at most.
    EXPECT_TRUE(imagesEqual(readPicture(album() + "/" + saved[0]).bitmap().convertToFormat(QImage::Format_RGB32),
        photo.convertToFormat(QImage::Format_RGB32), 1));
    EXPECT_TRUE(log.contains("success!"));

    // A copy stays in the document store, where the home screen lists backgrounds.
    screen.editor->saving().waitForKeptCopies();
    settle();
    const QStringList kept = filesIn(AppHome::drawImgsDir());
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readPicture(AppHome::drawImgsDir() + "/" + kept[0]).bitmap().size(), photo.size());
}

TEST_F(EditorSavingTest, HighIsFullSizeAndMediumHalfWithOrWithoutText)
{
    cutExample();
    Saving &saving = screen.editor->saving();

    const QSize highPlain = saving.capture(SaveQuality::High).bitmap().size();
    const QSize mediumPlain = saving.capture(SaveQuality::Medium).bitmap().size();
    screen.photoView()->addSubview(textLabel(kFirstTextLabelTag, QRectF(100, 50, 40, 20), Qt::red));
    const QSize highText = saving.capture(SaveQuality::High).bitmap().size();
    const QSize mediumText = saving.capture(SaveQuality::Medium).bitmap().size();

    EXPECT_EQ(highPlain, QSize(1200, 900));
    EXPECT_EQ(mediumPlain, QSize(600, 450));
    EXPECT_EQ(highText, QSize(1200, 900));
    EXPECT_EQ(mediumText, QSize(600, 450));
    EXPECT_TRUE(log.contains("fView2 have text:10000"));
}

TEST_F(EditorSavingTest, TextLabelsAreScaledIntoTheCaptureAndLeftWhereTheyWere)
{
    cutExample();
    auto onPhoto = textLabel(kFirstTextLabelTag, QRectF(100, 50, 40, 20), Qt::red);
    screen.photoView()->addSubview(onPhoto);
    // A label laid beside the photo view, in the editor's layer, 10 points into the photo.
    const QPointF photoOrigin = screen.photoView()->convertPointTo(QPointF(0, 0), screen.views->cutImgView.get());
    auto beside = textLabel(kFirstTextLabelTag + 1, QRectF(photoOrigin + QPointF(200, 150), QSizeF(20, 10)), Qt::blue);
    screen.views->cutImgView->addSubview(beside);
    const QRectF photoFrame = screen.photoView()->frame();

    const QImage high = screen.editor->saving().capture(SaveQuality::High).bitmap();

    // 300 x 225 points onto 1200 x 900 pixels: four pixels a point.
    EXPECT_EQ(pixelAt(high, 401, 201), qRgb(255, 0, 0));
    EXPECT_EQ(pixelAt(high, 558, 278), qRgb(255, 0, 0));
    EXPECT_EQ(pixelAt(high, 562, 282), photo.pixel(562, 282));
    EXPECT_EQ(pixelAt(high, 801, 601), qRgb(0, 0, 255));
    EXPECT_EQ(pixelAt(high, 878, 638), qRgb(0, 0, 255));
    EXPECT_EQ(onPhoto->frame(), QRectF(100, 50, 40, 20));
    EXPECT_EQ(screen.photoView()->frame(), photoFrame);
    EXPECT_EQ(screen.photoView()->borderWidth(), 2);
}

TEST_F(EditorSavingTest, TheSaveIsThePhotoFrameWithoutWhatOnlyHelps)
{
    // Before the cut: the crop rectangle, its handles and the done button are over the photo.
    screen.writePhoto("D1001.jpg", photo);
    screen.startJob("D1001.jpg");
    ASSERT_NE(screen.rectangle(), nullptr);
    EXPECT_TRUE(imagesEqual(screen.editor->saving().capture(SaveQuality::High).bitmap().convertToFormat(QImage::Format_RGB32),
                            photo.convertToFormat(QImage::Format_RGB32), 1))
        << "the crop rectangle is not part of the picture";

    // Cut, lifted (shadow, pulse, hint) and dragged 40 x 30 points right and down.
    const ui::ImageView &r = *screen.rectangle();
    const QPointF from = EditorScreen::centreOnScreen(r);
    screen.host.drag(from, from + (QPointF(10, 20) - r.frame().topLeft()));
    screen.tap(*screen.doneButton());
    ui::ImageView *piece = screen.piece();
    ASSERT_TRUE(piece && LiftedPiece::isShaded(*piece));
    const QRectF home = piece->frame();
    piece->setCenter(piece->center() + QPointF(40, 30));
    const QImage high = screen.editor->saving().capture(SaveQuality::High).bitmap().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(high.size(), photo.size());

    // Four pixels a point. The piece shows what was cut, where it now lies.
    const QRect moved = QRectF(piece->frame().topLeft() * 4, piece->frame().size() * 4).toRect();
    const QRect cut = QRectF(home.topLeft() * 4, home.size() * 4).toRect();
    EXPECT_TRUE(imagesEqual(high.copy(moved.adjusted(2, 2, -2, -2)),
                            photo.convertToFormat(QImage::Format_RGB32).copy(cut.adjusted(2, 2, -2, -2)), 1));
    // Outside it, the photo as it is, the band where the shadow fell included; the hole is
    // black where the piece left it.
    int differing = 0;
    for (int y = 0; y < high.height(); y += 3)
        for (int x = 0; x < high.width(); x += 3) {
            const QPoint p(x, y);
            if (moved.adjusted(-2, -2, 2, 2).contains(p) || cut.adjusted(-2, -2, 2, 2).contains(p))
                continue;
            differing += !sameWithin(high.pixel(p), photo.pixel(p), 1);
        }
    EXPECT_EQ(differing, 0) << "a shadow or outline was saved";
    const QPoint inHole = cut.topLeft() + QPoint(20, 20);
    ASSERT_FALSE(moved.contains(inHole));
    EXPECT_EQ(pixelAt(high, inHole.x(), inHole.y()), qRgb(0, 0, 0));
}

TEST_F(EditorSavingTest, TheQualityChoiceSaysTheSizesAndOffersTheOriginalWhenLarger)
{
    cutExample();
    Saving &saving = screen.editor->saving();
    screen.editor->askMessage();
    ASSERT_NE(screen.shownAlert(), nullptr);
    QStringList titles;
    for (int i = 0; i < screen.shownAlert()->numberOfButtons(); ++i)
        titles << screen.shownAlert()->buttonTitleAtIndex(i);
    EXPECT_EQ(titles, (QStringList{"Cancel", QStringLiteral("High \u2014 1200 \u00d7 900"),
                                   QStringLiteral("Medium \u2014 600 \u00d7 450"), "Share..."}))
        << "no original is known for a job started without one";
    screen.answer("Cancel");

    // A picked photo larger than its working copy is offered at its own size, at most 8192.
    screen.editor->setPickedOriginal({library() + "/big.jpg", QSize(4800, 3600)});
    screen.editor->getNumOfArray({"D1001.jpg"}, {});
    EXPECT_EQ(saving.sizeFor(SaveQuality::OriginalSize), QSize(4800, 3600));
    screen.editor->setPickedOriginal({library() + "/huge.jpg", QSize(16000, 9000)});
    screen.editor->getNumOfArray({"D1001.jpg"}, {});
    EXPECT_EQ(saving.sizeFor(SaveQuality::OriginalSize), QSize(8192, 4608));
    screen.editor->setPickedOriginal({library() + "/same.jpg", QSize(1200, 900)});
    screen.editor->getNumOfArray({"D1001.jpg"}, {});
    EXPECT_TRUE(saving.sizeFor(SaveQuality::OriginalSize).isEmpty()) << "no larger than High";
    // Told once, for the next job only.
    screen.editor->getNumOfArray({"D1001.jpg"}, {});
    EXPECT_TRUE(saving.sizeFor(SaveQuality::OriginalSize).isEmpty());
}

TEST_F(EditorSavingTest, OriginalSizeRendersTheCompositionFromThePickedPhoto)
{
    // A 6000 x 4000 original: red, a green square where the piece is cut, a blue one where it
    // is dragged to. Its 1500 x 1000 working copy is what the editor shows, at 300 x 200 points.
    const double k = 20; // pixels of the original a point
    const QRectF cutAt(10, 20, 100, 100), droppedAt(150, 80, 100, 100);
    QImage original(6000, 4000, QImage::Format_RGB32);
    original.fill(Qt::red);
    {
        QPainter painter(&original);
        painter.fillRect(QRectF(cutAt.topLeft() * k, cutAt.size() * k), Qt::green);
        painter.fillRect(QRectF(droppedAt.topLeft() * k, droppedAt.size() * k), Qt::blue);
    }
    QDir().mkpath(library());
    const QString originalPath = library() + "/original.jpg";
    ASSERT_TRUE(writeFileAtomically(originalPath, encodeJpeg(Picture(original), 0.9)));
    screen.writePhoto("D1001.jpg", original.scaled(1500, 1000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    original = QImage();
    screen.editor->setPickedOriginal({originalPath, QSize(6000, 4000)});
    screen.startJob("D1001.jpg");
    ASSERT_EQ(screen.photoView()->frame().size(), QSizeF(300, 200));
    const ui::ImageView &r = *screen.rectangle();
    const QPointF from = EditorScreen::centreOnScreen(r);
    screen.host.drag(from, from + (cutAt.topLeft() - r.frame().topLeft()));
    screen.tap(*screen.doneButton());
    ui::ImageView *piece = screen.piece();
    ASSERT_TRUE(piece);
    piece->setFrame(QRectF(droppedAt.topLeft(), piece->frame().size()));
    const QRectF home(cutAt.topLeft(), piece->frame().size());

    screen.editor->askMessage();
    screen.answer(QStringLiteral("Original size \u2014 6000 \u00d7 4000"));
    EXPECT_TRUE(screen.editor->saving().isRenderingOriginal());
    EXPECT_TRUE(shownMessage().startsWith(QStringLiteral("Saving\u2026|"))) << shownMessage().toStdString();
    screen.editor->saving().waitForOriginalRender();
    ASSERT_TRUE(waitUntil([&] { return shownMessage().startsWith("Save|"); })) << shownMessage().toStdString();
    EXPECT_EQ(shownMessage(), "Save|Saved in Quorlan");

    const QStringList saved = filesIn(album());
    ASSERT_EQ(saved.size(), 1);
    const QImage picture = readPicture(album() + "/" + saved[0]).bitmap();
    ASSERT_EQ(picture.size(), QSize(6000, 4000));
    const auto at = [&](QPointF points) { return pixelAt(picture, int(points.x() * k), int(points.y() * k)); };
    const auto near = [](QRgb a, QRgb b) { return sameWithin(a, b, 8); };
    // The piece, green, over the blue square it was dropped on, in its scaled place.
    EXPECT_TRUE(near(at(droppedAt.center()), qRgb(0, 255, 0)));
    EXPECT_TRUE(near(at(QPointF(droppedAt.left() + 5, droppedAt.top() + 5)), qRgb(0, 255, 0)));
    // The hole it left, and the original photo everywhere else.
    EXPECT_EQ(at(home.center()), qRgb(0, 0, 0));
    EXPECT_TRUE(near(at(QPointF(280, 10)), qRgb(255, 0, 0)));
    EXPECT_TRUE(near(at(QPointF(droppedAt.right() + 3, droppedAt.bottom() + 3)), qRgb(255, 0, 0))) << "no shadow";
    // The saved-pictures copy is the working size.
    screen.editor->saving().waitForKeptCopies();
    settle();
    const QStringList kept = filesIn(AppHome::drawImgsDir());
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readPicture(AppHome::drawImgsDir() + "/" + kept[0]).bitmap().size(), QSize(1500, 1000));
}

TEST_F(EditorSavingTest, AFailedSaveTellsWhyAndClaimsNothing)
{
    cutExample();
    QDir().mkpath(library());
    QFile blocker(album());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    screen.editor->askMessage();
    screen.answer(QStringLiteral("Medium \u2014 600 \u00d7 450"));

    ASSERT_TRUE(waitUntil([&] { return !shownMessage().isEmpty(); }));
    EXPECT_TRUE(shownMessage().startsWith("Not saved|")) << shownMessage().toStdString();
    EXPECT_TRUE(shownMessage().contains("Quorlan")) << shownMessage().toStdString();
    EXPECT_FALSE(shownMessage().contains("Saved in"));
    EXPECT_TRUE(log.filter("Big error: ").size() == 1);
    // Nor does the home screen's Saved list show it.
    screen.editor->saving().waitForKeptCopies();
    settle();
    EXPECT_TRUE(filesIn(AppHome::drawImgsDir()).isEmpty());
}

TEST_F(EditorSavingTest, OneByOneSavesEveryPictureThenSaysSoOnce)
{
    for (const char *name : {"a.png", "b.png", "c.png"})
        screen.writePhoto(name, codedPhoto(40, 30));
    screen.editor->getNumOfArray({"a.png", "b.png", "c.png"}, {});
    int messages = 0;

    screen.editor->saveOneByone();
    ASSERT_TRUE(waitUntil([&] {
        if (!shownMessage().isEmpty()) {
            ++messages;
            screen.answer("OK");
        }
        return !screen.editor->saving().listExport().isSavingOneByOne();
    }));
    settle();

    EXPECT_EQ(messages, 1);
    EXPECT_TRUE(log.contains("success:3"));
    EXPECT_EQ(filesIn(library()).size(), 3);
    EXPECT_EQ(Settings::shared().stringForKey(kKeySaved), "YES");
    // The original photos, whole, and each linked into the album the control names.
    for (const QString &file : filesIn(library()))
        EXPECT_EQ(readPicture(library() + "/" + file).bitmap().size(), QSize(40, 30));
    EXPECT_EQ(filesIn(album()).size(), 3);
}

TEST_F(EditorSavingTest, OneByOneStopsAtAMissingPictureAndNamesIt)
{
    screen.writePhoto("a.png", codedPhoto(40, 30));
    screen.writePhoto("c.png", codedPhoto(40, 30));
    screen.editor->getNumOfArray({"a.png", "gone.png", "c.png"}, {});

    screen.editor->saveOneByone();
    ASSERT_TRUE(waitUntil([&] { return !shownMessage().isEmpty(); }));

    EXPECT_TRUE(shownMessage().startsWith("Error|")) << shownMessage().toStdString();
    EXPECT_TRUE(shownMessage().contains("gone.png"));
    EXPECT_TRUE(log.contains("Error"));
    EXPECT_EQ(filesIn(library()).size(), 1);
    EXPECT_FALSE(screen.editor->saving().listExport().isSavingOneByOne());
}

TEST_F(EditorSavingTest, DocumentExportSquaresByExtensionAndKeepsEditedVersionsUnderTheirOwnNames)
{
    screen.writePhoto("wide.png", positionCoded(400, 300));
    screen.writePhoto("tall.jpg", codedPhoto(30, 50));
    screen.writePhoto("a.png", codedPhoto(20, 20));
    QDir().mkpath(AppHome::documentsDir());
    QFile old(AppHome::documentsDir() + "/old.png");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    Settings::shared().setString(kKeyITunes, "YES");
    screen.editor->getNumOfArray({"wide.png", "tall.jpg", "a.png"}, {});
    // Edited versions are made during the job (starting one empties tmp/ of other files).
    screen.writePhoto("Xa.png", codedPhoto(12, 8));
    screen.editor->setEditedNames({"Xa.png"});
    QFile edited(screen.tmp("Xa.png"));
    ASSERT_TRUE(edited.open(QIODevice::ReadOnly));
    const QByteArray editedBytes = edited.readAll();

    screen.editor->saveToItunes();
    ASSERT_TRUE(waitUntil([&] { return !shownMessage().isEmpty(); }));

    const QStringList files = filesIn(AppHome::documentsDir());
    ASSERT_EQ(files.size(), 3) << files.join(",").toStdString();
    EXPECT_FALSE(files.contains("old.png")) << "iTunes YES empties the folder first";
    ASSERT_TRUE(files.contains("Xa.png"));
    QFile exported(AppHome::documentsDir() + "/Xa.png");
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(), editedBytes);
    const QStringList pngs = files.filter(QRegularExpression("^R\\d+\\.png$"));
    const QStringList jpgs = files.filter(QRegularExpression("^R\\d+\\.jpg$"));
    ASSERT_EQ(pngs.size(), 1);
    ASSERT_EQ(jpgs.size(), 1);
    EXPECT_TRUE(imagesEqual(
        readPicture(AppHome::documentsDir() + "/" + pngs[0]).bitmap(), positionCoded(400, 300).copy(50, 0, 300, 300)));
    EXPECT_EQ(readPicture(AppHome::documentsDir() + "/" + jpgs[0]).bitmap().size(), QSize(30, 30));
    EXPECT_TRUE(shownMessage().startsWith("Documents|3 pictures are in ")) << shownMessage().toStdString();
}

TEST_F(EditorSavingTest, TheNamingStripsExportUsesTheNewNames)
{
    screen.writePhoto("wide.png", positionCoded(400, 300));
    screen.writePhoto("tall.jpg", codedPhoto(30, 50));
    screen.editor->getNumOfArray({"wide.png", "tall.jpg"}, {});

    screen.editor->renameAct();
    ASSERT_TRUE(waitUntil([&] { return !shownMessage().isEmpty(); }));

    EXPECT_EQ(filesIn(AppHome::documentsDir()), (QStringList{"Image1.png", "Image2.jpg"}));
    EXPECT_TRUE(imagesEqual(readPicture(AppHome::documentsDir() + "/Image1.png").bitmap(),
        positionCoded(400, 300).copy(50, 0, 300, 300)));
}

TEST_F(EditorSavingTest, CentredSquareTakesTheMiddleOfTheLongerSide)
{
    const Picture wide(positionCoded(400, 300));
    const Picture tall(positionCoded(3, 8));

    EXPECT_TRUE(imagesEqual(centredSquare(wide).bitmap(), positionCoded(400, 300).copy(50, 0, 300, 300)));
    EXPECT_TRUE(imagesEqual(centredSquare(tall).bitmap(), positionCoded(3, 8).copy(0, 2, 3, 3)));
    EXPECT_EQ(centredSquare(Picture(positionCoded(1, 1))).bitmap().size(), QSize(1, 1));
    EXPECT_TRUE(centredSquare(Picture()).isNull());
    EXPECT_EQ(editedVersionOf("a.png", {"b.png", "Xa.png"}), "Xa.png");
    EXPECT_EQ(editedVersionOf("a.png", {"a.png", "XXa.png"}), QString());
}

TEST_F(EditorSavingTest, TheSharePanelReachesEveryExport)
{
    cutExample();
    screen.editor->askMessage();

    screen.answer("Share...");

    ui::ImageView *panel = screen.editor->saving().sharePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isHidden());
    for (const int tag : {kShareOneByOneTag, kShareDocumentsTag, kShareMailTag}) {
        auto *button = dynamic_cast<ui::Button *>(panel->viewWithTag(tag));
        ASSERT_NE(button, nullptr) << tag;
        EXPECT_TRUE(panel->bounds().contains(button->frame())) << tag;
    }
    // The documents export from the panel: the cut photo goes out as its centred square.
    screen.tap(*panel->viewWithTag(kShareDocumentsTag));
    EXPECT_TRUE(panel->isHidden());
    ASSERT_TRUE(waitUntil([&] { return !shownMessage().isEmpty(); }));
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(filesIn(AppHome::documentsDir()).size(), 1);
}

} // namespace
