#include "editor/finishing_toolbar.h"

#include "editor/editor_layout.h"
#include "editor/panel_parts.h"
#include "editor/view_tags.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "ui/button.h"
#include "ui/geometry.h"
#include "ui/tap_recognizer.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
constexpr double kToolbarFade = 0.2;
constexpr double kTabletHintHeight = 45;
constexpr double kPhoneHintHeight = 65;

// A column under the editor's Photos control, left of the options panel on a tablet.
constexpr double kSideControlTop = 52;
constexpr double kSideControlWidth = 80;
constexpr double kSideControlHeight = 40;
constexpr double kSideControlLeft = 10;
constexpr double kSideControlGap = 5;
constexpr double kNamingStripWidth = 320;
constexpr double kNamingStripHeight = 50;
// Undo and Redo: above the toolbar, clear of its buttons; narrower on a phone.
constexpr double kHistoryControlHeight = 38;
constexpr double kHistoryControlGap = 6;
constexpr double kPhoneHistoryControlHeight = 30;
constexpr double kPhoneHistoryControlGap = 1;
} // namespace

std::vector<ToolbarButtonLayout> toolbarButtons(bool tablet)
{
    struct Entry
    {
        const char *title;
        int tag;
        QRectF tabletFrame, phoneFrame;
        const char *tabletPicture, *phonePicture;
    };
    // "Home" carries no tag of its own.
    static const Entry entries[] = {
        {"Color", kWorkOnPieceTag, {240, 5, 100, 50}, {0, 5, 60, 50}, "surBtn.png", "surBtns.png"},
        {"ChangeFoto", kWorkOnWholePhotoTag, {345, 5, 100, 50}, {65, 5, 60, 50}, "disBtn.png", "disBtns.png"},
        {"Text", kTextButtonTag, {450, 5, 60, 50}, {130, 5, 60, 50}, "cutBtns.png", "cutBtns.png"},
        {"Save", kSaveButtonTag, {515, 5, 100, 50}, {195, 5, 60, 50}, "saveBtn.png", "saveBtn2.png"},
        {"Home", 0, {615, 5, 100, 50}, {255, 5, 60, 50}, "homeBtn.png", "homeBtn2.png"},
    };
    std::vector<ToolbarButtonLayout> buttons;
    for (const Entry &e : entries)
        buttons.push_back({QString::fromLatin1(e.title), e.tag, tablet ? e.tabletFrame : e.phoneFrame,
                           QString::fromLatin1(tablet ? e.tabletPicture : e.phonePicture)});
    return buttons;
}

QRectF writeControlFrame()
{
    return {kSideControlLeft, kSideControlTop, kSideControlWidth, kSideControlHeight};
}

QRectF namesControlFrame()
{
    return writeControlFrame().translated(0, kSideControlHeight + kSideControlGap);
}

QRectF frameControlFrame(QSizeF screen)
{
    // Under the editor's Back control, at the right.
    return writeControlFrame().translated(screen.width() - 2 * kSideControlLeft - kSideControlWidth, 0);
}

QRectF undoControlFrame(DeviceProfile profile, bool landscape)
{
    // A phone has little room between a landscape photo and the toolbar, which the piece's
    // hint shares: lower controls, right on the bar's edge (its buttons start 5 points in).
    const bool tablet = profile == DeviceProfile::Tablet;
    const double width = tablet ? 100 : 80;
    const double height = tablet ? kHistoryControlHeight : kPhoneHistoryControlHeight;
    const double gap = tablet ? kHistoryControlGap : kPhoneHistoryControlGap;
    const double top = rotatedToolbarFrame(profile, landscape).top() - height - gap;
    return {kSideControlLeft, top, width, height};
}

QRectF redoControlFrame(DeviceProfile profile, bool landscape)
{
    const QRectF undo = undoControlFrame(profile, landscape);
    return undo.translated(undo.width() + kSideControlGap, 0);
}

QRectF namingStripFrame(QSizeF screen)
{
    return {(screen.width() - kNamingStripWidth) / 2, namesControlFrame().bottom() + kSideControlGap, kNamingStripWidth,
            kNamingStripHeight};
}

FinishingToolbar::FinishingToolbar(ScreenViews &views, FinishingActions actions)
    : m_views(views)
    , m_actions(std::move(actions))
{
    auto run = [](const std::function<void()> &action) {
        return [&action] {
            if (action)
                action();
        };
    };
    m_write = makeBarButton(writeControlFrame(), QStringLiteral("Write"), kWriteControlTag, run(m_actions.write));
    m_names = makeBarButton(namesControlFrame(), QStringLiteral("Names"), kNamesControlTag, run(m_actions.names));
    m_frame = makeBarButton({}, QStringLiteral("Frame"), kFrameControlTag, run(m_actions.frame));
    m_undo = makeBarButton({}, QStringLiteral("Undo"), kUndoControlTag, run(m_actions.undo));
    m_redo = makeBarButton({}, QStringLiteral("Redo"), kRedoControlTag, run(m_actions.redo));
    setHistoryState(false, false);
}

void FinishingToolbar::placeHistoryControls()
{
    ui::View &layer = *m_views.cutImgView;
    const DeviceProfile profile = Device::profile();
    const bool landscape = Device::isLandscape();
    for (const auto &[control, frame] : {std::pair{m_undo, undoControlFrame(profile, landscape)},
                                         std::pair{m_redo, redoControlFrame(profile, landscape)}}) {
        control->setFrame(QRectF(layer.convertPointFrom(frame.topLeft(), nullptr), frame.size()));
        control->setHidden(false);
        layer.addSubview(control);
    }
}

void FinishingToolbar::setHistoryState(bool canUndo, bool canRedo)
{
    for (const auto &[control, on] : {std::pair{m_undo, canUndo}, std::pair{m_redo, canRedo}}) {
        control->setEnabled(on);
        // Dimmed while there is no step, yet still seen where it will be.
        control->setAlpha(on ? 1.0 : 0.45);
    }
}

void FinishingToolbar::finalAdjust()
{
    ScreenViews &v = m_views;
    ui::ImageView &bar = *v.selectTopView;
    bar.removeAllSubviews();
    bar.setImage({});
    fadeIn(bar, kToolbarFade);
    bar.setBackgroundColor(Qt::transparent);
    bar.setFrame(rotatedToolbarFrame(Device::profile(), Device::isLandscape()));
    bar.setAlpha(1);
    bar.setHidden(false);
    v.mainView->bringSubviewToFront(&bar);

    const std::function<void()> *actions[] = {&m_actions.color, &m_actions.changeFoto, &m_actions.text, &m_actions.save,
                                              &m_actions.home};
    int index = 0;
    for (const ToolbarButtonLayout &entry : toolbarButtons(isDeviceiPad())) {
        auto button = std::make_shared<ui::Button>(entry.frame);
        button->setTitle(entry.title);
        // The picture carries the caption; the title only names the control.
        button->setTitleColor(Qt::transparent);
        button->setTitleShadowColor(Qt::transparent);
        button->setTitleShadowOffset(QPointF(2, 2));
        button->setReversesTitleShadowWhenHighlighted(true);
        button->setBackgroundImage(Resources::imageNamed(entry.picture));
        button->setTag(entry.tag);
        const std::function<void()> &action = *actions[index++];
        button->addAction(ui::ControlEventTouchUpInside, [&action](ui::Control &) {
            if (action)
                action();
        });
        bar.addSubview(button);
    }
    placeSideControls();
}

void FinishingToolbar::setEffectAction(std::function<void(int senderTag)> action)
{
    auto withTag = [action](int tag) { return [action, tag] { action(tag); }; };
    m_actions.color = withTag(kWorkOnPieceTag);
    m_actions.changeFoto = withTag(kWorkOnWholePhotoTag);
    m_actions.text = withTag(kTextButtonTag);
}

void FinishingToolbar::placeSideControls()
{
    // In the editor layer, at fixed screen places whatever frame the cut gave the layer.
    ui::View &layer = *m_views.cutImgView;
    for (const auto &[control, frame] : {std::pair{m_write, writeControlFrame()}, std::pair{m_names, namesControlFrame()},
                                         std::pair{m_frame, frameControlFrame(Device::screenSize())}}) {
        control->setFrame(QRectF(layer.convertPointFrom(frame.topLeft(), nullptr), frame.size()));
        control->setHidden(false);
        layer.addSubview(control);
    }
}

void FinishingToolbar::relayout()
{
    ui::View &layer = *m_views.cutImgView;
    for (const auto &[control, frame] : {std::pair{m_write, writeControlFrame()}, std::pair{m_names, namesControlFrame()},
                                         std::pair{m_frame, frameControlFrame(Device::screenSize())}})
        if (control->superview() == &layer)
            control->setFrame(QRectF(layer.convertPointFrom(frame.topLeft(), nullptr), frame.size()));
    if (m_undo->superview() == &layer)
        placeHistoryControls();
    if (m_hint && !m_hint->isHidden() && m_hint->superview())
        placeHint();
}

void FinishingToolbar::hideHint()
{
    if (m_hint)
        m_hint->setHidden(true);
}

void FinishingToolbar::remindNew(bool shattering)
{
    ScreenViews &v = m_views;
    if (!m_hint) {
        m_hint = std::make_shared<ui::ImageView>();
        m_hint->setUserInteractionEnabled(true);
        m_hint->setContentMode(ui::ContentMode::ScaleAspectFill);
        m_hint->setClipsToBounds(true);
        m_hint->setTag(kHintStripTag);
        std::weak_ptr<ui::ImageView> weak = m_hint;
        m_hint->addGestureRecognizer(std::make_shared<ui::TapRecognizer>([weak](ui::TapRecognizer &) {
            if (auto hint = weak.lock())
                hint->setHidden(true);
        }));
    }
    // The hint has its own strip: clearing the options panel for it would drop the panel
    // that was just built.
    ui::ImageView &hint = *m_hint;
    const bool tablet = isDeviceiPad();
    const QString name = tablet ? (shattering ? QStringLiteral("desIpad3.jpg") : QStringLiteral("desIpad2.jpg"))
                                : (shattering ? QStringLiteral("desIphone3.jpg") : QStringLiteral("desIphone2.jpg"));
    v.mainView->addSubview(m_hint);
    placeHint();
    hint.setImage(Resources::imageNamed(name));
    hint.setHidden(false);
    fadeIn(hint, kToolbarFade);
}

void FinishingToolbar::placeHint()
{
    ScreenViews &v = m_views;
    const bool tablet = isDeviceiPad();
    const QSizeF screen = Device::screenSize();
    const double height = tablet ? kTabletHintHeight : kPhoneHintHeight;
    // Along the bottom edge; just above the toolbar where that leaves the options panel
    // clear, so the toolbar stays usable under the hint.
    double top = screen.height() - height;
    const ui::ImageView &bar = *v.selectTopView;
    const ui::ImageView &panel = *v.descripImg2;
    if (!bar.isHidden()) {
        const double aboveBar = bar.frame().top() - height;
        if (panel.isHidden() || aboveBar >= panel.frame().bottom())
            top = aboveBar;
    }
    m_hint->setFrame(QRectF(0, top, screen.width(), height));
}

} // namespace vimora
