#include "editor/finishing_toolbar.h"

#include "editor/editor_layout.h"
#include "editor/panel_parts.h"
#include "editor/view_tags.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "ui/button.h"
#include "ui/tap_recognizer.h"
#include "widgets/screen_views.h"

namespace vimora {

namespace {
constexpr double kToolbarFade = 0.2;
constexpr double kTabletHintHeight = 45;
constexpr double kPhoneHintHeight = 65;

struct ToolbarButton
{
    const char *title;
    int tag;
    QRectF tabletFrame;
    QRectF phoneFrame;
    const char *tabletPicture;
    const char *phonePicture;
};

// "Home" carries no tag of its own.
const ToolbarButton kToolbarButtons[] = {
    {"Color", kWorkOnPieceTag, {240, 5, 100, 50}, {0, 5, 60, 50}, "surBtn.png", "surBtns.png"},
    {"ChangeFoto", kWorkOnWholePhotoTag, {345, 5, 100, 50}, {65, 5, 60, 50}, "disBtn.png", "disBtns.png"},
    {"Text", kTextButtonTag, {450, 5, 60, 50}, {130, 5, 60, 50}, "cutBtns.png", "cutBtns.png"},
    {"Save", kSaveButtonTag, {515, 5, 100, 50}, {195, 5, 60, 50}, "saveBtn.png", "saveBtn2.png"},
    {"Home", 0, {615, 5, 100, 50}, {255, 5, 60, 50}, "homeBtn.png", "homeBtn2.png"},
};
} // namespace

FinishingToolbar::FinishingToolbar(ScreenViews &views, std::function<void()> home)
    : m_views(views)
    , m_home(std::move(home))
{
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

    const bool tablet = isDeviceiPad();
    for (const ToolbarButton &entry : kToolbarButtons) {
        auto button = std::make_shared<ui::Button>(tablet ? entry.tabletFrame : entry.phoneFrame);
        const QString title = QString::fromLatin1(entry.title);
        button->setTitle(title);
        // The picture carries the caption; the title only names the control.
        button->setTitleColor(Qt::transparent);
        button->setTitleShadowColor(Qt::transparent);
        button->setTitleShadowOffset(QPointF(2, 2));
        button->setReversesTitleShadowWhenHighlighted(true);
        button->setBackgroundImage(Resources::imageNamed(QString::fromLatin1(tablet ? entry.tabletPicture : entry.phonePicture)));
        button->setTag(entry.tag);
        // Home leaves the editor; Color, ChangeFoto (cutImageZ), Text (merge and new cut) and
        // Save (askMessage) are wired by the flows they start.
        if (title == QLatin1String("Home"))
            button->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) {
                if (m_home)
                    m_home();
            });
        if (entry.tag == kWorkOnPieceTag || entry.tag == kWorkOnWholePhotoTag || entry.tag == kTextButtonTag)
            button->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &sender) {
                if (m_effectAction)
                    m_effectAction(sender.tag());
            });
        bar.addSubview(button);
    }
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
    v.mainView->addSubview(m_hint);
    hint.setFrame(QRectF(0, top, screen.width(), height));
    hint.setImage(Resources::imageNamed(name));
    hint.setHidden(false);
    fadeIn(hint, kToolbarFade);
}

} // namespace vimora
