#include "compositor/option_bar.h"

#include "compositor/compositor_controls.h"
#include "compositor/compositor_layers.h"
#include "compositor/saved_pictures.h"
#include "platform/device.h"
#include "platform/log.h"
#include "screenkit/notices.h"
#include "screenkit/screen_views.h"
#include "ui/overlay_stack.h"

namespace vimora {

OptionBar::OptionBar(ScreenViews &views, CompositorLayers &layers, std::function<void()> saveToAlbum, Tell tell)
    : m_views(views)
    , m_layers(layers)
    , m_saveToAlbum(std::move(saveToAlbum))
    , m_tell(std::move(tell))
{
}

OptionBar::~OptionBar()
{
    if (m_question) {
        m_question->setDelegate(nullptr);
        m_question->dismissWithClickedButtonIndex(kCancelIndex, false);
    }
}

void OptionBar::openOptionView(const QString &name)
{
    auto &layer = *m_views.selectTopView;
    ui::OverlayStack::of(&layer).closed(&layer);
    layer.setHidden(false);
    m_photoName = name;
    layer.removeAllSubviews();
    layer.setImage({});
    layer.setFrame(QRectF(10, 50, 300, 300));
    layer.setBackgroundColor(Qt::transparent);
    layer.setAlpha(1.0);
    layer.setUserInteractionEnabled(true);
    m_views.mainView->bringSubviewToFront(&layer);
    layer.addSubview(makeLongButton(QRectF(40, 100, 200, 50), QStringLiteral("Save To Album"), [this] { saveToAlbumToCut(); }));
    layer.addSubview(makeLongButton(QRectF(40, 155, 200, 50), QStringLiteral("Delete"), [this] { sureToDelete(); }));
    layer.addSubview(makeLongButton(QRectF(40, 210, 200, 50), QStringLiteral("Exit"), [this] { exitAct(); }));
}

void OptionBar::saveToAlbumToCut()
{
    if (m_saveToAlbum)
        m_saveToAlbum();
}

void OptionBar::sureToDelete()
{
    if (m_question)
        return;
    m_question = std::make_shared<ui::AlertView>(QString(), QStringLiteral("Sure to delete this photo?"), this,
                                                 QStringLiteral("cancel"), QStringList{QStringLiteral("YES")});
    m_question->show();
}

void OptionBar::alertViewClickedButtonAtIndex(ui::AlertView &, int buttonIndex)
{
    m_question.reset();
    if (buttonIndex != kYesIndex) {
        logLine(QStringLiteral("don't  delete"));
        return;
    }
    logLine(QStringLiteral("delete!!"));
    using saved_pictures::Removal;
    const Removal removal = saved_pictures::remove(m_photoName);
    switch (removal) {
    case Removal::Removed:
        break;
    case Removal::AlreadyGone:
        if (m_tell)
            m_tell(QStringLiteral("Already deleted"), QStringLiteral("This photo was no longer in your saved pictures."));
        break;
    case Removal::Refused:
    case Removal::Failed:
        // The picture stays; so does the compositor, so the user can try again or leave.
        logLine(QStringLiteral("delete failed: %1").arg(m_photoName));
        if (m_tell)
            m_tell(QStringLiteral("Not deleted"), QStringLiteral("This photo could not be deleted."));
        return;
    }
    m_views.selectTopView->setHidden(true);
    m_views.backImgView->setHidden(true);
    exitAct();
}

void OptionBar::exitAct()
{
    m_views.selectTopView->setHidden(true);
    m_layers.clearPictureLayers();
    m_layers.background().setHidden(true);
    m_views.cateViewTop->setHidden(false);
    m_views.descripImg->setHidden(true);
    m_layers.background().setImage({});
    // The compositor's own view stays: it carries the picture layers for the next visit.
    for (const ui::ViewPtr &v : m_layers.background().subviews())
        if (v.get() != &m_layers.compositorView())
            v->removeFromSuperview();
    m_views.mainView->setImage(homePicture());
    if (m_left)
        m_left();
}

} // namespace vimora
