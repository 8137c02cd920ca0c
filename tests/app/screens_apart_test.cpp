// Each screen keeps its own layers: a road through the editor, the saved pictures and the
// compositor back to the editor shows the editor as it was left and nothing of the compositor.
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "editor/cut_image.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "support/pixel_compare.h"
#include "support/screen_driver.h"

using namespace vimora;

namespace {

class ScreensApartTest : public test::AppTest, public testing::WithParamInterface<DeviceProfile>
{
protected:
    /// Every control drawn inside view, hidden ones and their insides left out.
    static void shownButtons(const ui::View &view, QStringList &titles)
    {
        if (view.isHidden() || view.alpha() < 0.01)
            return;
        if (const auto *button = dynamic_cast<const ui::Button *>(&view))
            titles << button->title();
        for (const ui::ViewPtr &sub : view.subviews())
            shownButtons(*sub, titles);
    }
    QStringList shownButtons()
    {
        QStringList titles;
        shownButtons(host->window(), titles);
        return titles;
    }
    static bool anyLayerShown(const ScreenViews &views)
    {
        for (const auto &layer : {views.backImgView, views.cutImgView, views.wordView, views.selectTopView, views.descripImg,
                                  views.descripImg2})
            if (!layer->isHidden())
                return true;
        return false;
    }
    void tapTitled(ui::View &in, const QString &title)
    {
        ui::Button *button = test::findButton(in, title);
        ASSERT_NE(button, nullptr) << title.toStdString();
        tapOn(*button);
        host->advance(1);
    }
    /// Cut a piece from a picked photo, as the done control does.
    void cutAPiece()
    {
        tapOn(*top().categoryButton(1));
        picker->pick(Picture(test::positionCoded(1200, 900)));
        host->advance(1);
        root().draw().showResult();
        host->advance(1);
        // A touch on the piece puts its hint away, as a user's first drag does.
        ui::View *piece = editorViews().cutImgView->viewWithTag(666);
        ASSERT_NE(piece, nullptr);
        host->drag(centreOf(*piece), centreOf(*piece) + QPointF(20, 10));
        host->advance(1);
    }
};

} // namespace

TEST_P(ScreensApartTest, ResumeAfterTheCompositorShowsTheEditorAsItWasLeft)
{
    QImage saved(400, 300, QImage::Format_RGB32);
    saved.fill(Qt::darkCyan);
    ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + "/D4321.jpg", encodeJpeg(Picture(saved), 1.0)));
    launch(GetParam());
    cutAPiece();
    const QStringList editorButtons = shownButtons();
    ASSERT_TRUE(editorButtons.contains("Color") && editorButtons.contains("Home"));
    const QImage editorScreen = host->render();

    tapTitled(*editorViews().selectTopView, "Home");
    tapOn(*top().savedBtn());
    tapTitled(*top().selectBackScroll2(), "D4321.jpg");
    ASSERT_FALSE(compositorViews().backImgView->isHidden());
    EXPECT_TRUE(homeViews().selectTopView->isHidden()) << "the saved pictures' panel is the home screen's";
    tapTitled(*compositorViews().selectTopView, "Edit");
    const QStringList compositorButtons = shownButtons();
    ASSERT_TRUE(compositorButtons.contains("Filter"));
    tapTitled(*compositorViews().selectTopView, "Exit");
    tapOn(*top().categoryButton(3));
    host->advance(1);

    EXPECT_FALSE(anyLayerShown(compositorViews()));
    EXPECT_FALSE(anyLayerShown(homeViews()));
    const QStringList shown = shownButtons();
    for (const char *own : {"Color", "ChangeFoto", "Text", "Save", "Home"})
        EXPECT_TRUE(shown.contains(own)) << own;
    for (const char *foreign : {"Filter", "Tip", "+Word", "Exit", "Edit", "photo", "load"})
        EXPECT_FALSE(shown.contains(foreign)) << foreign;
    QStringList sortedShown = shown, sortedLeft = editorButtons;
    sortedShown.sort();
    sortedLeft.sort();
    EXPECT_EQ(sortedShown, sortedLeft);
    const QImage resumedScreen = host->render();
    if (qEnvironmentVariableIsSet("VIMORA_KEEP_RENDERS")) {
        editorScreen.save(qEnvironmentVariable("VIMORA_KEEP_RENDERS") + "/left.png");
        resumedScreen.save(qEnvironmentVariable("VIMORA_KEEP_RENDERS") + "/resumed.png");
    }
    EXPECT_TRUE(test::imagesEqual(resumedScreen, editorScreen)) << "the editor's screen as it was left";
}

TEST_P(ScreensApartTest, TheEditorsSaveAsksItsOwnQuestionAfterTheCompositor)
{
    QImage saved(400, 300, QImage::Format_RGB32);
    saved.fill(Qt::darkCyan);
    ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + "/D4321.jpg", encodeJpeg(Picture(saved), 1.0)));
    launch(GetParam());
    cutAPiece();
    tapTitled(*editorViews().selectTopView, "Home");
    tapOn(*top().savedBtn());
    tapTitled(*top().selectBackScroll2(), "D4321.jpg");
    tapTitled(*compositorViews().selectTopView, "Edit");
    tapTitled(*compositorViews().selectTopView, "Exit");
    tapOn(*top().categoryButton(3));
    host->advance(1);

    tapTitled(*editorViews().selectTopView, "Save");

    EXPECT_FALSE(anyLayerShown(compositorViews()));
    const QStringList shown = shownButtons();
    EXPECT_FALSE(shown.contains("Low")) << "the compositor's level menu";
    const QString titles = shown.join('|');
    EXPECT_TRUE(titles.contains(QStringLiteral("High \u2014")) && titles.contains(QStringLiteral("Medium \u2014")))
        << "the editor's quality question";
}

INSTANTIATE_TEST_SUITE_P(Profiles, ScreensApartTest, testing::Values(DeviceProfile::Tablet, DeviceProfile::Phone480),
                         [](const testing::TestParamInfo<DeviceProfile> &info) {
                             return info.param == DeviceProfile::Tablet ? std::string("Tablet") : std::string("Phone480");
                         });
