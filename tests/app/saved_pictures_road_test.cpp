// The home screen's road into the compositor: "Saved" lists the pictures kept in the
// document store, one opens as the compositor's background, Exit comes back home.
#include "app/app_fixture.h"

#include "app/top.h"
#include "compositor/back_photo.h"
#include "compositor/compositor_controls.h"
#include "editor/cut_image.h"
#include "imaging/codec.h"
#include "platform/app_home.h"

using namespace vimora;
using namespace vimora::test;

namespace {

class SavedRoadTest : public AppTest
{
protected:
    ui::Button *listed(const QString &name)
    {
        for (const ui::ViewPtr &v : top().selectBackScroll2()->subviews())
            if (auto *b = dynamic_cast<ui::Button *>(v.get()); b && b->title() == name)
                return b;
        return nullptr;
    }
};

} // namespace

TEST_F(SavedRoadTest, ASavedPictureOpensInTheCompositorAndExitComesHome)
{
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + "/D4321.jpg", encodeJpeg(Picture(picture), 1.0)));
    launch(DeviceProfile::Tablet);

    tapOn(*top().savedBtn());
    ASSERT_NE(listed("D4321.jpg"), nullptr);
    tapOn(*listed("D4321.jpg"));
    const bool opened = !compositorViews().backImgView->isHidden() && !compositorViews().backImgView->image().isNull();
    ui::Button *exit = buttonTitled(*compositorViews().selectTopView, "Exit");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(host->overlays().count(), 0);
    tapOn(*exit);

    EXPECT_TRUE(opened);
    EXPECT_TRUE(compositorViews().backImgView->isHidden());
    EXPECT_FALSE(shell().cateViewTop->isHidden());
    EXPECT_FALSE(top().savedBtn()->isHidden());
}

TEST_F(SavedRoadTest, AnEmptyStoreSaysSo)
{
    launch(DeviceProfile::Phone480);

    tapOn(*top().savedBtn());

    bool said = false;
    EXPECT_EQ(top().selectBackScroll2()->subviewCount(), 0);
    for (const ui::ViewPtr &v : homeViews().selectTopView->subviews())
        if (auto *label = dynamic_cast<ui::Label *>(v.get()))
            said = said || label->text() == "No saved pictures yet";
    EXPECT_TRUE(said);
}

TEST_F(SavedRoadTest, TheEditorsWriteAndTheCompositorsWordOpenTheirTextBoxes)
{
    launch(DeviceProfile::Tablet);

    root().draw().gotoTextView();
    const bool editorTyping = root().draw().wordTable().entry().isOpen();
    root().draw().wordTable().entry().close();
    root().backPhoto().gotoTextView();

    EXPECT_TRUE(editorTyping);
    ASSERT_NE(root().backPhoto().wordTable(), nullptr);
    EXPECT_TRUE(root().backPhoto().wordTable()->entry().isOpen());
}
