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
constexpr double kTabletToolbarHeight = 65;
constexpr double kPhoneToolbarHeight = 96;
const QString kNeverValue = QStringLiteral("never");

// The extra row: the picture-layer adjust panel and the further effects. On a tablet they
// sit left of the first button; a phone's first row is full, so they make a second row,
// inside the toolbar so that touches on them reach them.
constexpr QRectF kLayersTablet{5, 5, 75, 50}, kLayersPhone{0, 58, 90, 34};
constexpr QRectF kMoreTablet{82, 5, 75, 50}, kMorePhone{92, 58, 90, 34};
} // namespace

SelectionLayer::SelectionLayer(ScreenViews &views, std::function<void(CompositorCommand)> command)
    : m_views(views)
    , m_command(std::move(command))
    , m_panel(std::make_shared<ui::ImageView>())
{
    m_panel->setHidden(true);
}

ui::ImageView &SelectionLayer::layer() const
{
    return *m_views.selectTopView;
}

double SelectionLayer::toolbarHeight(bool tablet)
{
    return tablet ? kTabletToolbarHeight : kPhoneToolbarHeight;
}

bool SelectionLayer::tipsDeclined()
{
    return Settings::shared().stringForKey(kNeverKey.toString()) == kNeverValue;
}

void SelectionLayer::send(CompositorCommand c) const
{
    if (m_command)
        m_command(c);
}

bool SelectionLayer::isToolbarShown() const
{
    const auto &bar = layer();
    return !bar.isHidden() && bar.alpha() > 0 && buttonTitled(bar, QStringLiteral("Tip")) != nullptr;
}

void SelectionLayer::openPanel(const QRectF &frame, const QString &picture)
{
    auto &panel = *m_panel;
    ui::OverlayStack::of(&panel).closed(&panel);
    if (panel.superview() != m_views.mainView.get())
        m_views.mainView->addSubview(m_panel);
    panel.removeAllSubviews();
    panel.setBackgroundColor(Qt::transparent);
    panel.setFrame(frame);
    panel.setImage(picture.isEmpty() ? Picture() : Resources::imageNamed(picture));
    panel.setHidden(false);
    panel.setAlpha(1.0);
    panel.setUserInteractionEnabled(true);
    m_views.mainView->bringSubviewToFront(&panel);
    // Escape and a tap outside close it as its own buttons do: back to the toolbar.
    ui::OverlayStack::of(&panel).open(m_panel, [this] { closePanel(); });
}

void SelectionLayer::hidePanel()
{
    ui::OverlayStack::of(m_panel.get()).closed(m_panel.get());
    m_panel->setHidden(true);
    m_panel->removeAllSubviews();
}

void SelectionLayer::closePanel()
{
    actionbtn();
}

void SelectionLayer::actionbtn()
{
    hidePanel();
    const bool tablet = isDeviceiPad();
    auto &layer = *m_views.selectTopView;
    // Whatever the layer showed before is gone: a tap outside must not close the toolbar.
    ui::OverlayStack::of(&layer).closed(&layer);
    layer.removeAllSubviews();
    layer.setBackgroundColor(Qt::transparent);
    layer.setFrame(QRectF(0, 0, Device::screenSize().width(), toolbarHeight(tablet)));
    layer.setImage({});
    layer.setHidden(false);
    layer.setAlpha(1.0);
    layer.setUserInteractionEnabled(true);
    m_views.mainView->bringSubviewToFront(&layer);
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

void SelectionLayer::shot(TipOpening opening)
{
    if (opening == TipOpening::ByItself && tipsDeclined()) {
        actionbtn();
        return;
    }
    if (!isToolbarShown())
        actionbtn();
    const bool tablet = isDeviceiPad();
    openPanel(tablet ? QRectF(160, 50, 600, 600) : QRectF(10, 5, 300, 300),
              tablet ? QStringLiteral("descriptionIpad.png") : QStringLiteral("descriptionIphone.png"));
    auto ok = makeRoundButton(tablet ? QRectF(170, 510, 70, 70) : QRectF(50, 240, 50, 50), QStringLiteral("OK"),
                              [this] { closePanel(); });
    auto never = makeLongButton(tablet ? QRectF(40, 520, 100, 50) : QRectF(188, 10, 100, 50), QStringLiteral("Never show this"),
                                [this] {
                                    neverShow();
                                    closePanel();
                                }, Qt::white, QStringLiteral("messageBtn.png"));
    QFont font(QStringLiteral("STHeitiJ-Medium"));
    font.setPixelSize(12);
    never->setFont(font);
    panel().addSubview(ok);
    panel().addSubview(never);
}

void SelectionLayer::neverShow()
{
    Settings::shared().setString(kNeverKey.toString(), kNeverValue);
    if (auto *toggle = buttonTitled(panel(), QStringLiteral("Tip Off")))
        toggle->setTitle(QStringLiteral("Tip On"));
}

void SelectionLayer::reShowTip()
{
    Settings::shared().setString(kNeverKey.toString(), QStringLiteral("whatever"));
    if (auto *toggle = buttonTitled(panel(), QStringLiteral("Tip On")))
        toggle->setTitle(QStringLiteral("Tip Off"));
}

QString SelectionLayer::tipToggleTitle() const
{
    return tipsDeclined() ? QStringLiteral("Tip On") : QStringLiteral("Tip Off");
}

void SelectionLayer::finalAct()
{
    if (!isToolbarShown())
        actionbtn();
    openPanel(QRectF(10, 10, 300, 400), QStringLiteral("skinBtnBackB.png"));
    // The final panel's Save does what the toolbar's does.
    panel().addSubview(makeLongButton(QRectF(40, 165, 200, 50), QStringLiteral("Save"), [this] {
        closePanel();
        send(CompositorCommand::Save);
    }, Qt::darkGray));
    panel().addSubview(makeLongButton(QRectF(40, 235, 200, 50), QStringLiteral("Exit"), [this] { send(CompositorCommand::Exit); }, Qt::darkGray));
}

void SelectionLayer::secondActMix()
{
    if (!isToolbarShown())
        actionbtn();
    QRectF frame(200, 350, 300, 80);
    if (!isDeviceiPad())
        frame = Device::isLandscape() ? QRectF(90, 20, 300, 80) : QRectF(10, 180, 300, 80);
    openPanel(frame, QStringLiteral("skinBtnBack.png"));
    auto label = std::make_shared<ui::Label>(QRectF(12, 3, 210, 70), QStringLiteral("Select the photo above "));
    label->setTextColor(Qt::white);
    label->setBackgroundColor(Qt::transparent);
    label->setTextAlignment(ui::TextAlignment::Left);
    panel().addSubview(label);
    panel().addSubview(makeRoundButton(QRectF(225, 7, 70, 70), QStringLiteral("OK"), [this] { gotoCutImage(); }));
}

void SelectionLayer::gotoCutImage()
{
    closePanel();
}

void SelectionLayer::doneAndUndo()
{
    if (!isToolbarShown())
        actionbtn();
    openPanel(QRectF(10, 10, 300, 190), QStringLiteral("selectViewBack1.png"));
    panel().addSubview(makeLongButton(QRectF(30, 30, 200, 40), QStringLiteral("Undo"), [this] { send(CompositorCommand::Undo); }));
    panel().addSubview(makeLongButton(QRectF(30, 80, 200, 40), QStringLiteral("Redo"), [this] { send(CompositorCommand::Redo); }));
    // Done leaves the panel; the tip follows by itself unless the user declined it.
    panel().addSubview(makeLongButton(QRectF(30, 130, 200, 40), QStringLiteral("Done"), [this] { shot(TipOpening::ByItself); }));
    panel().addSubview(makePictureButton(QRectF(206, 5, 90, 40), QStringLiteral("resultTool"), QStringLiteral("cancelBtn.png"),
                                         [this] {
                                             closePanel();
                                             send(CompositorCommand::Minimise);
                                         }));
}

void SelectionLayer::showMore(const QString &overlayToggleTitle)
{
    if (!isToolbarShown())
        actionbtn();
    const bool tablet = isDeviceiPad();
    openPanel(tablet ? QRectF(160, 70, 450, 420) : QRectF(10, 5, 300, 420), QStringLiteral("skinBtnBackB.png"));
    struct Entry
    {
        QString title;
        CompositorCommand command;
        bool staysOpen; // the panel stays for another press; else it closes first
    };
    const Entry entries[] = {
        {QStringLiteral("Cut-out"), CompositorCommand::LayCutOut, false},
        {QStringLiteral("Print"), CompositorCommand::Print, false},
        {QStringLiteral("Emboss+"), CompositorCommand::MoreEmboss, true},
        {QStringLiteral("Reflection"), CompositorCommand::Reflection, true},
        {QStringLiteral("Shadow x1.2"), CompositorCommand::EnlargeOverlay, true},
        {overlayToggleTitle, CompositorCommand::OverlayToggle, true},
        {QStringLiteral("Reset"), CompositorCommand::ResetLayers, true},
        {QStringLiteral("Undo/Done"), CompositorCommand::UndoDone, true},
        {QStringLiteral("Text"), CompositorCommand::Text, false},
        {QStringLiteral("Finish"), CompositorCommand::Final, true},
        {QStringLiteral("Hint"), CompositorCommand::Prompt, true},
        {tipToggleTitle(), CompositorCommand::TipToggle, true},
        {QStringLiteral("New photo"), CompositorCommand::NewPhoto, false},
        {QStringLiteral("Close"), CompositorCommand::Tip, false},
    };
    const double columnWidth = (panel().bounds().width() - 30) / 2;
    const double rowStep = 54;
    int i = 0;
    for (const Entry &e : entries) {
        const QRectF frame(10 + (i % 2) * (columnWidth + 10), 20 + (i / 2) * rowStep, columnWidth, 46);
        const CompositorCommand c = e.command;
        // Close goes back to the toolbar rather than to the tip.
        auto button = makeLongButton(frame, e.title, [this, c, close = e.title == QLatin1String("Close"), stays = e.staysOpen] {
            if (!stays)
                closePanel();
            if (!close)
                send(c);
        });
        panel().addSubview(button);
        ++i;
    }
}

} // namespace vimora
