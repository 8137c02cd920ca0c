// The editor's way into the text overlay: its Write control after a cut.

#include <QInputMethodEvent>

#include "editor/editor_fixture.h"
#include "platform/settings.h"

namespace vimora::test {
namespace {

class EditorTextLanding : public testing::TestWithParam<DeviceProfile> {};

TEST_P(EditorTextLanding, TheBoxFloatsOverTheShownPhotoAndTheLayerLandsOnThePhotoClearOfTheControls)
{
    EditorScreen screen(GetParam());
    Settings::shared().setString(QStringLiteral("Never2"), QStringLiteral("never"));
    screen.writePhoto("p.png", codedPhoto(800, 600));
    screen.startJob("p.png");
    screen.editor->showResult();
    ui::Button *text = screen.editorView<ui::Button>(kWriteControlTag);
    ASSERT_NE(text, nullptr);

    screen.host.tap(text->convertPointTo(text->bounds().center(), nullptr));
    const double photoWhileTyping = screen.photoView()->alpha();
    const QColor backgroundWhileTyping = screen.views->cutImgView->backgroundColor();
    WordTable &overlay = screen.editor->wordTable();
    ui::TextView &box = overlay.entry().noteTextView();
    box.becomeFirstResponder();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("Hello"));
    box.inputMethodEvent(&commit);
    overlay.inputTextDone();

    EXPECT_EQ(photoWhileTyping, 1.0);
    EXPECT_NE(backgroundWhileTyping, QColor(Qt::black)) << "the photo is seen, not a black screen";
    EXPECT_EQ(screen.photoView()->alpha(), 1.0);
    ASSERT_NE(overlay.tView(), nullptr);
    EXPECT_EQ(overlay.tView()->superview(), screen.views->cutImgView.get());
    ui::ImageView &photo = *screen.photoView();
    const QRectF photoOnScreen = photo.convertRectTo(photo.bounds(), nullptr);
    const QRectF layerOnScreen = overlay.tView()->convertRectTo(overlay.tView()->bounds(), nullptr);
    EXPECT_TRUE(photoOnScreen.contains(layerOnScreen))
        << "layer " << layerOnScreen.x() << "," << layerOnScreen.y() << " photo " << photoOnScreen.y();
    const QRectF toolbar = screen.views->selectTopView->convertRectTo(screen.views->selectTopView->bounds(), nullptr);
    EXPECT_FALSE(layerOnScreen.intersects(toolbar));
    for (int tag : {kWriteControlTag, kReplacePhotoTag, kEditorBackTag, kFrameControlTag}) {
        ui::View *control = screen.views->cutImgView->viewWithTag(tag);
        ASSERT_NE(control, nullptr);
        EXPECT_FALSE(control->frame().intersects(overlay.tView()->frame())) << "new words clear control " << tag;
    }
    EXPECT_GT(screen.views->cutImgView->indexOfSubview(text), screen.views->cutImgView->indexOfSubview(overlay.tView()))
        << "the editor's controls stay above the new layer";
}

INSTANTIATE_TEST_SUITE_P(Profiles, EditorTextLanding, testing::Values(DeviceProfile::Tablet, DeviceProfile::Phone480));

TEST(EditorText, EscapeClosesTheOverlayPanelsBeforeLeavingTheEditor)
{
    EditorScreen screen(DeviceProfile::Tablet);
    Settings::shared().setString(QStringLiteral("Never2"), QStringLiteral("never"));
    screen.writePhoto("p.png", codedPhoto(800, 600));
    screen.startJob("p.png");
    screen.editor->showResult();
    WordTable &overlay = screen.editor->wordTable();
    screen.editor->gotoTextView();
    overlay.showWordView();

    screen.pressKey(Qt::Key_Escape);
    const bool catalogueAfterFirst = overlay.catalogue().isShown();
    const bool boxAfterFirst = overlay.entry().isOpen();
    screen.pressKey(Qt::Key_Escape);

    EXPECT_FALSE(catalogueAfterFirst);
    EXPECT_TRUE(boxAfterFirst);
    EXPECT_FALSE(overlay.entry().isOpen());
    EXPECT_EQ(screen.photoView()->alpha(), 1.0);
    EXPECT_FALSE(screen.views->cutImgView->isHidden()) << "still in the editor";
}

} // namespace
} // namespace vimora::test
