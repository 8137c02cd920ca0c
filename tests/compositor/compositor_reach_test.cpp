// The compositor never strands the user: every control of every panel, tapped at its centre,
// reaches its control and leaves either a panel open or the toolbar at hand; the same for
// Escape and a tap outside each panel. On all three profiles.
#include "compositor/compositor_fixture.h"

#include <functional>
#include <vector>

#include "ui/overlay_stack.h"
#include "ui/slider.h"

using namespace vimora;
using namespace vimora::test;

namespace {

struct Opener
{
    const char *name;
    std::function<void(BackPhoto &)> open;
    /// The view the panel's controls lie in.
    std::function<ui::View &(BackPhoto &, ScreenViews &)> panel;
};

class ReachTest : public CompositorTest, public testing::WithParamInterface<DeviceProfile>
{
protected:
    void SetUp() override
    {
        CompositorTest::SetUp();
        useDevice(GetParam());
        back->setNewPhotoRequest([] {});
        WorkingFiles::shared().simpleSave(twoTonePicture(40, 30, Qt::green, Qt::yellow));
        reopen();
    }

    void reopen()
    {
        openSaved(twoTonePicture(160, 100));
        back->layTopPicture();
        settle();
    }

    /// Back to the toolbar over a composition with a laid picture, as a fresh visit would be.
    void startOver()
    {
        // A save's answer arrives through the event loop: it is in before the next step.
        writer->waitForWrites();
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            host->runPending();
        }
        while (auto *alert = shownAlert())
            alert->dismissWithClickedButtonIndex(0, false);
        host->runPending();
        if (back->isWaitingForNewPhoto())
            back->newPhotoCancelled();
        if (exits != leftAt || views->backImgView->isHidden()) {
            leftAt = exits;
            reopen();
        }
        back->adjustPanel().close();
        views->descripImg->setHidden(true);
        ui::OverlayStack::of(views->mainView.get()).closeAll();
        back->scaleTool(QStringLiteral("resultTool"));
        back->actionbtn();
    }

    /// Where the user can go on from: home, the photo picker, an open panel, the toolbar, or
    /// the corner button the toolbar waits in.
    QString whereStranded()
    {
        if (exits != leftAt || back->isWaitingForNewPhoto())
            return {};
        if (shownAlert())
            return {};
        auto &selection = back->selectionLayer();
        if (selection.isPanelOpen())
            return {};
        if (back->adjustPanel().isOpen() && back->adjustPanel().cancelBtn3() && reaches(*back->adjustPanel().cancelBtn3()))
            return {};
        if (!views->descripImg->isHidden() && ui::OverlayStack::of(views->descripImg.get()).isOpen(views->descripImg.get()))
            return {}; // the level menu
        if (selection.isToolbarShown()) {
            ui::Button *tip = buttonTitled(selection.layer(), "Tip");
            ui::Button *exit = buttonTitled(selection.layer(), "Exit");
            return tip && exit && reaches(*tip) && reaches(*exit) ? QString() : QStringLiteral("the toolbar is covered");
        }
        if (ui::Button *corner = back->minimiser().smallBtns(); corner && corner->alpha() > 0 && !corner->isHidden()
                                                                && reaches(*corner))
            return {};
        QString why = QStringLiteral("no panel and no toolbar");
        if (ui::Button *corner = back->minimiser().smallBtns()) {
            ui::View *hit = host->hitTest(centreOnScreen(*corner));
            why += QStringLiteral(" (corner alpha %1, a touch there reaches %2)")
                       .arg(corner->alpha())
                       .arg(hit ? QString::fromStdString(describe(*hit)) : QStringLiteral("nothing"));
        }
        return why;
    }

    static std::vector<Opener> openers()
    {
        const auto selectionPanel = [](BackPhoto &b, ScreenViews &) -> ui::View & { return b.selectionLayer().panel(); };
        const auto toolbar = [](BackPhoto &b, ScreenViews &) -> ui::View & { return b.selectionLayer().layer(); };
        const auto descrip = [](BackPhoto &, ScreenViews &v) -> ui::View & { return *v.descripImg; };
        return {
            {"toolbar", [](BackPhoto &) {}, toolbar},
            {"tip", [](BackPhoto &b) { b.command(CompositorCommand::Tip); }, selectionPanel},
            {"more", [](BackPhoto &b) { b.command(CompositorCommand::More); }, selectionPanel},
            {"undo/done", [](BackPhoto &b) { b.command(CompositorCommand::UndoDone); }, selectionPanel},
            {"final", [](BackPhoto &b) { b.command(CompositorCommand::Final); }, selectionPanel},
            {"hint", [](BackPhoto &b) { b.command(CompositorCommand::Prompt); }, selectionPanel},
            {"filter", [](BackPhoto &b) { b.command(CompositorCommand::Filter); }, descrip},
            {"layers", [](BackPhoto &b) { b.command(CompositorCommand::LayersFilter); }, descrip},
            {"save", [](BackPhoto &b) { b.command(CompositorCommand::Save); }, descrip},
        };
    }

    /// The controls of panel, shown and enabled, in order.
    static std::vector<ui::Control *> controlsOf(ui::View &panel)
    {
        std::vector<ui::Control *> out;
        for (const ui::ViewPtr &v : panel.subviews())
            if (auto *c = dynamic_cast<ui::Control *>(v.get()); c && !c->isHidden() && c->isEnabled() && c->alpha() > 0)
                out.push_back(c);
        return out;
    }

    int leftAt = 0;
};

} // namespace

TEST_P(ReachTest, EveryControlOfEveryPanelAnswersAtItsCentreAndLeavesAWayOn)
{
    int walked = 0;
    for (const Opener &opener : openers()) {
        startOver();
        opener.open(*back);
        settle();
        const int count = int(controlsOf(opener.panel(*back, *views)).size());
        ASSERT_GT(count, 0) << opener.name;
        for (int i = 0; i < count; ++i) {
            startOver();
            opener.open(*back);
            settle();
            const auto controls = controlsOf(opener.panel(*back, *views));
            ASSERT_LT(i, int(controls.size())) << opener.name;
            ui::Control *control = controls[std::size_t(i)];
            const std::string what = std::string(opener.name) + " → " + describe(*control);
            ASSERT_TRUE(answerTap(control)) << what;
            ++walked;
            const QString stranded = whereStranded();
            EXPECT_TRUE(stranded.isEmpty()) << what << ": " << stranded.toStdString();
        }
    }
    EXPECT_GT(walked, 40);
}

TEST_P(ReachTest, EscapeAndATapOutsideEveryPanelLeadBackToTheToolbar)
{
    const QSizeF screen = host->screenSize();
    for (const Opener &opener : openers()) {
        if (std::string(opener.name) == "toolbar")
            continue;
        for (const bool escape : {true, false}) {
            startOver();
            opener.open(*back);
            settle();
            if (escape)
                ui::OverlayStack::of(views->mainView.get()).closeTopmost();
            else
                host->tap(QPointF(screen.width() - 4, screen.height() - 4));
            settle();
            const std::string what = std::string(opener.name) + (escape ? " → Escape" : " → a tap outside");
            const QString stranded = whereStranded();
            EXPECT_TRUE(stranded.isEmpty()) << what << ": " << stranded.toStdString();
            // The adjust panels keep taps outside for the layers; Escape closes them.
            if (escape || !back->adjustPanel().isOpen()) {
                EXPECT_TRUE(back->selectionLayer().isToolbarShown()) << what;
            }
        }
    }
}

TEST_P(ReachTest, EveryToolbarControlLiesInsideTheToolbarAndTheScreen)
{
    back->actionbtn();
    const QRectF screen(QPointF(0, 0), host->screenSize());
    const QRectF bar = views->selectTopView->convertRectTo(views->selectTopView->bounds(), &host->window());
    EXPECT_TRUE(screen.contains(bar));
    for (ui::Control *control : controlsOf(*views->selectTopView)) {
        const QRectF f = control->convertRectTo(control->bounds(), &host->window());
        EXPECT_TRUE(bar.contains(f)) << describe(*control);
        EXPECT_TRUE(reaches(*control)) << describe(*control);
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, ReachTest,
                         testing::Values(DeviceProfile::Tablet, DeviceProfile::Phone568, DeviceProfile::Phone480),
                         [](const testing::TestParamInfo<DeviceProfile> &info) {
                             switch (info.param) {
                             case DeviceProfile::Tablet:
                                 return std::string("tablet");
                             case DeviceProfile::Phone568:
                                 return std::string("phone568");
                             case DeviceProfile::Phone480:
                                 break;
                             }
                             return std::string("phone480");
                         });
