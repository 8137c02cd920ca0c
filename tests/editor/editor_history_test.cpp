// Undo and redo in the editor on the headless host: a mixed run of edits (cut, moves, pinches,
// effects, the frame, text layers added, moved, recoloured and deleted, a merge) taken back
// and forward again, compared picture by picture; the controls and keys that do it; what the
// kept job carries of the steps.

#include <QCoreApplication>
#include <QInputMethodEvent>

#include "editor/adjust_panel.h"
#include "editor/job_history.h"
#include "editor/photo_capture.h"
#include "editor_fixture.h"
#include "support/pixel_compare.h"
#include "text/edit_panel.h"
#include "text/text_entry_box.h"
#include "text/word_table.h"
#include "ui/control_reach.h"
#include "ui/slider.h"
#include "ui/text_view.h"

using namespace vimora;
using namespace vimora::test;

namespace {

class EditorHistoryTest : public testing::Test
{
protected:
    explicit EditorHistoryTest(DeviceProfile profile = DeviceProfile::Tablet)
        : screen(profile)
    {
    }

    void startOn(const QImage &image)
    {
        screen.writePhoto("D1001.png", image);
        screen.startJob("D1001.png");
        screen.host.advance(0.1);
    }
    CutImage &editor() { return *screen.editor; }
    /// The picture as a save would take it, and where the piece lies.
    struct Seen
    {
        QImage picture;
        QRectF pieceFrame;
        size_t textLayers = 0;
    };
    Seen seen()
    {
        ui::ImageView *photo = screen.photoView();
        if (!photo)
            return {};
        const QSize pixels = photo->image().bitmap().size() / 4;
        Seen s{capturePhotoView(*photo, *screen.views->cutImgView, pixels.expandedTo(QSize(1, 1))).bitmap(), {}, 0};
        if (ui::ImageView *piece = screen.piece())
            s.pieceFrame = piece->frame();
        s.textLayers = textLabels(*screen.views->cutImgView).size();
        return s;
    }
    /// One edit done: the step is kept on the next turn of the loop.
    void settle()
    {
        editor().waitForEffects();
        screen.host.advance(0.1);
        editor().waitForEffects();
        screen.host.advance(0.1);
    }
    void dragPiece(QPointF by)
    {
        ui::ImageView *piece = screen.piece();
        ASSERT_TRUE(piece);
        const QPointF from = EditorScreen::centreOnScreen(*piece);
        // Apart from the touch before, so no touch counts as a second tap.
        screen.host.advance(1);
        screen.host.drag(from, from + by);
    }
    void pinchPiece(double to)
    {
        ui::ImageView *piece = screen.piece();
        ASSERT_TRUE(piece);
        screen.host.pinch(EditorScreen::centreOnScreen(*piece), 80, {1.0, (1 + to) / 2, to});
    }
    ui::Button *panelButton(const QString &title) const
    {
        for (const ui::ViewPtr &v : screen.views->descripImg->subviews())
            if (auto *b = dynamic_cast<ui::Button *>(v.get()); b && b->title() == title)
                return b;
        return nullptr;
    }
    void pressPanel(const QString &title)
    {
        ui::Button *button = panelButton(title);
        ASSERT_TRUE(button) << title.toStdString();
        screen.tap(*button);
        settle();
    }
    /// Color, then Next: the flattened piece on the step-two panel.
    void openStepTwo()
    {
        ui::Button *color = screen.toolbarButton("Color");
        ASSERT_TRUE(color);
        screen.tap(*color);
        settle();
        pressPanel("Next");
    }
    void typeLayer(const QString &text)
    {
        WordTable &words = editor().wordTable();
        editor().gotoTextView();
        ui::TextView &box = words.entry().noteTextView();
        box.becomeFirstResponder();
        QInputMethodEvent commit;
        commit.setCommitString(text);
        box.inputMethodEvent(&commit);
        words.inputTextDone();
        settle();
    }
    void recolourLayer()
    {
        ui::View *palette = editor().wordTable().panel().paletteView();
        ASSERT_TRUE(palette && !palette->isHidden());
        // Through the palette's own touch handling: the step is the matter here, not the reach.
        ColorPickerViewController &picker = *editor().wordTable().panel().colorPicker();
        ASSERT_TRUE(picker.palette());
        const QRectF swatches = picker.palette()->convertRectTo(picker.palette()->bounds(), palette);
        // A touch picks the colour a fingertip (20 points) above it.
        ASSERT_TRUE(picker.pickAt(QPointF(swatches.left() + swatches.width() / 4, swatches.center().y() + 20)));
        editor().wordTable().colorChoose();
        settle();
    }
    /// A point on the letters of a text layer, on screen: only there does it take a touch.
    static QPointF onInk(const ui::ImageView &layer)
    {
        const QImage image = layer.image().bitmap();
        for (int y = image.height() / 2; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) > 128)
                    return layer.convertPointTo(QPointF((x + 0.5) * layer.bounds().width() / image.width(),
                                                        (y + 0.5) * layer.bounds().height() / image.height()),
                                                nullptr);
        return EditorScreen::centreOnScreen(layer);
    }
    void dragLayer(QPointF by)
    {
        ui::ImageView *layer = editor().wordTable().tView();
        ASSERT_TRUE(layer);
        const QPointF from = onInk(*layer);
        screen.host.drag(from, from + by);
        settle();
    }
    void deleteSelectedLayer()
    {
        ASSERT_TRUE(pressKey(Qt::Key_Delete, Qt::NoModifier));
        settle();
    }
    bool pressKey(int key, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        const bool used = screen.host.pressKey(&event);
        screen.host.advance(0.1);
        return used;
    }
    static void expectSame(const Seen &got, const Seen &wanted, const std::string &where)
    {
        EXPECT_TRUE(imagesEqual(got.picture, wanted.picture)) << where;
        EXPECT_EQ(got.pieceFrame, wanted.pieceFrame) << where;
        EXPECT_EQ(got.textLayers, wanted.textLayers) << where;
    }

    EditorScreen screen;
};

} // namespace

TEST_F(EditorHistoryTest, TwentyMixedEditsGoBackOneByOneAndForwardAgainPictureByPicture)
{
    startOn(codedPhoto(1200, 900));
    std::vector<Seen> states{seen()};
    std::vector<std::string> names{"start"};
    const auto done = [&](const char *name) {
        settle();
        states.push_back(seen());
        names.emplace_back(name);
        ASSERT_EQ(editor().history().undoCount(), int(states.size()) - 1) << name << ": one edit, one step";
    };

    screen.tap(*screen.doneButton());
    done("cut");
    dragPiece({60, 40});
    done("move");
    pinchPiece(1.3);
    done("pinch");
    openStepTwo();
    done("flatten");
    pressPanel("Blur");
    done("blur");
    pressPanel("Style2");
    done("style");
    pressPanel("Done");
    dragPiece({-30, 20});
    done("move after effects");
    editor().preView2(kBottomOkTag);
    editor().optionsOk();
    done("frame");
    typeLayer("One");
    done("text added");
    recolourLayer();
    done("text recoloured");
    dragLayer({30, 50});
    done("text moved");
    typeLayer("Two");
    editor().wordTable().colorChoose();
    done("second text");
    deleteSelectedLayer();
    done("text deleted");
    pinchPiece(0.8);
    done("pinch smaller");
    openStepTwo();
    done("flatten again");
    pressPanel("Sharpen+");
    done("sharpen");
    pressPanel("Done");
    editor().alertToMakeMosaicForiPhone(kTextButtonTag);
    screen.host.advance(0.6);
    done("merge");
    screen.tap(*screen.doneButton());
    done("cut again");
    dragPiece({20, -25});
    done("move the new piece");
    pinchPiece(1.2);
    done("last pinch");
    ASSERT_EQ(states.size(), size_t(21));
    EXPECT_FALSE(imagesEqual(states.front().picture, states.back().picture));

    for (size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(editor().undo()) << "undo " << names[i];
        settle();
        expectSame(seen(), states[i - 1], "after undoing " + names[i]);
    }
    EXPECT_FALSE(editor().undo()) << "nothing before the start";
    EXPECT_TRUE(screen.views->selectTopView->isHidden()) << "back at the crop step, which has no finishing toolbar";
    EXPECT_EQ(editor().history().redoCount(), 20);
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(editor().redo()) << "redo " << names[i];
        settle();
        expectSame(seen(), states[i], "after redoing " + names[i]);
    }
    EXPECT_FALSE(editor().redo());
}

TEST_F(EditorHistoryTest, ANewEditAfterUndoDropsTheRedoStepsAndTheOldestGoesPastTwenty)
{
    startOn(codedPhoto(800, 600));
    screen.tap(*screen.doneButton());
    settle();
    for (int i = 0; i < JobHistory::kDepth + 3; ++i) {
        dragPiece(i % 2 ? QPointF(-12, -9) : QPointF(14, 10));
        settle();
    }
    EXPECT_EQ(editor().history().undoCount(), JobHistory::kDepth);
    const Seen last = seen();
    ASSERT_TRUE(editor().undo());
    ASSERT_TRUE(editor().undo());
    settle();
    EXPECT_EQ(editor().history().redoCount(), 2);
    dragPiece({0, 30});
    settle();
    EXPECT_EQ(editor().history().redoCount(), 0) << "a new edit ends the redo road";
    EXPECT_FALSE(editor().redo());
    EXPECT_NE(seen().pieceFrame, last.pieceFrame);
}

TEST_F(EditorHistoryTest, KeysAndControlsUndoAndRedoAndAreEnabledOnlyWithAStep)
{
    startOn(codedPhoto(800, 600));
    auto *undo = screen.editorView<ui::Button>(kUndoControlTag);
    auto *redo = screen.editorView<ui::Button>(kRedoControlTag);
    ASSERT_TRUE(undo && redo);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    const Seen start = seen();

    screen.tap(*screen.doneButton());
    settle();
    const Seen cut = seen();
    undo = screen.editorView<ui::Button>(kUndoControlTag);
    ASSERT_TRUE(undo);
    EXPECT_TRUE(undo->isEnabled());

    EXPECT_TRUE(pressKey(Qt::Key_Z, Qt::ControlModifier));
    settle();
    expectSame(seen(), start, "Ctrl+Z undoes the cut");
    EXPECT_TRUE(screen.rectangle()) << "back on the crop rectangle";
    EXPECT_TRUE(pressKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier));
    settle();
    expectSame(seen(), cut, "Ctrl+Shift+Z redoes it");

    // The controls answer where they are drawn, above the toolbar.
    undo = screen.editorView<ui::Button>(kUndoControlTag);
    screen.tap(*undo);
    settle();
    expectSame(seen(), start, "Undo");
    redo = screen.editorView<ui::Button>(kRedoControlTag);
    ASSERT_TRUE(redo && redo->isEnabled());
    screen.tap(*redo);
    settle();
    expectSame(seen(), cut, "Redo");
    EXPECT_FALSE(screen.editorView<ui::Button>(kRedoControlTag)->isEnabled());
}

TEST_F(EditorHistoryTest, NothingIsUndoneWhileTypingOrWithTheOptionsPanelUp)
{
    startOn(codedPhoto(800, 600));
    screen.tap(*screen.doneButton());
    settle();
    dragPiece({40, 0});
    settle();
    const Seen moved = seen();
    editor().preView2(kBottomOkTag);
    EXPECT_FALSE(editor().undo());
    editor().optionsCancel();
    editor().gotoTextView();
    EXPECT_FALSE(editor().undo());
    editor().wordTable().closeTextBox();
    settle();
    expectSame(seen(), moved, "untouched");
    EXPECT_TRUE(editor().undo());
}

TEST_F(EditorHistoryTest, TheKeptJobCarriesItsStepsSharingUnchangedPictures)
{
    startOn(codedPhoto(800, 600));
    screen.tap(*screen.doneButton());
    settle();
    for (int i = 0; i < 4; ++i) {
        dragPiece({10, 10});
        settle();
    }
    ASSERT_TRUE(editor().undo());
    settle();
    JobStore::shared().flush();
    const JobLoad kept = JobStore::load(AppHome::tempDir());
    ASSERT_EQ(kept.state, JobLoad::State::Loaded) << kept.problem.toStdString();
    EXPECT_EQ(kept.record.undoSteps.size(), size_t(4));
    EXPECT_EQ(kept.record.redoSteps.size(), size_t(1));
    // Moves make no pictures: the photo, its hole and the piece are one file each.
    EXPECT_EQ(QDir(AppHome::tempDir()).entryList({"job-*.png"}, QDir::Files).size(), 3);
    const JobRecord &firstMove = kept.record.undoSteps[1];
    ASSERT_TRUE(firstMove.piece && kept.record.piece);
    EXPECT_EQ(firstMove.piece->picture.bitmap().cacheKey(), kept.record.piece->picture.bitmap().cacheKey()) << "read once";
}

TEST_F(EditorHistoryTest, DeleteArrowsAndCtrlSActOnWhatIsSelectedAndUndoTakesThemBack)
{
    startOn(codedPhoto(800, 600));
    screen.tap(*screen.doneButton());
    settle();
    const QPointF pieceAt = screen.piece()->center();
    EXPECT_TRUE(pressKey(Qt::Key_Right, Qt::NoModifier));
    EXPECT_TRUE(pressKey(Qt::Key_Down, Qt::ShiftModifier));
    settle();
    EXPECT_EQ(screen.piece()->center(), pieceAt + QPointF(1, 10)) << "the piece moves a point, ten with Shift";

    typeLayer("Words");
    editor().wordTable().colorChoose();
    settle();
    ui::ImageView *layer = editor().wordTable().tView();
    ASSERT_TRUE(layer);
    const QPointF layerAt = layer->center();
    EXPECT_TRUE(pressKey(Qt::Key_Left, Qt::NoModifier));
    EXPECT_EQ(layer->center(), layerAt + QPointF(-1, 0)) << "after a text edit the arrows move the text";
    EXPECT_EQ(screen.piece()->center(), pieceAt + QPointF(1, 10));
    settle();
    const Seen withText = seen();

    EXPECT_TRUE(pressKey(Qt::Key_Delete, Qt::NoModifier));
    settle();
    EXPECT_EQ(seen().textLayers, size_t(0));
    EXPECT_FALSE(pressKey(Qt::Key_Delete, Qt::NoModifier)) << "nothing selected is left to delete";
    EXPECT_TRUE(editor().undo());
    settle();
    expectSame(seen(), withText, "Undo brings the deleted layer back where it was");

    EXPECT_TRUE(pressKey(Qt::Key_S, Qt::ControlModifier));
    ASSERT_TRUE(screen.shownAlert());
    EXPECT_EQ(screen.shownAlert()->message(), "Save to Album");
}

TEST_F(EditorHistoryTest, TheTitleNamesThePhotoAndMarksChangesUntilASaveTakesThem)
{
    QString title;
    editor().setOnTitleChanged([&](const QString &t) { title = t; });
    editor().setPickedOriginal({QStringLiteral("/photos/Harbour at dusk.png"), QSize(800, 600)});
    startOn(codedPhoto(800, 600));
    EXPECT_EQ(title, QStringLiteral("Harbour at dusk.png \u2014 Vimora")) << "a photo just opened has nothing to save";

    screen.tap(*screen.doneButton());
    settle();
    EXPECT_EQ(title, QStringLiteral("*Harbour at dusk.png \u2014 Vimora"));

    // Ctrl+S asks; its High choice saves.
    ASSERT_TRUE(pressKey(Qt::Key_S, Qt::ControlModifier));
    ui::AlertView *question = screen.shownAlert();
    ASSERT_TRUE(question);
    for (int i = 0; i < question->numberOfButtons(); ++i)
        if (question->buttonTitleAtIndex(i).startsWith("High")) {
            screen.tap(*question->buttonAtIndex(i));
            break;
        }
    screen.host.advance(1);
    editor().saving().albumWriter().waitForWrites();
    for (int i = 0; i < 20 && title.startsWith('*'); ++i) {
        QCoreApplication::processEvents();
        screen.host.advance(0.05);
    }
    EXPECT_EQ(title, QStringLiteral("Harbour at dusk.png \u2014 Vimora")) << "saved";
    ASSERT_TRUE(editor().undo());
    settle();
    EXPECT_TRUE(title.startsWith('*')) << "undoing past the save is a change again";
    ASSERT_TRUE(editor().redo());
    settle();
    EXPECT_FALSE(title.startsWith('*')) << "back at the saved state";

    editor().closeDrawView();
    EXPECT_EQ(title, QStringLiteral("Vimora"));
}

namespace {
/// Every visible button under view whose caption is a picture rather than its drawn title.
void iconButtons(ui::View &view, std::vector<ui::Button *> &out)
{
    if (view.isHidden())
        return;
    if (auto *button = dynamic_cast<ui::Button *>(&view); button && (!button->image().isNull() || button->titleColor().alpha() == 0))
        out.push_back(button);
    for (const ui::ViewPtr &sub : view.subviews())
        iconButtons(*sub, out);
}
} // namespace

TEST_F(EditorHistoryTest, EveryIconButtonNamesItselfUnderAPointer)
{
    startOn(codedPhoto(800, 600));
    screen.tap(*screen.doneButton());
    settle();
    typeLayer("Tip");
    // The text layer's colour panel, then the finishing toolbar.
    std::vector<ui::Button *> icons;
    iconButtons(*screen.views->rootView, icons);
    for (ui::Button *button : icons)
        EXPECT_FALSE(button->toolTip().isEmpty()) << ui::describeView(*button).toStdString();
    editor().wordTable().colorChoose();
    settle();
    icons.clear();
    iconButtons(*screen.views->rootView, icons);
    ASSERT_GE(icons.size(), size_t(5)) << "the toolbar's picture buttons at least";
    for (ui::Button *button : icons)
        EXPECT_FALSE(button->toolTip().isEmpty()) << ui::describeView(*button).toStdString();
    ui::Button *save = screen.toolbarButton("Save");
    ASSERT_TRUE(save);
    EXPECT_EQ(screen.host.toolTipAt(EditorScreen::centreOnScreen(*save)), "Save") << "what the pointer rests on";
    ui::Button *undo = screen.editorView<ui::Button>(kUndoControlTag);
    EXPECT_TRUE(undo->toolTip().isEmpty()) << "a drawn title needs no tooltip";
}

TEST(EditorHistoryControls, UndoAndRedoFitAboveTheToolbarAndAnswerWhereDrawnOnEveryProfile)
{
    for (DeviceProfile profile : {DeviceProfile::Tablet, DeviceProfile::Phone568, DeviceProfile::Phone480}) {
        SCOPED_TRACE(int(profile));
        EditorScreen screen(profile);
        screen.writePhoto("D1001.png", codedPhoto(900, 1200));
        screen.startJob("D1001.png");
        screen.tap(*screen.doneButton());
        screen.host.advance(1);
        const QRectF shown(QPointF(0, 0), screen.host.screenSize());
        for (int tag : {kUndoControlTag, kRedoControlTag}) {
            auto *control = screen.editorView<ui::Button>(tag);
            ASSERT_TRUE(control);
            const QRectF frame = control->convertRectTo(control->bounds(), nullptr);
            EXPECT_TRUE(shown.contains(frame)) << control->title().toStdString();
            for (const ui::ViewPtr &button : screen.views->selectTopView->subviews())
                EXPECT_FALSE(frame.intersects(button->convertRectTo(button->bounds(), nullptr))) << button->tag();
            EXPECT_EQ(screen.host.hitTest(frame.center()), control) << "answers where drawn";
        }
    }
}
