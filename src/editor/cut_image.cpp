#include "editor/cut_image.h"

#include <QDir>

#include "editor/cut_image_fields.h"
#include "editor/editor_layout.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "platform/settings.h"
#include "store/cleanup.h"
#include "store/working_files.h"
#include "ui/clock.h"
#include "ui/geometry.h"

namespace vimora {

namespace {
/// The photo view sits this far above the centre after a rotation.
constexpr double kRotatedPhotoLift = 50;
/// The sender tag that does not replace fViewTag (the options panel's OK).
constexpr int kKeepViewTag = 11;
constexpr int kJobStartViewTag = 1000;
} // namespace

CutImage::CutImage(std::shared_ptr<ScreenViews> views)
    : d(std::make_unique<CutImageFields>())
{
    d->views = std::move(views);
    d->view = std::make_shared<ui::View>(editorFrame(Device::profile(), false));
    d->view->setTouchHandler(
        [this](ui::TouchPhase phase, const ui::TouchSet &touches) { handleStampTouch(phase, touches); });
}

CutImage::~CutImage() = default;

void CutImage::awakeFromNib()
{
    d->styleAry = Resources::stringArray(QStringLiteral("frameE"));
    d->tileAry = Resources::stringArray(QStringLiteral("frameEs"));
    d->albumDrawMuAry.clear();
    d->views->descripImg2->setHidden(true);
}

void CutImage::getNumOfArray(const QStringList &photoNames, const QStringList & /*thumbNames*/)
{
    ScreenViews &v = *d->views;
    v.mainView->setImage({});
    Settings::shared().setString(kKeyButtonBack, QStringLiteral("SHOW"));

    d->albumDrawAry = photoNames;
    d->fViewTag = kJobStartViewTag;

    v.cutImgView->setFrame(editorFrame(Device::profile(), Device::isLandscape()));
    v.cutImgView->removeAllSubviews();
    v.cutImgView->setHidden(false);
    v.cutImgView->addSubview(d->view);
    v.mainView->bringSubviewToFront(v.cutImgView.get());
    v.descripImg2->setHidden(true);

    d->view->setFrame(QRectF(QPointF(0, 0), v.cutImgView->frame().size()));
    d->view->setAlpha(1);
    v.cutImgView->setBackgroundColor(Qt::transparent);
    d->view->setBackgroundColor(Qt::transparent);

    if (isDeviceiPad())
        d->descripPoint = QPointF(320, 310);

    // A new job starts without the previous job's piece, stamps or hint.
    d->shadView.reset();
    d->penHeadName.clear();
    if (d->stampLayer)
        d->stampLayer->removeFromSuperview();
    d->stampLayer = std::make_shared<ui::ImageView>(d->view->bounds());
    d->stampLayer->setAutoresizingMask(ui::FlexibleWidth | ui::FlexibleHeight);
    d->view->insertSubview(d->stampLayer, 0);
    d->drawImages = d->stampLayer;
    if (d->hintView)
        d->hintView->setHidden(true);

    tempDirFiles();
    viewSelectedImage();
    justSaveToAlbumC();
}

void CutImage::viewSelectedImage(int senderTag)
{
    ScreenViews &v = *d->views;
    v.wordView->setHidden(true);
    v.descripImg->setHidden(true);
    v.descripImg2->setHidden(true);
    v.selectTopView->setImage({});

    if (senderTag != kKeepViewTag)
        d->fViewTag = senderTag;

    Picture photo;
    if (!d->albumDrawAry.isEmpty()) {
        const QString name = d->albumDrawAry.first();
        photo = readPicture(QDir(AppHome::tempDir()).filePath(name));
        if (photo.isNull())
            logLine(QStringLiteral("photo could not be read: %1").arg(name));
        else
            WorkingFiles::shared().originSave(photo);
    }

    buildPhotoView(photo);
}

void CutImage::buildPhotoView(const Picture &photo)
{
    ScreenViews &v = *d->views;
    if (d->fView2)
        d->fView2->removeFromSuperview();
    auto photoView = std::make_shared<ui::ImageView>(
        photoViewFrame(Device::profile(), photo.size(), ui::rectCenter(d->view->bounds())));
    v.backImgView->setHidden(true);
    photoView->setUserInteractionEnabled(true);
    photoView->setBackgroundColor(Qt::transparent);
    photoView->setContentMode(ui::ContentMode::ScaleAspectFill);
    photoView->setImage(photo);
    photoView->setTag(kPhotoViewTag);
    photoView->setClipsToBounds(true);
    photoView->setBorderWidth(2);
    photoView->setBorderColor(Qt::white);
    d->view->addSubview(photoView);
    d->fView2 = photoView;
}

void CutImage::newCutOnOrigin()
{
    ScreenViews &v = *d->views;
    const Picture photo = WorkingFiles::shared().originLoad();
    v.descripImg2->setHidden(true);
    v.selectTopView->setHidden(true);
    if (d->hintView)
        d->hintView->setHidden(true); // its tips are about the piece, which is gone
    if (d->shadView) {
        d->shadView->removeFromSuperview();
        d->shadView.reset();
    }
    buildPhotoView(photo);
    justSaveToAlbumC();
}

void CutImage::rotateW()
{
    layOutEditorView(true);
}

void CutImage::rotateH()
{
    layOutEditorView(false);
}

void CutImage::layOutEditorView(bool landscape)
{
    ScreenViews &v = *d->views;
    const DeviceProfile profile = Device::profile();
    if (!v.selectTopView->isHidden()) {
        v.selectTopView->setFrame(rotatedToolbarFrame(profile, landscape));
        if (profile == DeviceProfile::Tablet)
            d->view->setFrame(landscape ? QRectF(0, 0, 1024, 768) : QRectF(0, 0, 768, 1024));
    }
    const QRectF frame = editorFrame(profile, landscape);
    v.cutImgView->setFrame(frame);
    d->view->setFrame(QRectF(QPointF(0, 0), frame.size()));
    if (ui::View *photoView = d->view->viewWithTag(kPhotoViewTag))
        photoView->setCenter(ui::rectCenter(d->view->bounds()) - QPointF(0, kRotatedPhotoLift));
}

void CutImage::spinBegin()
{
    std::weak_ptr<ui::ActivityIndicator> weak = d->views->waitIndicator;
    ui::postToMainThread([weak] {
        if (auto indicator = weak.lock()) {
            if (ui::View *parent = indicator->superview())
                parent->bringSubviewToFront(indicator.get());
            indicator->startAnimating();
        }
    });
}

void CutImage::spinEnd()
{
    std::weak_ptr<ui::ActivityIndicator> weak = d->views->waitIndicator;
    ui::postToMainThread([weak] {
        if (auto indicator = weak.lock())
            indicator->stopAnimating();
    });
}

ui::ViewPtr CutImage::view() const
{
    return d->view;
}

} // namespace vimora
