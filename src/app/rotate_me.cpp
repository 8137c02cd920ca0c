#include "app/rotate_me.h"

#include "app/ad.h"
#include "app/photo_intake.h"
#include "app/top.h"
#include "compositor/back_photo.h"
#include "editor/cut_image.h"
#include "platform/log.h"

namespace vimora {

QString orientationName(InterfaceOrientation orientation)
{
    switch (orientation) {
    case InterfaceOrientation::Portrait:
        return QStringLiteral("portrait");
    case InterfaceOrientation::PortraitUpsideDown:
        return QStringLiteral("portrait upside down");
    case InterfaceOrientation::LandscapeLeft:
        return QStringLiteral("landscape left");
    case InterfaceOrientation::LandscapeRight:
        return QStringLiteral("landscape right");
    }
    return {};
}

RotateMe::RotateMe()
{
    const double side = Device::windowSide(Device::profile());
    m_shell = ShellViews::create(QSizeF(side, side));
    m_draw = std::make_unique<CutImage>(m_shell);
    CutImage *draw = m_draw.get();
    m_backPhoto = std::make_unique<BackPhoto>(m_shell);
    BackPhoto *back = m_backPhoto.get();
    // Home -> intake -> editor; the compositor's "New photo" takes the same road.
    m_intake = std::make_unique<PhotoIntake>(
        m_shell, [this, draw, back](const QStringList &origins, const QStringList &thumbs) {
            // A photo read for the compositor's "New photo" replaces its composition.
            back->newPhotoTaken();
            draw->setPickedOriginal({m_intake->pickedPath(), m_intake->pickedSize()});
            draw->getNumOfArray(origins, thumbs);
        });
    PhotoIntake *intake = m_intake.get();
    m_backPhoto->setNewPhotoRequest([intake] { intake->toAlbumiPad(QStringLiteral("TYPE1"), QStringLiteral("album")); });
    m_ad = std::make_unique<AD>(m_shell);
    m_top = std::make_unique<Top>(m_shell, m_draw.get(), m_backPhoto.get(), intake, m_ad.get());

    // Leaving the editor by Home brings the home screen's bar and controls back.
    Top *top = m_top.get();
    m_draw->setOnHome([top] { top->cateViewForOrientation(); });
    // One album writer for the whole application; the compositor's Save To Album is the editor's.
    m_backPhoto->setAlbumWriter(&draw->saving().albumWriter());
    m_backPhoto->setSaveToAlbum([draw](const Picture &picture) { draw->saveToAlbum(picture); });
    m_draw->awakeFromNib();
    // The editor's own view lives in its layer.
    if (const ui::ViewPtr editor = m_draw->view(); editor && !editor->superview())
        m_draw->views().cutImgView->addSubview(editor);
    m_backPhoto->awakeFromNib();
    m_ad->awakeFromNib();
    m_top->awakeFromNib();
    viewDidLoad();
}

RotateMe::~RotateMe() = default;

void RotateMe::viewDidLoad()
{
    logLine(QStringLiteral("statusBarOrientation: %1").arg(orientationName(Device::orientation())));
}

int RotateMe::supportedInterfaceOrientations() const
{
    if (isDeviceiPad())
        return kMaskPortrait | kMaskLandscapeLeft | kMaskLandscapeRight;
    return kMaskPortrait;
}

bool RotateMe::shouldAutorotateToInterfaceOrientation(InterfaceOrientation) const
{
    return isDeviceiPad();
}

void RotateMe::willAnimateRotationToInterfaceOrientation(InterfaceOrientation orientation, double)
{
    const bool landscape = orientation != InterfaceOrientation::Portrait && orientation != InterfaceOrientation::PortraitUpsideDown;
    if (landscape) {
        m_top->cateViewW();
        m_draw->rotateW();
    } else {
        m_top->cateViewH();
        m_draw->rotateH();
    }
    m_ad->rotated();
}

} // namespace vimora
