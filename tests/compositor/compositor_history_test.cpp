// Undo and redo of whole steps, pixels and layout; the compositor's own pictures, with the
// editor's working files left alone; the whole background shown and saved at its level.
#include "compositor/compositor_fixture.h"

#include <QFile>

#include <functional>

#include "compositor/background_geometry.h"
#include "imaging/tone.h"
#include "ui/slider.h"

using namespace vimora;
using namespace vimora::test;
using namespace vimora::effect_tag;

namespace {

using HistoryTest = EffectsTest;

using Slot = WorkingFiles::Slot;
const Slot kEditorSlots[] = {Slot::Origin, Slot::Tem, Slot::Word, Slot::Adjust};

/// The bytes of the editor's working files, to see that nothing wrote them.
std::vector<QByteArray> editorFiles()
{
    WorkingFiles::shared().flush();
    std::vector<QByteArray> out;
    for (Slot slot : kEditorSlots) {
        QFile file(WorkingFiles::path(slot));
        out.push_back(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return out;
}

} // namespace

TEST_F(HistoryTest, SepiaThenUndoGivesBackTheBackgroundAsItWas)
{
    back->guideToScale(100);
    const Picture before = background();

    press(kSepia);
    const bool changed = !test::picturesEqual(background(), before);
    press(kUndo);

    EXPECT_TRUE(changed);
    EXPECT_TRUE(test::picturesEqual(background(), before));
    EXPECT_TRUE(test::picturesEqual(back->effects().pictures().get(CompositorPictures::Kind::Base), base));
    EXPECT_FALSE(shownAlert());
}

TEST_F(HistoryTest, TenStepsUndoInOrderAndRedoTakesThemAgain)
{
    back->guideToScale(100);
    std::vector<Picture> shown{background()};
    const int effects[] = {kSepia, kBrightMinus, kSoft, kEdges, kColorPlus, kBrightPlus, kSharpen, kPrintMix, kSoft, kHard, kBrightMinus, kSepia};
    for (int tag : effects) {
        press(tag);
        shown.push_back(background());
    }
    const int last = int(std::size(effects));

    for (int i = 1; i <= 10; ++i) {
        undo();
        ASSERT_TRUE(test::picturesEqual(background(), shown[std::size_t(last - i)])) << "after " << i << " undos";
    }
    for (int i = 1; i <= 3; ++i) {
        redo();
        ASSERT_TRUE(test::picturesEqual(background(), shown[std::size_t(last - 10 + i)])) << "after " << i << " redos";
    }
    // A new step forgets what could be redone.
    press(kEdges);
    EXPECT_FALSE(back->effects().canRedo());
    undo();
    EXPECT_TRUE(test::picturesEqual(background(), shown[std::size_t(last - 7)]));
}

TEST_F(HistoryTest, PrintIsUndoneLikeAnyEffectPixelsAndLayers)
{
    layCutOut();
    const Picture copy = back->layers().secondCopy().image();
    const QRectF topFrame = back->layers().top().frame();

    back->printmaking();
    settle();
    const bool printed = !test::picturesEqual(background(), base);
    undo();

    EXPECT_TRUE(printed);
    EXPECT_TRUE(test::picturesEqual(background(), base));
    EXPECT_TRUE(test::picturesEqual(back->layers().secondCopy().image(), copy));
    EXPECT_EQ(back->layers().top().frame(), topFrame);
    EXPECT_FALSE(back->layers().top().isHidden());
}

TEST_F(HistoryTest, LayingACutOutAndAReflectionAreUndoneAndRedone)
{
    layCutOut();
    back->reflectiMe();
    ASSERT_NE(back->layers().reflection(), nullptr);

    undo();
    const bool reflectionGone = back->layers().reflection() == nullptr;
    undo();
    const bool topGone = back->layers().top().isHidden() || back->layers().top().image().isNull();
    redo();
    redo();

    EXPECT_TRUE(reflectionGone);
    EXPECT_TRUE(topGone);
    EXPECT_NE(back->layers().reflection(), nullptr);
    EXPECT_FALSE(back->layers().top().isHidden());
}

TEST_F(HistoryTest, UndoWithNothingToUndoSaysSo)
{
    undo();

    ASSERT_NE(shownAlert(), nullptr);
    EXPECT_TRUE(shownAlert()->message().contains("nothing to undo"));
    EXPECT_TRUE(test::picturesEqual(background(), base));
}

TEST_F(HistoryTest, NoEffectReadsOrWritesTheEditorsWorkingFiles)
{
    // The editor's files hold pictures of their own, none the compositor's.
    int shade = 10;
    for (Slot slot : kEditorSlots) {
        WorkingFiles::shared().save(slot, twoTonePicture(30, 20, QColor(shade, 0, 0), QColor(0, shade, 0)));
        shade += 40;
    }
    back->layTopPicture(); // a copy of the editor's cut-out, read only
    const auto before = editorFiles();

    for (int mode : {100, 200}) {
        back->guideToScale(mode);
        for (int tag : {kContrastSlider, kBrightMinus, kBrightPlus, kHard, kSoft, kPrintMix, kSepia, kEdges, kUndo, kSharpen,
                        kColorPlus, kOpacitySlider})
            press(tag);
        back->combineImg();
    }
    for (auto c : {CompositorCommand::MoreEmboss, CompositorCommand::Reflection, CompositorCommand::EnlargeOverlay,
                   CompositorCommand::OverlayToggle, CompositorCommand::ResetLayers, CompositorCommand::Undo,
                   CompositorCommand::Redo, CompositorCommand::Print}) {
        back->command(c);
        settle();
    }
    back->effectLevel("Low");
    settle();

    EXPECT_EQ(editorFiles(), before);
    back->effects().pictures().flush();
    EXPECT_TRUE(QFile::exists(CompositorPictures::path(CompositorPictures::Kind::Base)));
}

TEST_F(HistoryTest, LayersSharpenAndColorPlusActOnTheTopPicture)
{
    layCutOut();
    back->guideToScale(200);

    for (int tag : {kSharpen, kColorPlus}) {
        const Picture top = back->layers().top().image();
        press(tag);
        EXPECT_FALSE(test::picturesEqual(back->layers().top().image(), top)) << tag;
        EXPECT_EQ(back->layers().top().image().size(), top.size()) << tag;
        EXPECT_TRUE(test::picturesEqual(background(), base)) << tag;
    }
}

TEST_F(HistoryTest, SaveToAlbumWritesTheSavedPictureNotTheEditors)
{
    WorkingFiles::shared().simple2Save(twoTonePicture(10, 10));
    std::vector<QSizeF> handed;
    back->setSaveToAlbum([&](const Picture &p) { handed.push_back(p.size()); });

    back->saveToAlbumToCut();

    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed.front(), QSizeF(64, 48));
}

TEST(BackgroundFit, TheWholePictureFitsCentredInTheCanvas)
{
    const QRectF canvas(0, 65, 768, 959);
    const QRectF wide = backgroundFitFrame(canvas, QSizeF(1600, 1000));
    const QRectF tall = backgroundFitFrame(canvas, QSizeF(1000, 3000));

    EXPECT_DOUBLE_EQ(wide.width(), 768);
    EXPECT_DOUBLE_EQ(wide.height(), 480);
    EXPECT_DOUBLE_EQ(wide.center().y(), canvas.center().y());
    EXPECT_DOUBLE_EQ(tall.height(), 959);
    EXPECT_NEAR(tall.width(), 959 / 3.0, 1e-9);
    EXPECT_TRUE(canvas.contains(wide));
    EXPECT_TRUE(backgroundFitFrame(canvas, QSizeF(0, 10)).isEmpty());
}

TEST_F(CompositorTest, TheBackgroundIsShownWholeUnderTheToolbarOnEveryProfile)
{
    for (DeviceProfile profile : {DeviceProfile::Tablet, DeviceProfile::Phone568, DeviceProfile::Phone480}) {
        useDevice(profile);
        openSaved(twoTonePicture(400, 250));
        back->actionbtn();
        const QRectF shown = views->backImgView->convertRectTo(views->backImgView->bounds(), &host->window());
        const QRectF toolbar = views->selectTopView->convertRectTo(views->selectTopView->bounds(), &host->window());
        const QRectF screen(QPointF(0, 0), host->screenSize());

        EXPECT_TRUE(screen.contains(shown)) << int(profile);
        EXPECT_GE(shown.top(), toolbar.bottom()) << int(profile);
        EXPECT_NEAR(shown.width() / shown.height(), 1.6, 2e-3) << int(profile);
        EXPECT_NEAR(shown.width(), screen.width(), 1e-6) << int(profile);
    }
}

TEST_F(CompositorTest, LevelsWriteTheSavedPicturesSizeTimesTheirFactorAndSaySo)
{
    openSaved(twoTonePicture(400, 250));

    back->justSaveToAlbum();
    QStringList titles;
    for (const ui::ViewPtr &v : views->descripImg->subviews())
        if (auto *b = dynamic_cast<ui::Button *>(v.get()))
            titles << b->title();

    EXPECT_EQ(titles, (QStringList{QStringLiteral("Low — 200 × 125"), QStringLiteral("Medium — 400 × 250"),
                                   QStringLiteral("High — 800 × 500")}));
    EXPECT_EQ(back->levelSave().levelSize(SaveLevel::High), QSize(800, 500));
}

TEST_F(CompositorTest, WordsLandOnTheBackgroundClearOfTheToolbar)
{
    for (DeviceProfile profile : {DeviceProfile::Tablet, DeviceProfile::Phone480}) {
        useDevice(profile);
        openSaved(twoTonePicture(400, 250));
        back->actionbtn();
        back->command(CompositorCommand::Word);
        WordTable &words = *back->wordTable();
        words.entry().noteTextView().setText(QStringLiteral("Hello"));
        words.inputTextDone();

        ASSERT_GT(views->backImgView->subviewCount(), 1) << int(profile);
        const ui::ViewPtr layer = views->backImgView->subviews().back();
        const QRectF at = layer->convertRectTo(layer->bounds(), &host->window());
        const QRectF shown = views->backImgView->convertRectTo(views->backImgView->bounds(), &host->window());
        const QRectF toolbar = views->selectTopView->convertRectTo(views->selectTopView->bounds(), &host->window());
        EXPECT_GE(at.top(), toolbar.bottom()) << int(profile);
        EXPECT_TRUE(shown.intersects(at)) << int(profile);
        EXPECT_GE(at.top(), shown.top()) << int(profile);
    }
}

TEST_F(CompositorTest, EveryEffectOnALaidPictureVisiblyChangesTheScreen)
{
    // A cut-out with detail everywhere, so that sharpening shows.
    QImage piece(80, 60, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < piece.height(); ++y)
        for (int x = 0; x < piece.width(); ++x)
            piece.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, ((x ^ y) * 29) % 256));
    WorkingFiles::shared().simpleSave(Picture(piece));
    struct Effect
    {
        const char *name;
        std::function<void(BackPhoto &)> press;
    };
    const auto layers = [](int tag) {
        return [tag](BackPhoto &b) {
            b.guideToScale(200);
            b.filterSelect(tag);
        };
    };
    const std::vector<Effect> effects{
        {"Layers Hard", layers(kHard)},       {"Layers Soft", layers(kSoft)},
        {"Layers Shadow", layers(kPrintMix)}, {"Layers Half", layers(kSepia)},
        {"Layers Sharpen", layers(kSharpen)}, {"Layers Color+", layers(kColorPlus)},
        {"Emboss+", [](BackPhoto &b) { b.command(CompositorCommand::MoreEmboss); }},
        {"Reflection", [](BackPhoto &b) { b.command(CompositorCommand::Reflection); }},
        {"Shadow x1.2", [](BackPhoto &b) { b.command(CompositorCommand::EnlargeOverlay); }},
        {"Dark part+", [](BackPhoto &b) { b.command(CompositorCommand::OverlayToggle); }},
        {"Print", [](BackPhoto &b) { b.command(CompositorCommand::Print); }},
    };
    for (const Effect &effect : effects) {
        openSaved(twoTonePicture(160, 100, QColor(90, 90, 200), QColor(200, 90, 90)));
        back->layTopPicture();
        back->guideToScale(200);
        settle();
        const QImage before = host->render();

        effect.press(*back);
        settle();

        EXPECT_NE(host->render(), before) << effect.name;
        EXPECT_FALSE(shownAlert()) << effect.name;
        back->adjustPanel().close();
    }
}

TEST_F(HistoryTest, TheHistoryKeepsItsDepthAndForgetsTheOldestSteps)
{
    back->guideToScale(100);
    for (int i = 0; i < BackgroundEffects::kHistoryDepth + 3; ++i)
        press(i % 2 ? kBrightPlus : kBrightMinus);

    EXPECT_EQ(back->effects().undoDepth(), BackgroundEffects::kHistoryDepth);
    for (int i = 0; i < BackgroundEffects::kHistoryDepth; ++i)
        undo();
    EXPECT_FALSE(back->effects().canUndo());
    EXPECT_GE(BackgroundEffects::kHistoryDepth, 10);
}
