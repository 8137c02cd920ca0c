// The finishing toolbar after a cut, the hint strip, and leaving the editor by Home.

#include "editor/cut_image.h"
#include "editor/cut_image_fields.h"
#include "editor/editor_layout.h"
#include "editor/panel_parts.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "store/cleanup.h"
#include "ui/tap_recognizer.h"

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
    {"Color", 200, {240, 5, 100, 50}, {0, 5, 60, 50}, "surBtn.png", "surBtns.png"},
    {"ChangeFoto", 300, {345, 5, 100, 50}, {65, 5, 60, 50}, "disBtn.png", "disBtns.png"},
    {"Text", 105, {450, 5, 60, 50}, {130, 5, 60, 50}, "cutBtns.png", "cutBtns.png"},
    {"Save", 100, {515, 5, 100, 50}, {195, 5, 60, 50}, "saveBtn.png", "saveBtn2.png"},
    {"Home", 0, {615, 5, 100, 50}, {255, 5, 60, 50}, "homeBtn.png", "homeBtn2.png"},
};
} // namespace

void CutImage::finalAdjust()
{
    ScreenViews &v = *d->views;
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
            button->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { closeDrawView(); });
        bar.addSubview(button);
    }
}

void CutImage::closeDrawView()
{
    ScreenViews &v = *d->views;
    if (d->stampLayer)
        d->stampLayer->setHidden(true);
    v.descripImg2->setHidden(true);
    v.selectTopView->setHidden(true);
    v.cutImgView->setHidden(true);
    v.backImgView->setImage({});
    v.rootView->bringSubviewToFront(v.mainView.get());
    if (d->shadView) {
        d->shadView->removeFromSuperview();
        d->shadView.reset();
    }
    if (d->hintView)
        d->hintView->setHidden(true);

    emptyTempDir();
    tempDirFiles();

    v.descripImg->setBorderWidth(0);
    v.mainView->setImage(
        Resources::imageNamed(isDeviceiPad() ? QStringLiteral("mainB1.png") : QStringLiteral("mainB1iphone.png")));
    if (onHome)
        onHome();
}

void CutImage::remindNew()
{
    ScreenViews &v = *d->views;
    if (!d->hintView) {
        d->hintView = std::make_shared<ui::ImageView>();
        d->hintView->setUserInteractionEnabled(true);
        d->hintView->setContentMode(ui::ContentMode::ScaleAspectFill);
        d->hintView->setClipsToBounds(true);
        std::weak_ptr<ui::ImageView> weak = d->hintView;
        d->hintView->addGestureRecognizer(std::make_shared<ui::TapRecognizer>([weak](ui::TapRecognizer &) {
            if (auto hint = weak.lock())
                hint->setHidden(true);
        }));
    }
    // The hint has its own strip: clearing the options panel for it would drop the panel
    // that was just built.
    ui::ImageView &hint = *d->hintView;
    const bool tablet = isDeviceiPad();
    const bool shattering = d->removeImgNam == QLatin1String("shattering");
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
    v.mainView->addSubview(d->hintView);
    hint.setFrame(QRectF(0, top, screen.width(), height));
    hint.setImage(Resources::imageNamed(name));
    hint.setHidden(false);
    fadeIn(hint, kToolbarFade);
}

} // namespace vimora
