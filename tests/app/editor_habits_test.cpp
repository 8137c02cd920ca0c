// The editor in the whole application: turning the tablet re-lays every control and turning
// back restores them; Escape answers one thing at a time; quitting with a cut asks first.
#include <QKeyEvent>

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "editor/cut_image.h"
#include "editor/finishing_toolbar.h"
#include "editor/view_tags.h"
#include "support/pixel_compare.h"
#include "support/screen_driver.h"

using namespace vimora;

namespace {

class EditorHabitsTest : public test::AppTest
{
protected:
    void cutAPiece(DeviceProfile profile)
    {
        launch(profile);
        tapOn(*top().categoryButton(1));
        picker->pick(Picture(test::positionCoded(1200, 900)));
        host->advance(1);
        root().draw().showResult();
        host->advance(1);
    }
    ui::View *editorControl(int tag) { return editorViews().cutImgView->viewWithTag(tag); }
    static QRectF onScreen(const ui::View &v) { return v.convertRectTo(v.bounds(), nullptr); }
};

} // namespace

TEST_F(EditorHabitsTest, TurningReLaysEveryControlAndTurningBackRestoresThem)
{
    cutAPiece(DeviceProfile::Tablet);
    const auto expectLaidOutFor = [&](double width, double height) {
        const QRectF screen(0, 0, width, height);
        ui::View *back = editorControl(kEditorBackTag);
        ui::View *frame = editorControl(kFrameControlTag);
        ui::View *write = editorControl(kWriteControlTag);
        ASSERT_TRUE(back && frame && write);
        EXPECT_NEAR(onScreen(*back).right(), width - 10, 0.5);
        EXPECT_NEAR(onScreen(*frame).right(), width - writeControlFrame().left(), 0.5);
        EXPECT_EQ(onScreen(*write), writeControlFrame());
        const ui::View &bar = *editorViews().selectTopView;
        ASSERT_FALSE(bar.isHidden());
        for (const ui::ViewPtr &button : bar.subviews())
            EXPECT_TRUE(screen.contains(onScreen(*button))) << button->tag();
        const ui::View *hint = editorViews().cutImgView->viewWithTag(kPieceHintTag);
        ASSERT_TRUE(hint);
        EXPECT_FALSE(hint->isHidden());
        EXPECT_EQ(onScreen(*hint).width(), width);
        EXPECT_LE(onScreen(*hint).bottom(), onScreen(bar).top());
        EXPECT_TRUE(screen.contains(onScreen(*hint)));
    };
    expectLaidOutFor(768, 1024);
    turn(true);
    {
        SCOPED_TRACE("landscape");
        expectLaidOutFor(1024, 768);
    }
    turn(false);
    {
        SCOPED_TRACE("portrait again");
        expectLaidOutFor(768, 1024);
    }
}

TEST_F(EditorHabitsTest, EscapeAnswersTheAlertOnTopWithItsCancelAndNeverStacksAnother)
{
    cutAPiece(DeviceProfile::Phone480);
    const auto escape = [&] {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        host->pressKey(&event);
        host->advance(1);
    };
    tapOn(*test::findButton(*editorViews().selectTopView, "Save"));
    ui::AlertView *question = test::shownAlert(*host);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->message(), "Save to Album");

    escape();
    EXPECT_FALSE(test::shownAlert(*host));
    EXPECT_FALSE(editorViews().cutImgView->isHidden());

    // With nothing up, Escape is the editor's Back: its question, then Escape takes that back.
    escape();
    ASSERT_TRUE(test::shownAlert(*host));
    EXPECT_EQ(test::shownAlert(*host)->title(), "Leave the editor?");
    escape();
    EXPECT_FALSE(test::shownAlert(*host));
    EXPECT_FALSE(editorViews().cutImgView->isHidden());
    EXPECT_TRUE(root().draw().hasPiece());
}
