#include "app/photo_intake.h"

#include <QFileInfo>

#include "app/intake_geometry.h"
#include "app/intake_pictures.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/log.h"
#include "store/names.h"
#include "ui/clock.h"

namespace vimora {

class PhotoIntake::NoticeDelegate : public ui::AlertViewDelegate
{
public:
    explicit NoticeDelegate(PhotoIntake &owner)
        : m_owner(owner)
    {
    }
    void alertViewClickedButtonAtIndex(ui::AlertView &, int buttonIndex) override
    {
        m_owner.answerDamagedNotice(buttonIndex);
    }

private:
    PhotoIntake &m_owner;
};

PhotoIntake::PhotoIntake(const ShellViews &shell, HandOver handOver)
    : m_shell(shell)
    , m_handOver(std::move(handOver))
    , m_noticeDelegate(std::make_unique<NoticeDelegate>(*this))
    , m_pickerView(std::make_shared<ui::View>())
    , m_worker([this](const QString &reason) { intakeFailed(reason); })
{
    m_pickerView->setBackgroundColor(QColor(0, 0, 0, 160));
}

PhotoIntake::~PhotoIntake()
{
    if (m_damagedNotice) {
        m_damagedNotice->setDelegate(nullptr);
        m_damagedNotice->dismissWithClickedButtonIndex(kNoticeCancelIndex, false);
    }
}

void PhotoIntake::toAlbumiPad(const QString &, const QString &cOrF)
{
    logLine(QStringLiteral("str:%1").arg(cOrF));
    if (m_takingIn) {
        logLine(QStringLiteral("intake ignored: a photo is still being opened"));
        return;
    }
    m_fun = cOrF;

    // A new intake replaces the previous picker; its late answer must not end this one.
    hidePicker();
    const int intake = ++m_intake;
    PhotoPicker &picker = PhotoPicker::current();
    picker.dismiss();
    m_picking = true;
    m_popoverAnchor = {};

    const bool album = cOrF == QLatin1String("album");
    if (isDeviceiPad() && album) {
        if (Device::isLandscape())
            popW();
        else
            popH();
    } else {
        auto &root = *m_shell.rootView;
        m_pickerView->setFrame(root.bounds());
        root.addSubview(m_pickerView);
        m_pickerView->setHidden(false);
        m_pickerView->addSubview(m_shell.waitIndicator);
    }

    const auto source = cOrF == QLatin1String("camera") ? PhotoPicker::Source::Camera : PhotoPicker::Source::Album;
    // The picker asks again if the screen turns while it is open.
    if (!m_popoverAnchor.isEmpty())
        picker.setPopoverAnchor([] { return Device::isLandscape() ? popoverAnchorLandscape() : popoverAnchorPortrait(); },
                                ui::PopoverArrowDirectionDown);
    picker.present(source, [this, intake](std::optional<PhotoPicker::Result> picked) {
        if (intake != m_intake || !m_picking)
            return;
        if (picked)
            imagePickerController(*picked);
        else
            imagePickerControllerDidCancel();
    });
}

void PhotoIntake::openFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    if (m_takingIn) {
        logLine(QStringLiteral("open ignored: a photo is still being opened"));
        return;
    }
    m_fun = QStringLiteral("album");
    // Any picker still up is closed; its late answer belongs to an older intake.
    hidePicker();
    const int intake = ++m_intake;
    m_picking = false;
    m_popoverAnchor = {};
    PhotoPicker::current().dismiss();
    if (paths.size() > 1)
        logLine(QStringLiteral("open: the job takes one photo; left: %1").arg(paths.mid(1).join(QStringLiteral(", "))));

    // Reading decodes the whole photo: off the UI thread, as the intake's own work is.
    m_takingIn = true;
    m_opening.start();
    const QString path = paths.constFirst();
    m_worker.post([this, intake, path]() -> ui::JobRunner::Apply {
        const PhotoPicker::Result read = readPickedPhoto(path);
        return [this, intake, read] {
            m_takingIn = false;
            m_opening.stop();
            if (intake == m_intake)
                imagePickerController(read);
        };
    });
}

void PhotoIntake::popH()
{
    m_shell.cateViewTop->setHidden(false);
    m_shell.mainView->bringSubviewToFront(m_shell.cateViewTop.get());
    m_popoverAnchor = popoverAnchorPortrait();
}

void PhotoIntake::popW()
{
    m_shell.cateViewTop->setHidden(false);
    m_shell.mainView->bringSubviewToFront(m_shell.cateViewTop.get());
    m_popoverAnchor = popoverAnchorLandscape();
}

void PhotoIntake::hidePicker()
{
    m_pickerView->setHidden(true);
    m_pickerView->removeFromSuperview();
    // The spinner rode on the picker; the screens expect it back in the main view.
    if (m_shell.waitIndicator->superview() != m_shell.mainView.get())
        m_shell.mainView->addSubview(m_shell.waitIndicator);
}

void PhotoIntake::imagePickerController(const PhotoPicker::Result &picked)
{
    m_picking = false;
    hidePicker();

    if (picked.photo.isNull() && !picked.decodeLater) {
        showIntakeAlert(picked.error.isEmpty() ? QStringLiteral("The photo could not be read.") : picked.error);
        endIntakeWithoutPhoto();
        return;
    }
    if (picked.damaged) {
        // It still decodes, but part of it is made up: the user decides.
        m_damagedPhoto = picked;
        m_damagedNotice = std::make_shared<ui::AlertView>(
            QStringLiteral("Part of this photo could not be read"),
            QStringLiteral("The file ends early; the missing part will show grey."), m_noticeDelegate.get(),
            QStringLiteral("Cancel"), QStringList{QStringLiteral("Continue")});
        m_damagedNotice->show();
        return;
    }
    takeIn(picked);
}

void PhotoIntake::answerDamagedNotice(int buttonIndex)
{
    const PhotoPicker::Result picked = std::exchange(m_damagedPhoto, {});
    m_damagedNotice.reset();
    if (buttonIndex == kNoticeContinueIndex)
        takeIn(picked);
    else
        endIntakeWithoutPhoto();
}

void PhotoIntake::takeIn(const PhotoPicker::Result &picked)
{
    // A big photo takes a while to bring to the working size: off the UI thread, the screen
    // drawing and answering meanwhile, and "Opening photo…" once it takes longer than a glance.
    m_takingIn = true;
    m_opening.start();
    const int intake = m_intake;
    const int maxSide = intakeMaxSide(Device::profile());
    m_worker.post([this, intake, picked, maxSide]() -> ui::JobRunner::Apply {
        StoredPhoto stored = storePhoto(picked, maxSide);
        stored.pickedPath = picked.path;
        return [this, intake, stored] {
            m_takingIn = false;
            m_opening.stop();
            // A newer intake began meanwhile: this one's photo is not wanted.
            if (intake == m_intake)
                handOverStored(stored);
        };
    });
}

PhotoIntake::StoredPhoto PhotoIntake::storePhoto(const PhotoPicker::Result &picked, int maxSide)
{
    StoredPhoto stored;
    Picture working;
    if (picked.decodeLater) {
        const IntakeRead read = intakeWorkingCopyOfFile(picked.path, picked.size, maxSide);
        working = read.working;
        stored.pickedSize = read.size;
        stored.unreadable = working.isNull();
    } else {
        const Picture decoded = intakeRoundTrip(picked.photo);
        working = intakeWorkingCopy(decoded, maxSide);
        stored.pickedSize = decoded.bitmap().size();
    }
    const QString tmp = AppHome::tempDir();
    stored.originName = freeFileName(tmp, [] { return fileNameMe(NameOwner::Compositor); });
    stored.thumbName = freeFileName(tmp, [] { return fileNameMe(NameOwner::Editor); });
    stored.size = working.size().toSize();
    stored.stored = !working.isNull() && !stored.originName.isEmpty() && !stored.thumbName.isEmpty() && writeJpeg(working, stored.originName);
    if (stored.stored && !writeJpeg(intakeThumbnail(working), stored.thumbName))
        logLine(QStringLiteral("thumbnail not written: %1").arg(stored.thumbName));
    return stored;
}

void PhotoIntake::handOverStored(const StoredPhoto &stored)
{
    if (stored.unreadable) {
        // Its header read, but not its pixels.
        showIntakeAlert(QStringLiteral("The photo \"%1\" could not be read.").arg(QFileInfo(stored.pickedPath).fileName()));
        endIntakeWithoutPhoto();
        return;
    }
    if (!stored.stored) {
        // Nothing half-done is handed on: the editor keeps whatever job it had.
        showIntakeAlert(QStringLiteral("The photo could not be stored for editing."));
        endIntakeWithoutPhoto();
        return;
    }
    m_originMuAry = QStringList{stored.originName};
    m_thuMuAry = QStringList{stored.thumbName};
    m_pickedPath = stored.pickedPath;
    m_pickedSize = stored.pickedSize;
    if ((m_fun == QLatin1String("album") || m_fun == QLatin1String("camera")) && m_handOver)
        m_handOver(QStringList(m_originMuAry), m_thuMuAry);

    m_shell.cateViewTop->setHidden(true);
    logLine(QString::asprintf("imgPreCompress.Width:%f", double(stored.size.width())));
    logLine(QString::asprintf("imgPreCompress.Height:%f", double(stored.size.height())));
}

void PhotoIntake::waitForIntake()
{
    m_worker.waitForIdle();
}

void PhotoIntake::intakeFailed(const QString &reason)
{
    // The work threw (out of memory on a huge photo): the screen is given back all the same.
    m_takingIn = false;
    m_opening.stop();
    showIntakeAlert(QStringLiteral("The photo could not be opened: %1").arg(reason));
    endIntakeWithoutPhoto();
}

bool PhotoIntake::writeJpeg(const Picture &picture, const QString &name)
{
    if (picture.isNull())
        return false;
    const QByteArray bytes = encodeJpeg(picture, kJpegQuality);
    return !bytes.isEmpty() && writeFileAtomically(AppHome::tempDir() + '/' + name, bytes);
}

void PhotoIntake::showIntakeAlert(const QString &message)
{
    logLine(QStringLiteral("intake: %1").arg(message));
    auto alert = std::make_shared<ui::AlertView>(QStringLiteral("Photo not opened"), message, nullptr,
                                                 QStringLiteral("OK"));
    alert->show();
}

void PhotoIntake::imagePickerControllerDidCancel()
{
    m_picking = false;
    hidePicker();
    endIntakeWithoutPhoto();
}

void PhotoIntake::endIntakeWithoutPhoto()
{
    m_shell.cateViewTop->setHidden(false);
    if (m_intakeEnded)
        m_intakeEnded();
}

void PhotoIntake::popoverControllerDidDismissPopover()
{
    logLine(QStringLiteral("popover dismissed"));
    m_picking = false;
    ++m_intake;
    PhotoPicker::current().dismiss();
    m_popoverAnchor = {};
    endIntakeWithoutPhoto();
}

} // namespace vimora
