// The finishing toolbar per device and orientation, the side controls of the finished cut, the
// naming strip (prefix, start number, date stamps) and the plain answers of steps not there yet.

#include <QKeyEvent>

#include "editor/colour_panel.h"
#include "editor/editor_layout.h"
#include "editor/finishing_toolbar.h"
#include "editor/naming_fields.h"
#include "editor_fixture.h"
#include "platform/log.h"
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
    void closeBuiltInPanel() { screen.pressKey(Qt::Key_Escape); }

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
    // Every edit opens the built-in image panel again.
    EXPECT_FALSE(screen.views->descripImg2->isHidden());
    closeBuiltInPanel();

    enter(naming.nameField(), "");
    closeBuiltInPanel();
    enter(naming.numField(), "5");
    EXPECT_EQ(naming.names(), (QStringList{"Image5", "Image6", "Image7"}));
    closeBuiltInPanel();

    screen.tap(*sideControl(kNamesControlTag));
    EXPECT_TRUE(strip().isHidden());
}

TEST_F(FinishingTest, AStartNumberThatIsNoWholeNumberIsRefusedAndAHugeOneBroughtDown)
{
    startJobOf(2);
    screen.editor->showTwoBtns();
    NamingFields &naming = screen.editor->naming();
    enter(naming.numField(), "7");
    closeBuiltInPanel();

    for (const char *bad : {"-3", "seven", "4e2"}) {
        enter(naming.numField(), bad);
        closeBuiltInPanel();
        EXPECT_EQ(naming.startNumber(), 7) << bad;
        EXPECT_EQ(naming.numField().text(), "7") << bad;
    }
    enter(naming.numField(), "123456789012345");
    closeBuiltInPanel();
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
    QKeyEvent done(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    screen.host.pressKey(&done);
    EXPECT_EQ(naming.names(), (QStringList{"12.05.20261"}));
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
    EXPECT_EQ(screen.photoView()->alpha(), 0);
    EXPECT_FALSE(screen.shownAlert());
    screen.editor->wordTable().closeTextBox();
    EXPECT_EQ(screen.photoView()->alpha(), 1); // back once the text box goes

    int opened = 0;
    screen.editor->setTextOverlay([&] { ++opened; });
    screen.tap(*sideControl(kWriteControlTag));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(screen.photoView()->alpha(), 0);
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
