// The finishing toolbar per device and orientation, the side controls of the finished cut, the
// naming strip (prefix, start number, date stamps) and the plain answers of steps not there yet.

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QThread>

#include "editor/colour_panel.h"
#include "editor/editor_layout.h"
#include "editor/finishing_toolbar.h"
#include "editor/naming_fields.h"
#include "editor_fixture.h"
#include "platform/log.h"
#include "platform/photo_picker.h"
#include "platform/resources.h"

using namespace vimora;
using namespace vimora::test;

namespace {

TEST(NamingRulesTest, NamesCountOnFromTheStartNumber)
{
    EXPECT_EQ(namesForPictures("Image", 5, 3), (QStringList{"Image5", "Image6", "Image7"}));
    EXPECT_TRUE(namesForPictures("Image", 1, 0).isEmpty());
    // The largest start still counts on without overflowing.
    EXPECT_EQ(namesForPictures("P", kLargestStartNumber, 2).last(), "P1000000000");
    // A prefix ending in a digit (a date stamp) keeps apart from the number.
    EXPECT_EQ(namesForPictures("06 Dec 2026", 1, 2), (QStringList{"06 Dec 2026 1", "06 Dec 2026 2"}));
    EXPECT_EQ(namesForPictures("20261206", 10, 1), QStringList{"20261206 10"});
}

TEST(NamingRulesTest, PrefixesAreSafeForFileNamesAndNeverEmpty)
{
    EXPECT_EQ(cleanNamePrefix(""), "Image");
    EXPECT_EQ(cleanNamePrefix(".."), "Image");
    EXPECT_EQ(cleanNamePrefix("../up/here"), "..uphere");
    EXPECT_EQ(cleanNamePrefix(" Trip\tday "), "Tripday");
    EXPECT_EQ(cleanNamePrefix("Été 2026 "), "Été 2026");
}

TEST(NamingRulesTest, StartNumbersAreWholeNumbersFromZeroUp)
{
    EXPECT_EQ(parseStartNumber(""), 1);
    EXPECT_EQ(parseStartNumber(" 5 "), 5);
    EXPECT_EQ(parseStartNumber("0"), 0);
    EXPECT_EQ(parseStartNumber("99999999999999999999999"), kLargestStartNumber);
    EXPECT_EQ(parseStartNumber("-3"), std::nullopt);
    EXPECT_EQ(parseStartNumber("abc"), std::nullopt);
    EXPECT_EQ(parseStartNumber("1.5"), std::nullopt);
}

TEST(NamingRulesTest, TheFourDateStampsOfOneDay)
{
    const QDate day(2026, 12, 5);
    EXPECT_EQ(dateStamp(1, day), "20261205");
    EXPECT_EQ(dateStamp(2, day), "12.05.2026");
    EXPECT_EQ(dateStamp(3, day), "05 Dec 2026");
    EXPECT_EQ(dateStamp(4, day), "2026_12_05");
    EXPECT_EQ(dateStamp(5, day), "");
    // The last days of December belong to next year's first week: the stamp keeps their year.
    EXPECT_EQ(dateStamp(3, QDate(2025, 12, 29)), "29 Dec 2025");
}

struct BarCase
{
    DeviceProfile profile;
    bool landscape;
    QRectF bar;
};

class ToolbarFramesTest : public testing::TestWithParam<BarCase>
{
};

TEST_P(ToolbarFramesTest, TheBarAndItsFiveButtonsSitWhereTheDeviceWantsThem)
{
    const BarCase c = GetParam();
    EditorScreen screen(c.profile);
    Device::setOrientation(c.landscape ? InterfaceOrientation::LandscapeLeft : InterfaceOrientation::Portrait);
    screen.editor->finalAdjust();

    EXPECT_EQ(screen.views->selectTopView->frame(), c.bar);
    EXPECT_FALSE(screen.views->selectTopView->isHidden());
    const bool tablet = c.profile == DeviceProfile::Tablet;
    struct Expected
    {
        const char *title;
        int tag;
        QRectF tabletFrame, phoneFrame;
        const char *tabletPicture, *phonePicture;
    };
    const Expected expected[] = {
        {"Color", 200, {240, 5, 100, 50}, {0, 5, 60, 50}, "surBtn.png", "surBtns.png"},
        {"ChangeFoto", 300, {345, 5, 100, 50}, {65, 5, 60, 50}, "disBtn.png", "disBtns.png"},
        {"Text", 105, {450, 5, 60, 50}, {130, 5, 60, 50}, "cutBtns.png", "cutBtns.png"},
        {"Save", 100, {515, 5, 100, 50}, {195, 5, 60, 50}, "saveBtn.png", "saveBtn2.png"},
        {"Home", 0, {615, 5, 100, 50}, {255, 5, 60, 50}, "homeBtn.png", "homeBtn2.png"},
    };
    ASSERT_EQ(screen.views->selectTopView->subviewCount(), 5);
    for (const Expected &e : expected) {
        const ui::Button *button = screen.toolbarButton(e.title);
        ASSERT_TRUE(button) << e.title;
        EXPECT_EQ(button->tag(), e.tag) << e.title;
        EXPECT_EQ(button->frame(), tablet ? e.tabletFrame : e.phoneFrame) << e.title;
        EXPECT_EQ(button->backgroundImage().picture().bitmap().cacheKey(),
                  Resources::imageNamed(tablet ? e.tabletPicture : e.phonePicture).bitmap().cacheKey())
            << e.title;
        // Every button lies inside the visible screen.
        const QRectF onScreen = button->convertRectTo(button->bounds(), nullptr);
        EXPECT_LE(onScreen.right(), Device::screenSize().width()) << e.title;
        EXPECT_LE(onScreen.bottom(), Device::screenSize().height()) << e.title;
    }
    // The side controls came with the bar, top left on the screen.
    ASSERT_TRUE(screen.editorView<ui::Button>(kWriteControlTag));
    EXPECT_EQ(screen.editorView<ui::Button>(kWriteControlTag)->convertRectTo(QRectF(0, 0, 80, 40), nullptr), writeControlFrame());
    ASSERT_TRUE(screen.editorView<ui::Button>(kNamesControlTag));
}

INSTANTIATE_TEST_SUITE_P(Devices, ToolbarFramesTest,
                         testing::Values(BarCase{DeviceProfile::Tablet, false, {0, 959, 1024, 65}},
                                         BarCase{DeviceProfile::Tablet, true, {0, 703, 1024, 65}},
                                         BarCase{DeviceProfile::Phone568, false, {0, 503, 568, 65}},
                                         BarCase{DeviceProfile::Phone480, false, {0, 415, 568, 65}}));

TEST(ToolbarFrameTest, APhoneBarTurnedToLandscapeLiesAlongTheShortSide)
{
    // Phones keep portrait; the frame stands ready for a turned phone all the same.
    EXPECT_EQ(rotatedToolbarFrame(DeviceProfile::Phone568, true), QRectF(0, 255, 568, 65));
    EXPECT_EQ(rotatedToolbarFrame(DeviceProfile::Phone480, true), QRectF(0, 255, 568, 65));
}

class FinishingTest : public testing::Test
{
protected:
    void startJobOf(int photos)
    {
        QStringList names;
        for (int i = 0; i < photos; ++i) {
            names << QStringLiteral("D%1.jpg").arg(1001 + i);
            screen.writePhoto(names.last(), codedPhoto(300, 200));
        }
        screen.editor->getNumOfArray(names, {});
        screen.editor->finalAdjust();
        screen.editor->naming().setToday([] { return QDate(2026, 12, 5); });
    }
    ui::Button *sideControl(int tag) { return screen.editorView<ui::Button>(tag); }
    ui::View &strip() { return *screen.editor->naming().strip(); }
    /// Gives the field the keyboard by a tap, empties it, types text and presses Return.
    void enter(ui::TextField &field, const QString &text)
    {
        screen.tap(field);
        ASSERT_TRUE(field.isEditing());
        field.setText({});
        for (const QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            screen.host.pressKey(&key);
        }
        QKeyEvent done(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        screen.host.pressKey(&done);
        EXPECT_FALSE(field.isEditing());
    }
    /// Leaving a naming field renamed and opened no other panel or question.
    void opensNothing()
    {
        EXPECT_TRUE(screen.views->descripImg2->isHidden()) << "the built-in image panel opened";
        EXPECT_TRUE(screen.views->wordView->isHidden());
        EXPECT_EQ(screen.shownAlert(), nullptr);
        EXPECT_FALSE(screen.views->cutImgView->isHidden()) << "still in the editor";
    }

    EditorScreen screen{DeviceProfile::Phone480};
};

TEST_F(FinishingTest, NamesOpensTheStripWhereAnEmptiedPrefixAndAStartOfFiveNameThreePictures)
{
    startJobOf(3);
    ASSERT_TRUE(sideControl(kNamesControlTag));
    screen.tap(*sideControl(kNamesControlTag));
    ASSERT_FALSE(strip().isHidden());
    EXPECT_EQ(strip().frame(), namingStripFrame(Device::screenSize()));
    EXPECT_TRUE(sideControl(kNamesControlTag)->isSelected());

    NamingFields &naming = screen.editor->naming();
    EXPECT_EQ(naming.names(), (QStringList{"Image1", "Image2", "Image3"}));
    enter(naming.nameField(), "Trip");
    EXPECT_EQ(naming.names(), (QStringList{"Trip1", "Trip2", "Trip3"}));
    opensNothing();

    enter(naming.nameField(), "");
    enter(naming.numField(), "5");
    EXPECT_EQ(naming.names(), (QStringList{"Image5", "Image6", "Image7"}));
    opensNothing();

    screen.tap(*sideControl(kNamesControlTag));
    EXPECT_TRUE(strip().isHidden());
}

TEST_F(FinishingTest, AStartNumberThatIsNoWholeNumberIsRefusedAndAHugeOneBroughtDown)
{
    startJobOf(2);
    screen.editor->showTwoBtns();
    NamingFields &naming = screen.editor->naming();
    enter(naming.numField(), "7");

    for (const char *bad : {"-3", "seven", "4e2", "abc"}) {
        enter(naming.numField(), bad);
        ui::AlertView *refusal = screen.shownAlert();
        ASSERT_NE(refusal, nullptr) << bad;
        EXPECT_EQ(refusal->title(), "Start number");
        EXPECT_TRUE(refusal->message().contains(bad)) << refusal->message().toStdString();
        EXPECT_TRUE(refusal->message().contains("7")) << "says what the names still use";
        screen.answer("OK");
        EXPECT_EQ(naming.startNumber(), 7) << bad;
        EXPECT_EQ(naming.numField().text(), "7") << bad;
    }
    enter(naming.numField(), "123456789012345");
    EXPECT_EQ(screen.shownAlert(), nullptr);
    EXPECT_EQ(naming.startNumber(), kLargestStartNumber);
    EXPECT_EQ(naming.names(), (QStringList{"Image999999999", "Image1000000000"}));
}

TEST_F(FinishingTest, TheDateChooserShowsTodayFourWaysAndAStampFillsThePrefixField)
{
    startJobOf(1);
    screen.editor->showTwoBtns();
    screen.editor->selectView();
    ui::ImageView &chooser = *screen.views->wordView;
    ASSERT_FALSE(chooser.isHidden());
    const QStringList titles{"20261205", "12.05.2026", "05 Dec 2026", "2026_12_05"};
    for (int tag = 1; tag <= 4; ++tag) {
        auto *stamp = dynamic_cast<ui::Button *>(chooser.viewWithTag(tag));
        ASSERT_TRUE(stamp) << tag;
        EXPECT_EQ(stamp->title(), titles[tag - 1]);
        EXPECT_EQ(stamp->frame().size(), QSizeF(100, 50));
        EXPECT_TRUE(chooser.bounds().contains(stamp->frame()));
    }
    // The chooser fits on the small phone's screen.
    EXPECT_TRUE(QRectF(QPointF(0, 0), Device::screenSize()).contains(chooser.frame()));

    // Escape puts it away without a stamp, and the editor stays.
    EXPECT_TRUE(screen.pressKey(Qt::Key_Escape));
    EXPECT_TRUE(chooser.isHidden());
    EXPECT_FALSE(screen.shownAlert());
    EXPECT_EQ(screen.editor->naming().nameField().text(), "");

    screen.editor->selectView();
    screen.tap(*chooser.viewWithTag(2));
    EXPECT_TRUE(chooser.isHidden());
    NamingFields &naming = screen.editor->naming();
    EXPECT_TRUE(naming.stampChosen());
    EXPECT_EQ(naming.nameField().text(), "12.05.2026");
    EXPECT_TRUE(naming.nameField().isEditing());
    // Tapping the number field ends the prefix's edit: that renames and opens nothing.
    screen.tap(naming.numField());
    EXPECT_TRUE(naming.numField().isEditing());
    EXPECT_EQ(naming.names(), (QStringList{"12.05.2026 1"}));
    opensNothing();
}

TEST_F(FinishingTest, ExportEndsTheEditInProgressAndWritesUnderWhatIsTyped)
{
    startJobOf(2);
    screen.editor->showTwoBtns();
    NamingFields &naming = screen.editor->naming();
    screen.tap(naming.nameField());
    for (const QChar c : QStringLiteral("Trip")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        screen.host.pressKey(&key);
    }
    ASSERT_TRUE(naming.nameField().isEditing());
    QStringList exported;
    naming.setExport([&] { exported = naming.names(); });

    screen.tap(naming.storeButton());

    EXPECT_EQ(exported, (QStringList{"Trip1", "Trip2"}));
    EXPECT_FALSE(naming.nameField().isEditing());
    EXPECT_EQ(naming.singleName(), "Trip1");
    opensNothing();
}

TEST(NamingFieldsTest, AStampWithNoPicturesNamesNothingAndGoesOn)
{
    EditorScreen screen(DeviceProfile::Tablet);
    int renamed = 0;
    NamingFields naming(*screen.views, [&] { ++renamed; });
    screen.views->mainView->addSubview(naming.strip());
    naming.strip()->setHidden(false);
    naming.modeSelect(4);
    ASSERT_TRUE(naming.nameField().isEditing());
    naming.nameField().resignFirstResponder();
    EXPECT_EQ(renamed, 1);
    EXPECT_TRUE(naming.names().isEmpty());
    EXPECT_EQ(naming.prefix(), dateStamp(4, QDate::currentDate()));
    naming.modeSelect(9); // no such stamp: nothing changes
    EXPECT_FALSE(naming.nameField().isEditing());
}

TEST_F(FinishingTest, WriteOpensTheTextOverlayAndBothRunTheStepsGiven)
{
    startJobOf(1);
    screen.tap(*sideControl(kWriteControlTag));
    EXPECT_TRUE(screen.editor->wordTable().entry().isOpen());
    EXPECT_EQ(screen.photoView()->alpha(), 1) << "the box floats over the photo";
    EXPECT_FALSE(screen.shownAlert());
    screen.editor->wordTable().closeTextBox();
    EXPECT_EQ(screen.photoView()->alpha(), 1); // back once the text box goes

    int opened = 0;
    screen.editor->setTextOverlay([&] { ++opened; });
    screen.tap(*sideControl(kWriteControlTag));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(screen.photoView()->alpha(), 1);
    EXPECT_FALSE(screen.shownAlert());

    // Export is the document export from the start; a step given in its place runs instead.
    screen.editor->showTwoBtns();
    int exported = 0;
    screen.editor->setDocumentExport([&] { ++exported; });
    screen.tap(screen.editor->naming().storeButton());
    EXPECT_EQ(exported, 1);
}

TEST(NamingStripTest, ATurnedTabletKeepsTheStripCentredUnderTheSideControls)
{
    EditorScreen screen(DeviceProfile::Tablet);
    screen.writePhoto("D1001.jpg", codedPhoto(300, 200));
    screen.startJob("D1001.jpg");
    screen.editor->finalAdjust();
    screen.editor->showTwoBtns();
    EXPECT_EQ(screen.editor->naming().strip()->frame(), QRectF(224, 142, 320, 50));
    Device::setOrientation(InterfaceOrientation::LandscapeLeft);
    screen.editor->rotateW();
    EXPECT_EQ(screen.editor->naming().strip()->frame(), QRectF(352, 142, 320, 50));
    Device::setOrientation(InterfaceOrientation::Portrait);
}

TEST_F(FinishingTest, ATapOutsideClosesTheChooserAndHomeThenLeavesWithTheStripPutAway)
{
    startJobOf(1);
    screen.editor->showTwoBtns();
    screen.editor->selectView();
    // The first tap outside the chooser only closes it.
    screen.tap(*screen.toolbarButton("Home"));
    EXPECT_TRUE(screen.views->wordView->isHidden());
    EXPECT_FALSE(screen.views->cutImgView->isHidden());
    screen.host.advance(1);
    // A prefix being typed is kept, and no panel comes up on the way out.
    screen.tap(screen.editor->naming().nameField());
    screen.editor->naming().nameField().setText("Leaving");
    screen.host.advance(1);
    screen.tap(*screen.toolbarButton("Home"));
    EXPECT_EQ(screen.editor->naming().names(), QStringList{"Leaving1"});
    EXPECT_TRUE(screen.views->descripImg2->isHidden());
    EXPECT_TRUE(strip().isHidden());
    EXPECT_TRUE(screen.views->cutImgView->isHidden());
}

class ColourPanelTest : public testing::TestWithParam<DeviceProfile>
{
protected:
    void SetUp() override
    {
        screen.writePhoto("D1001.jpg", codedPhoto(1000, 750));
        screen.startJob("D1001.jpg");
        screen.editor->showResult();
        // Frame opens the piece's panel, the one offering Color Picker.
        auto *frame = screen.editorView<ui::Button>(kFrameControlTag);
        ASSERT_TRUE(frame);
        screen.tap(*frame);
        screen.host.advance(1);
        ui::View *open = screen.views->descripImg2->viewWithTag(kColorPickerTag);
        ASSERT_TRUE(open);
        screen.tap(*open);
    }
    ui::ImageView &panel() { return *screen.views->wordView; }
    QColor previewBackdrop() { return screen.preview()->backgroundColor(); }

    EditorScreen screen{GetParam()};
};

TEST_P(ColourPanelTest, ThePalettePaintsThePreviewBackdropUntilClosed)
{
    const bool tablet = GetParam() == DeviceProfile::Tablet;
    const ColourPanelLayout layout = colourPanelLayout(tablet);
    ASSERT_FALSE(panel().isHidden());
    EXPECT_EQ(panel().frame(), layout.panel);
    EXPECT_TRUE(screen.views->selectTopView->isHidden());
    ColorPickerViewController &picker = screen.editor->colourPicker();
    EXPECT_EQ(picker.colorPickerView()->superview(), &panel());
    EXPECT_EQ(picker.colorPickerView()->frame(), layout.palette);
    EXPECT_EQ(picker.viewTag(), kPreviewFrameTag);
    // The panel lies on the screen, the close control inside the panel.
    EXPECT_TRUE(QRectF(QPointF(0, 0), Device::screenSize()).contains(panel().frame()));
    EXPECT_TRUE(panel().bounds().contains(layout.close));

    // A touch on the palette paints the preview frame behind the photo layer.
    const QColor before = previewBackdrop();
    const QPointF onPalette = EditorScreen::onScreen(*picker.colorPickerView(), QPointF(60, 150));
    screen.host.advance(1); // a tap of its own, not the second of the opener's
    screen.host.tap(onPalette);
    ASSERT_TRUE(picker.color());
    EXPECT_EQ(previewBackdrop(), *picker.color());
    EXPECT_NE(previewBackdrop(), before);
    const QColor first = previewBackdrop();

    // A double tap and a touch off the palette leave it as it is.
    screen.host.advance(1);
    const QPointF elsewhere = EditorScreen::onScreen(*picker.colorPickerView(), QPointF(180, 60));
    screen.host.touchDown(elsewhere, 0, 2); // the second touch of a double tap
    screen.host.touchUp(elsewhere);
    EXPECT_EQ(previewBackdrop(), first);
    screen.host.advance(1);
    screen.host.tap(EditorScreen::onScreen(*picker.colorPickerView(), QPointF(242, 250)));
    EXPECT_EQ(previewBackdrop(), first);

    QStringList logged;
    setLogSink([&](const QString &line) { logged << line; });
    ui::View *close = panel().viewWithTag(kColourPanelCloseTag);
    ASSERT_TRUE(close);
    screen.tap(*close);
    setLogSink({});
    EXPECT_TRUE(panel().isHidden());
    EXPECT_TRUE(logged.contains("close wordView"));
    EXPECT_EQ(previewBackdrop(), first);
}

TEST_P(ColourPanelTest, OkOfThePiecesPanelReturnsToTheFinishedCutWithThePiece)
{
    ui::View *close = panel().viewWithTag(kColourPanelCloseTag);
    ASSERT_TRUE(close);
    screen.tap(*close);
    screen.host.advance(1);
    ASSERT_TRUE(screen.piece());
    EXPECT_EQ(screen.photoView()->alpha(), 0);
    ui::View *ok = screen.views->descripImg2->viewWithTag(kOptionsOkTag);
    ASSERT_TRUE(ok);
    screen.tap(*ok);
    screen.host.advance(1);
    EXPECT_TRUE(screen.views->descripImg2->isHidden());
    EXPECT_TRUE(screen.piece());
    EXPECT_EQ(screen.photoView()->alpha(), 1);
    EXPECT_FALSE(screen.views->selectTopView->isHidden());
    EXPECT_TRUE(screen.toolbarButton("Color"));
    EXPECT_FALSE(screen.rectangle()); // no new cut laid over the piece
}

INSTANTIATE_TEST_SUITE_P(Devices, ColourPanelTest, testing::Values(DeviceProfile::Tablet, DeviceProfile::Phone480));

} // namespace

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

class ShareTest : public FinishingTest
{
protected:
    void SetUp() override { PhotoLibrary::setFolder(library()); }
    QString library() const { return screen.home.path() + "/Photos"; }
    /// Runs Qt's events and the host's clock until the condition holds.
    bool waitUntil(const std::function<bool()> &condition)
    {
        for (int i = 0; i < 3000 && !condition(); ++i) {
            QCoreApplication::processEvents();
            screen.host.runPending();
            QThread::msleep(2);
        }
        return condition();
    }
    /// A job on one photo, cut, the share panel up.
    ui::ImageView &openShare()
    {
        screen.writePhoto("D1001.jpg", codedPhoto(300, 200));
        screen.startJob("D1001.jpg");
        screen.tap(*screen.doneButton());
        screen.editor->askMessage();
        screen.answer("Share...");
        screen.editor->naming().setToday([] { return QDate(2026, 12, 5); });
        return *screen.editor->saving().sharePanel();
    }
    ui::Button &shareButton(ui::ImageView &panel, int tag) { return *dynamic_cast<ui::Button *>(panel.viewWithTag(tag)); }
};

TEST_F(ShareTest, EachControlNamesWhatItWrites)
{
    ui::ImageView &panel = openShare();

    EXPECT_EQ(shareButton(panel, kShareOneByOneTag).title(), "Original photos to the album");
    EXPECT_EQ(shareButton(panel, kShareDocumentsTag).title(), "This picture to Documents");
    EXPECT_EQ(shareButton(panel, kShareMailTag).title(), "E-mail this picture");
}

TEST_F(ShareTest, ThisPictureGoesToDocumentsAsHighSavesItUnderTheStripsName)
{
    ui::ImageView &panel = openShare();
    screen.editor->naming().modeSelect(3);
    screen.editor->naming().endEditingQuietly();
    const QImage high = screen.editor->saving().capture(SaveQuality::High).bitmap();

    screen.tap(shareButton(panel, kShareDocumentsTag));
    ASSERT_TRUE(waitUntil([&] { return screen.shownAlert() != nullptr; }));

    EXPECT_EQ(filesIn(AppHome::documentsDir()), QStringList{"05 Dec 2026 1.jpg"});
    EXPECT_EQ(readPicture(AppHome::documentsDir() + "/05 Dec 2026 1.jpg").bitmap().size(), high.size());
    EXPECT_TRUE(screen.shownAlert()->message().contains("05 Dec 2026 1.jpg")) << "says where it is";
}

TEST_F(ShareTest, ThisPictureWithoutNamesTakesAGeneratedName)
{
    ui::ImageView &panel = openShare();

    screen.tap(shareButton(panel, kShareDocumentsTag));
    ASSERT_TRUE(waitUntil([&] { return screen.shownAlert() != nullptr; }));

    const QStringList files = filesIn(AppHome::documentsDir());
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(QRegularExpression("^R\\d+\\.jpg$").match(files.front()).hasMatch()) << files.front().toStdString();
}

TEST_F(ShareTest, OriginalPhotosGoWholeIntoTheAlbumTheySayAndAreLinkedThere)
{
    ui::ImageView &panel = openShare();

    screen.tap(shareButton(panel, kShareOneByOneTag));
    ASSERT_TRUE(waitUntil([&] { return !screen.editor->saving().listExport().isSavingOneByOne(); }));
    screen.editor->saving().albumWriter().waitForWrites();
    ASSERT_TRUE(waitUntil([&] { return screen.shownAlert() != nullptr; }));

    EXPECT_EQ(screen.shownAlert()->message(), "Saved in the album “Quorlan”");
    const QStringList roll = filesIn(library());
    ASSERT_EQ(roll.size(), 1);
    EXPECT_EQ(readPicture(library() + "/" + roll.front()).bitmap().size(), QSize(300, 200)) << "the photo, not a square";
    const QStringList inAlbum = filesIn(library() + "/Quorlan");
    ASSERT_EQ(inAlbum.size(), 1);
    EXPECT_EQ(QFileInfo(library() + "/Quorlan/" + inAlbum.front()).canonicalFilePath(),
        QFileInfo(library() + "/" + roll.front()).canonicalFilePath());
}

} // namespace
