// The compositor's toolbar, adjust panel, effects and layer gestures on a headless screen.
#include "compositor/compositor_fixture.h"

#include "imaging/tone.h"
#include "ui/slider.h"

using namespace vimora;
using namespace vimora::test;
using namespace vimora::effect_tag;

TEST_F(EffectsTest, HardAfterUnsavedEffectsShowsTheBaseAgain)
{
    back->guideToScale(100);

    press(kBrightMinus);
    press(kBrightPlus);
    press(kSoft);
    const bool changed = !test::picturesEqual(background(), base);
    press(kHard);

    EXPECT_TRUE(changed);
    EXPECT_TRUE(test::picturesEqual(background(), base));
    EXPECT_EQ(back->effects().is3d(), kHard);
}

TEST_F(EffectsTest, SavedEffectMovesTheBaseForward)
{
    back->guideToScale(100);

    press(kSepia);
    const Picture sepiaShown = background();
    press(kSoft);
    press(kHard);

    EXPECT_TRUE(test::picturesEqual(background(), sepiaShown));
    EXPECT_TRUE(test::picturesEqual(back->effects().pictures().get(CompositorPictures::Kind::Base), sepiaShown));
}

TEST_F(EffectsTest, ContrastSliderBuildsOnItsPreviousResult)
{
    back->guideToScale(100);
    back->adjustPanel().backPhotoSlider()->setValue(40);

    press(kContrastSlider);
    press(kContrastSlider);

    const Picture twice = contrastAdjustmentWithValue(contrastAdjustmentWithValue(base, 40), 40);
    EXPECT_TRUE(test::picturesEqual(background(), twice));
}

TEST_F(EffectsTest, EffectsQueuedTogetherRunInOrder)
{
    back->guideToScale(100);

    back->filterSelect(kSepia);
    back->filterSelect(kHard);
    settle();

    // Hard read the base the sepia had just saved, not the one before it.
    EXPECT_TRUE(test::picturesEqual(background(), sepia(base)));
}

TEST_F(EffectsTest, TheOpacitySliderBelongsToTheLayersAndActsOverItsWholeRange)
{
    layCutOut();
    back->guideToScale(100);
    const bool sliderOnBackground = back->adjustPanel().topPhotoSlider() != nullptr;
    back->guideToScale(200);
    ASSERT_NE(back->adjustPanel().topPhotoSlider(), nullptr);
    back->adjustPanel().topPhotoSlider()->setValue(BackgroundAdjustPanel::kOpacityMin);
    press(kOpacitySlider);

    EXPECT_FALSE(sliderOnBackground);
    EXPECT_TRUE(test::picturesEqual(background(), base));
    EXPECT_DOUBLE_EQ(back->layers().top().alpha(), BackgroundAdjustPanel::kOpacityMin);
    EXPECT_DOUBLE_EQ(back->layers().secondCopy().alpha(), BackgroundAdjustPanel::kOpacityMin);
    EXPECT_LT(BackgroundAdjustPanel::kOpacityMin, BackgroundAdjustPanel::kOpacityMax);
    EXPECT_DOUBLE_EQ(BackgroundAdjustPanel::kOpacityMax, 1.0);
}

TEST_F(EffectsTest, WithoutALayerTheLayerEffectsAreDisabledAndSayWhy)
{
    back->guideToScale(200);

    auto &panel = back->adjustPanel();
    ASSERT_NE(panel.reasonLabel(), nullptr);
    EXPECT_TRUE(panel.reasonLabel()->text().contains("Add a layer first"));
    for (int tag : {kHard, kSoft, kColorPlus, kPrintMix, kSepia, kSharpen})
        EXPECT_FALSE(panel.button(tag)->isEnabled()) << tag;
    // What acts on the background stays at hand.
    EXPECT_TRUE(panel.button(kBrightPlus)->isEnabled());
    EXPECT_TRUE(panel.button(kEdges)->isEnabled());

    // Emboss+ from the further effects tells the same reason.
    back->moreEmboss();
    settle();
    ASSERT_NE(shownAlert(), nullptr);
    EXPECT_TRUE(shownAlert()->message().contains("Add a layer first"));

    layCutOut();
    back->guideToScale(200);
    EXPECT_EQ(panel.reasonLabel(), nullptr);
    EXPECT_TRUE(panel.button(kSharpen)->isEnabled());
}

TEST_F(EffectsTest, TagsOutsideEachModeDoNothing)
{
    back->guideToScale(100);
    press(13);
    press(0);
    back->guideToScale(200);
    press(13);

    EXPECT_TRUE(test::picturesEqual(background(), base));
    EXPECT_EQ(back->effects().is3d(), 13);
}

TEST_F(EffectsTest, AnEffectWithAnEmptySourceKeepsWhatIsShownSaysSoAndLeavesNoStep)
{
    back->guideToScale(100);
    back->effects().pictures().set(CompositorPictures::Kind::Base, {});

    press(kHard);

    EXPECT_TRUE(test::picturesEqual(background(), base));
    ASSERT_NE(shownAlert(), nullptr);
    EXPECT_TRUE(shownAlert()->message().contains("no picture"));
    EXPECT_FALSE(back->effects().canUndo());
}

TEST_F(EffectsTest, PictureLayerEffectsWorkOnTheTopPictureAndKeepItsState)
{
    layCutOut();
    const Picture laid = back->layers().top().image();
    back->guideToScale(200);

    press(kHard);

    EXPECT_FALSE(test::picturesEqual(back->layers().top().image(), laid));
    EXPECT_TRUE(test::picturesEqual(background(), base));
}

TEST_F(EffectsTest, HalfShowsTheSecondCopyInFrontAtHalfOpacity)
{
    layCutOut();
    back->guideToScale(200);

    press(kSepia);

    auto &layers = back->layers();
    EXPECT_FALSE(layers.secondCopy().isHidden());
    EXPECT_TRUE(layers.top().isHidden());
    EXPECT_DOUBLE_EQ(layers.secondCopy().alpha(), 0.5);
    EXPECT_GT(layers.compositorView().indexOfSubview(&layers.secondCopy()),
              layers.compositorView().indexOfSubview(&layers.top()));
}

TEST_F(EffectsTest, ReflectionTwiceLeavesNoReflection)
{
    layCutOut();

    back->reflectiMe();
    const bool shownOnce = back->layers().reflection() != nullptr && back->effects().messInt() == 1;
    const QRectF frame = back->layers().reflection()->frame();
    back->reflectiMe();

    EXPECT_TRUE(shownOnce);
    const QRectF top = back->layers().top().frame();
    EXPECT_EQ(frame, QRectF(top.left(), top.bottom(), 40, 15));
    EXPECT_EQ(back->layers().reflection(), nullptr);
    EXPECT_EQ(back->effects().messInt(), 0);
}

TEST_F(EffectsTest, OverlayToggleAlternatesAndEndsHiddenAtTheBack)
{
    layCutOut();
    auto &layers = back->layers();

    back->darkPlus();
    const bool shownInFront = !layers.overlay().isHidden()
        && layers.compositorView().indexOfSubview(&layers.overlay()) == layers.compositorView().subviewCount() - 1;
    const QString titleShown = back->effects().overlayToggleTitle();
    back->darkDecrease();

    EXPECT_TRUE(shownInFront);
    EXPECT_EQ(titleShown, "Dark part-");
    EXPECT_TRUE(layers.overlay().isHidden());
    EXPECT_EQ(layers.compositorView().indexOfSubview(&layers.overlay()), 0);
    EXPECT_EQ(back->effects().overlayToggleTitle(), "Dark part+");
}

TEST_F(EffectsTest, UndoPutsTheLayersBackAsTheyWereBeforeTheLastEffect)
{
    layCutOut();
    auto &overlay = back->layers().overlay();
    back->darkPlus();
    const QRectF before = overlay.frame();

    back->scaleDrawImg();
    const QRectF enlarged = overlay.frame();
    undo();

    EXPECT_NEAR(enlarged.width(), before.width() * 1.2, 1e-9);
    EXPECT_EQ(overlay.frame(), before);
    EXPECT_FALSE(overlay.isHidden());
    EXPECT_TRUE(back->effects().canRedo());
}

TEST_F(EffectsTest, UndoTakesBackAReflectionAndResetMarksItShown)
{
    layCutOut();

    back->reflectiMe();
    back->messIt();
    settle();

    EXPECT_EQ(back->layers().reflection(), nullptr);
    EXPECT_EQ(back->effects().messInt(), 1);
}

TEST_F(EffectsTest, PrintmakingFlattensTheLayersIntoTheBackground)
{
    layCutOut();
    const Picture copy = back->layers().secondCopy().image();

    back->printmaking();
    settle();

    EXPECT_EQ(background().size(), copy.size());
    EXPECT_TRUE(test::picturesEqual(back->effects().pictures().get(CompositorPictures::Kind::Base), background()));
    EXPECT_TRUE(back->layers().secondCopy().isHidden());
    EXPECT_TRUE(back->layers().overlay().image().isNull());
    // The print chain leaves a grey picture.
    const QRgb px = background().uprightBitmap().pixel(5, 5);
    EXPECT_TRUE(qRed(px) == qGreen(px) && qGreen(px) == qBlue(px));
}

TEST_F(EffectsTest, PrintmakingWithoutALaidPictureKeepsTheBackground)
{
    back->printmaking();
    settle();

    EXPECT_TRUE(test::picturesEqual(background(), base));
    EXPECT_NE(shownAlert(), nullptr);
}

TEST_F(EffectsTest, PinchScalesByTheAdditiveStepAndTheNextPinchStartsAfresh)
{
    layCutOut();
    auto &top = back->layers().top();
    top.setTransform(ui::AffineTransform::makeScale(1, 1));

    host->pinch(windowCentre(top), 20, {1.2, 1.5});
    const double afterFirst = top.transform().a;
    host->pinch(windowCentre(top), 20, {1.2});

    EXPECT_NEAR(afterFirst, 1.2 * 1.3, 1e-6);
    EXPECT_NEAR(top.transform().a, 1.2 * 1.3 * 1.2, 1e-6);
    EXPECT_DOUBLE_EQ(back->gestures().lastScale(), 1.0);
}

TEST_F(EffectsTest, DragMovesTheLayerAndATapHidesItUntilUndo)
{
    layCutOut();
    auto &top = back->layers().top();
    const QPointF start = top.center();

    host->drag(windowCentre(top), windowCentre(top) + QPointF(30, -10));
    const QPointF moved = top.center();
    host->tap(windowCentre(top));
    const double tapped = top.alpha();
    undo();

    EXPECT_NEAR(moved.x() - start.x(), 30, 1e-6);
    EXPECT_NEAR(moved.y() - start.y(), -10, 1e-6);
    EXPECT_EQ(tapped, 0.0);
    EXPECT_EQ(top.alpha(), 1.0);
}

TEST_F(EffectsTest, TabletHandleCarriesTheAdjustPanelBySameAmount)
{
    back->guideToScale(100);
    auto *handle = back->adjustPanel().moveImgView();
    ASSERT_NE(handle, nullptr);
    const QRectF panel = views->descripImg->frame();
    EXPECT_EQ(panel, QRectF(310, 360, 320, 300));
    EXPECT_EQ(handle->center(), QPointF(630, 360));

    host->drag(windowCentre(*handle), windowCentre(*handle) + QPointF(30, -10));

    EXPECT_EQ(views->descripImg->frame(), panel.translated(30, -10));
}

TEST_F(EffectsTest, ClosingTheAdjustPanelKeepsTheAdjustedBackgroundAndShowsTheToolbar)
{
    back->guideToScale(100);
    press(kSepia);

    back->combineImg();
    WorkingFiles::shared().flush();

    EXPECT_TRUE(views->descripImg->isHidden());
    EXPECT_EQ(back->adjustPanel().moveImgView(), nullptr);
    EXPECT_FALSE(views->selectTopView->isHidden());
    EXPECT_NE(buttonTitled(*views->selectTopView, "Filter"), nullptr);
}

TEST_F(CompositorTest, TipOkAndNeverShowLeadBackToTheToolbarAndTheTipButtonStillShowsTips)
{
    openSaved(twoTonePicture(64, 48));
    ASSERT_TRUE(answerTap(findButton(*views->selectTopView, "Edit")));

    ASSERT_TRUE(answerTap(findButton(*views->selectTopView, "Tip")));
    const bool tipOverToolbar = back->selectionLayer().isPanelOpen() && back->selectionLayer().isToolbarShown();
    ASSERT_TRUE(answerTap(findButton(back->selectionLayer().panel(), "OK")));
    const bool toolbarAfterOk = back->selectionLayer().isToolbarShown() && !back->selectionLayer().isPanelOpen();

    ASSERT_TRUE(answerTap(findButton(*views->selectTopView, "Tip")));
    ASSERT_TRUE(answerTap(findButton(back->selectionLayer().panel(), "Never show this")));
    const bool toolbarAfterNever = back->selectionLayer().isToolbarShown() && !back->selectionLayer().isPanelOpen();
    // Declined tips still open when asked for, and no longer open by themselves.
    ASSERT_TRUE(answerTap(findButton(*views->selectTopView, "Tip")));
    const bool askedTipShown = back->selectionLayer().isPanelOpen();
    back->doneAndUndo();
    ASSERT_TRUE(answerTap(findButton(back->selectionLayer().panel(), "Done")));

    EXPECT_TRUE(tipOverToolbar);
    EXPECT_TRUE(toolbarAfterOk);
    EXPECT_TRUE(toolbarAfterNever);
    EXPECT_TRUE(askedTipShown);
    EXPECT_FALSE(back->selectionLayer().isPanelOpen());
    EXPECT_TRUE(back->selectionLayer().isToolbarShown());
    EXPECT_EQ(Settings::shared().stringForKey("Never"), "never");
}

TEST_F(CompositorTest, MinimisedPanelComesBackFromItsCornerButton)
{
    back->doneAndUndo();

    back->smallTheButton("resultTool");
    const double faded = views->selectTopView->alpha();
    ASSERT_NE(back->minimiser().smallBtns(), nullptr);
    back->minimiser().smallBtns()->sendActions(ui::ControlEventTouchUpInside);

    EXPECT_EQ(faded, 0.0);
    EXPECT_EQ(views->selectTopView->alpha(), 1.0);
    EXPECT_EQ(back->minimiser().smallBtns()->alpha(), 0.0);
}

TEST_F(CompositorTest, TextOpensTheOverlay)
{
    int opened = 0;
    back->setTextOverlay([&] { ++opened; });

    back->gotoTextView();

    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(shownAlert());
}

TEST_F(EffectsTest, LeavingDropsAnEffectStillRunning)
{
    back->guideToScale(100);

    back->filterSelect(kSepia);
    back->exitAct();
    settle();

    EXPECT_TRUE(views->backImgView->image().isNull());
    EXPECT_TRUE(back->effects().pictures().get(CompositorPictures::Kind::Base).isNull());
}

TEST_F(EffectsTest, TextOpensOverTheBackgroundAndTheToolbarWaitsInItsCorner)
{
    back->actionbtn();

    back->gotoTextView();

    EXPECT_EQ(views->selectTopView->alpha(), 0.0);
    ASSERT_NE(back->minimiser().smallBtns(), nullptr);
    EXPECT_EQ(back->minimiser().smallBtns()->superview(), views->mainView.get());
}

TEST_F(CompositorTest, SmallPanelsReplaceEachOtherOverTheToolbar)
{
    back->actionbtn();
    back->finalAct();
    const QRectF finalFrame = back->selectionLayer().panel().frame();
    const bool finalHasExit = buttonTitled(back->selectionLayer().panel(), "Exit") != nullptr;

    back->secondActMix();
    const QRectF promptFrame = back->selectionLayer().panel().frame();
    buttonTitled(back->selectionLayer().panel(), "OK")->sendActions(ui::ControlEventTouchUpInside);

    EXPECT_EQ(finalFrame, QRectF(10, 10, 300, 400));
    EXPECT_TRUE(finalHasExit);
    EXPECT_EQ(promptFrame, QRectF(200, 350, 300, 80));
    // The prompt's OK goes back to the toolbar.
    EXPECT_FALSE(back->selectionLayer().isPanelOpen());
    EXPECT_TRUE(back->selectionLayer().isToolbarShown());
}

TEST_F(CompositorTest, NewPhotoKeepsTheCompositionUntilAPhotoIsRead)
{
    int asked = 0;
    back->setNewPhotoRequest([&] { ++asked; });
    openSaved(twoTonePicture(64, 48));
    back->guideToScale(100);
    const Picture shown = views->backImgView->image();

    back->editAgainAndLoadTopImage();
    const bool outOfSight = views->backImgView->isHidden() && views->selectTopView->isHidden() && views->descripImg->isHidden();
    // Cancelled: back to the composition as it was.
    EXPECT_TRUE(back->newPhotoCancelled());
    const bool backAgain = !views->backImgView->isHidden() && test::picturesEqual(views->backImgView->image(), shown)
                           && back->selectionLayer().isToolbarShown();
    back->editAgainAndLoadTopImage();
    back->newPhotoTaken();

    EXPECT_EQ(Settings::shared().stringForKey("type"), "TYPE1");
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(outOfSight);
    EXPECT_TRUE(backAgain);
    EXPECT_TRUE(views->backImgView->image().isNull());
    EXPECT_FALSE(back->newPhotoCancelled());
}

TEST_F(CompositorTest, LeavingWithTheTextBoxOpenTakesTheTextOverlayAlong)
{
    openSaved(twoTonePicture(64, 48));
    back->actionbtn();
    back->guideToScale(100);
    back->command(CompositorCommand::Word);
    const bool adjustClosedForText = !back->adjustPanel().isOpen();
    ASSERT_TRUE(back->wordTable()->entry().isOpen());

    back->command(CompositorCommand::Exit);

    EXPECT_TRUE(adjustClosedForText);
    EXPECT_FALSE(back->wordTable()->entry().isOpen());
    EXPECT_TRUE(views->wordView->isHidden());
    EXPECT_TRUE(views->selectTopView->isHidden());
    EXPECT_EQ(exits, 1);
}
