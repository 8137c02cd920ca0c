#include "compositor/selection_layer.h"

#include "compositor/compositor_controls.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "platform/settings.h"
#include "ui/label.h"
#include "ui/overlay_stack.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
constexpr double kToolbarHeight = 65;

struct ToolbarButton
{
    const char *title;
    QRectF tablet;
    QRectF phone;
    CompositorCommand command;
    int tag;
};

// The extra row: the picture-layer adjust panel and the further effects. On a tablet they
// sit left of the first button; a phone's row is full, so they go under it.
constexpr QRectF kLayersTablet{5, 5, 75, 50}, kLayersPhone{0, 58, 90, 34};
constexpr QRectF kMoreTablet{82, 5, 75, 50}, kMorePhone{92, 58, 90, 34};
} // namespace

SelectionLayer::SelectionLayer(ScreenViews &views, std::function<void(CompositorCommand)> command)
    : m_views(views)
    , m_command(std::move(command))
{
}

ui::ImageView &SelectionLayer::layer() const
{
    return *m_views.selectTopView;
}

void SelectionLayer::send(CompositorCommand c) const
{
    if (m_command)
        m_command(c);
}

void SelectionLayer::reopen(const QRectF &frame, const QString &picture)
{
    auto &layer = *m_views.selectTopView;
    // Whatever the layer showed before is gone: a tap outside must not close the new one.
    ui::OverlayStack::of(&layer).closed(&layer);
    layer.removeAllSubviews();
    layer.setBackgroundColor(Qt::transparent);
    layer.setFrame(frame);
    layer.setImage(picture.isEmpty() ? Picture() : Resources::imageNamed(picture));
    layer.setHidden(false);
    layer.setAlpha(1.0);
    layer.setUserInteractionEnabled(true);
    m_views.mainView->bringSubviewToFront(&layer);
}

void SelectionLayer::actionbtn()
{
    const bool tablet = isDeviceiPad();
    reopen(QRectF(0, 0, tablet ? 1024 : 480, kToolbarHeight));
    auto &layer = *m_views.selectTopView;
    const auto at = [tablet](QRectF t, QRectF p) { return tablet ? t : p; };

    auto tip = makeLongButton(at({160, 5, 150, 50}, {60, 5, 60, 50}), QStringLiteral("Tip"), [this] { send(CompositorCommand::Tip); });
    auto filter = makeLongButton(at({315, 5, 150, 50}, {120, 5, 60, 50}), QStringLiteral("Filter"),
                                 [this] { send(CompositorCommand::Filter); });
    filter->setTag(kFilterTag);
    auto word = makeLongButton(at({450, 5, 150, 50}, {0, 5, 60, 50}), QStringLiteral("+Word"), [this] { send(CompositorCommand::Word); },
                               Qt::transparent, QStringLiteral("noteBtn.png"));
    // The picture carries the caption; it is drawn at its own size, not stretched.
    word->setBackgroundImage({});
    word->setImage(Resources::imageNamed(QStringLiteral("noteBtn.png")));
    auto save = makeLongButton(at({535, 5, 100, 50}, {180, 5, 60, 50}), QStringLiteral("Save"), [this] { send(CompositorCommand::Save); },
                               Qt::transparent, tablet ? QStringLiteral("saveBtn.png") : QStringLiteral("saveBtn2.png"));
    auto exit = makeLongButton(at({640, 5, 100, 50}, {240, 5, 60, 50}), QStringLiteral("Exit"), [this] { send(CompositorCommand::Exit); },
                               Qt::transparent, tablet ? QStringLiteral("homeBtn.png") : QStringLiteral("homeBtn2.png"));
    for (const auto &b : {tip, filter, word, save, exit})
        layer.addSubview(b);

    auto layers = makeLongButton(at(kLayersTablet, kLayersPhone), QStringLiteral("Layers"),
                                 [this] { send(CompositorCommand::LayersFilter); });
    layers->setTag(kLayersFilterTag);
    auto more = makeLongButton(at(kMoreTablet, kMorePhone), QStringLiteral("More"), [this] { send(CompositorCommand::More); });
    layer.addSubview(layers);
    layer.addSubview(more);
}

void SelectionLayer::shot()
{
    auto &layer = *m_views.selectTopView;
    ui::OverlayStack::of(&layer).closed(&layer);
    layer.removeAllSubviews();
    layer.setHidden(false);
    m_views.mainView->bringSubviewToFront(&layer);
    layer.setBackgroundColor(Qt::transparent);
    // Every way out of the tip leads back to the toolbar: a hidden layer would leave the
    // background with no control at all.
    if (Settings::shared().stringForKey(kNeverKey.toString()) == QLatin1String("never")) {
        actionbtn();
        return;
    }
    const bool tablet = isDeviceiPad();
    reopen(tablet ? QRectF(160, 50, 600, 600) : QRectF(10, 5, 300, 300),
           tablet ? QStringLiteral("descriptionIpad.png") : QStringLiteral("descriptionIphone.png"));
    auto ok = makeRoundButton(tablet ? QRectF(170, 510, 70, 70) : QRectF(50, 240, 50, 50), QStringLiteral("OK"),
                              [this] { actionbtn(); });
    auto never = makeLongButton(tablet ? QRectF(40, 520, 100, 50) : QRectF(188, 10, 100, 50), QStringLiteral("Never show this"),
                                [this] {
                                    neverShow();
                                    actionbtn();
                                }, Qt::white, QStringLiteral("messageBtn.png"));
    QFont font(QStringLiteral("STHeitiJ-Medium"));
    font.setPixelSize(12);
    never->setFont(font);
    layer.addSubview(ok);
    layer.addSubview(never);
}

void SelectionLayer::neverShow()
{
    Settings::shared().setString(kNeverKey.toString(), QStringLiteral("never"));
    // The tip goes with its last answer; the toggle now offers to bring it back.
    m_views.selectTopView->setHidden(true);
    if (auto *toggle = buttonTitled(layer(), QStringLiteral("Tip Off")))
        toggle->setTitle(QStringLiteral("Tip On"));
}

void SelectionLayer::reShowTip()
{
    Settings::shared().setString(kNeverKey.toString(), QStringLiteral("whatever"));
    if (auto *toggle = buttonTitled(layer(), QStringLiteral("Tip On")))
        toggle->setTitle(QStringLiteral("Tip Off"));
}

QString SelectionLayer::tipToggleTitle() const
{
    return Settings::shared().stringForKey(kNeverKey.toString()) == QLatin1String("never") ? QStringLiteral("Tip On")
                                                                                            : QStringLiteral("Tip Off");
}

void SelectionLayer::finalAct()
{
    reopen(QRectF(10, 10, 300, 400), QStringLiteral("skinBtnBackB.png"));
    // The final panel's Save does what the toolbar's does.
    layer().addSubview(makeLongButton(QRectF(40, 165, 200, 50), QStringLiteral("Save"), [this] { send(CompositorCommand::Save); }, Qt::darkGray));
    layer().addSubview(makeLongButton(QRectF(40, 235, 200, 50), QStringLiteral("Exit"), [this] { send(CompositorCommand::Exit); }, Qt::darkGray));
}

void SelectionLayer::secondActMix()
{
    QRectF frame(200, 350, 300, 80);
    if (!isDeviceiPad())
        frame = Device::isLandscape() ? QRectF(90, 20, 300, 80) : QRectF(10, 180, 300, 80);
    reopen(frame, QStringLiteral("skinBtnBack.png"));
    auto label = std::make_shared<ui::Label>(QRectF(12, 3, 290, 70), QStringLiteral("Select the photo above "));
    label->setTextColor(Qt::white);
    label->setBackgroundColor(Qt::transparent);
    label->setTextAlignment(ui::TextAlignment::Left);
    layer().addSubview(label);
    layer().addSubview(makeRoundButton(QRectF(225, 7, 70, 70), QStringLiteral("OK"), [this] { gotoCutImage(); }));
}

void SelectionLayer::gotoCutImage()
{
    actionbtn();
}

void SelectionLayer::doneAndUndo()
{
    reopen(QRectF(10, 10, 300, 190), QStringLiteral("selectViewBack1.png"));
    layer().addSubview(makeLongButton(QRectF(30, 30, 200, 40), QStringLiteral("Undo"), [this] { send(CompositorCommand::Undo); }));
    layer().addSubview(makeLongButton(QRectF(30, 80, 200, 40), QStringLiteral("Done"), [this] { shot(); }));
    // Inside the panel's corner (the first layout let it hang over the edge).
    layer().addSubview(makePictureButton(QRectF(206, 5, 90, 40), QStringLiteral("resultTool"), QStringLiteral("cancelBtn.png"),
                                         [this] { send(CompositorCommand::Minimise); }));
}

void SelectionLayer::showMore(const QString &overlayToggleTitle)
{
    const bool tablet = isDeviceiPad();
    reopen(tablet ? QRectF(160, 70, 450, 420) : QRectF(10, 5, 300, 420), QStringLiteral("skinBtnBackB.png"));
    struct Entry
    {
        QString title;
        CompositorCommand command;
    };
    const Entry entries[] = {
        {QStringLiteral("Cut-out"), CompositorCommand::LayCutOut},     {QStringLiteral("Print"), CompositorCommand::Print},
        {QStringLiteral("Emboss+"), CompositorCommand::MoreEmboss},    {QStringLiteral("Reflection"), CompositorCommand::Reflection},
        {QStringLiteral("Shadow x1.2"), CompositorCommand::EnlargeOverlay}, {overlayToggleTitle, CompositorCommand::OverlayToggle},
        {QStringLiteral("Reset"), CompositorCommand::ResetLayers},      {QStringLiteral("Undo/Done"), CompositorCommand::UndoDone},
        {QStringLiteral("Text"), CompositorCommand::Text},              {QStringLiteral("Finish"), CompositorCommand::Final},
        {QStringLiteral("Hint"), CompositorCommand::Prompt},            {tipToggleTitle(), CompositorCommand::TipToggle},
        {QStringLiteral("New photo"), CompositorCommand::NewPhoto},     {QStringLiteral("Close"), CompositorCommand::Tip},
    };
    const double columnWidth = (layer().bounds().width() - 30) / 2;
    const double rowStep = 54;
    int i = 0;
    for (const Entry &e : entries) {
        const QRectF frame(10 + (i % 2) * (columnWidth + 10), 20 + (i / 2) * rowStep, columnWidth, 46);
        const CompositorCommand c = e.command;
        // Close goes back to the toolbar rather than to the tip.
        auto button = makeLongButton(frame, e.title, [this, c, close = e.title == QLatin1String("Close")] {
            if (close)
                actionbtn();
            else
                send(c);
        });
        layer().addSubview(button);
        ++i;
    }
    // A tap outside or Escape goes back to the toolbar.
    ui::OverlayStack::of(&layer()).open(m_views.selectTopView, [this] { actionbtn(); });
}

} // namespace vimora
