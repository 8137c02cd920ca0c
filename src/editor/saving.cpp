#include "editor/saving.h"

#include "editor/photo_capture.h"
#include "editor/view_tags.h"
#include <QDateTime>
#include <QDir>

#include <utility>

#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "store/new_file.h"
#include "screenkit/notices.h"
#include "screenkit/screen_views.h"
#include "ui/label.h"

namespace vimora {

namespace {
constexpr double kMediumFactor = 0.5;
constexpr double kKeptCopyQuality = 0.92;
const QString kShareTitle = QStringLiteral("Share...");

constexpr QSizeF kSharePanelSize(300, 300);
constexpr double kShareButtonWidth = 240;
constexpr double kShareButtonHeight = 50;
constexpr double kShareFirstButtonTop = 70;
constexpr double kShareButtonGap = 15;

struct ShareEntry
{
    const char *title;
    int tag;
};
const ShareEntry kShareEntries[] = {
    {"Original photos to the album", kShareOneByOneTag},
    {"This picture to Documents", kShareDocumentsTag},
    {"E-mail this picture", kShareMailTag},
};
} // namespace

Saving::Saving(ScreenViews &views, EditorAccess access, QString mailProgram)
    : m_views(views)
    , m_access(std::move(access))
    , m_mail(std::move(mailProgram))
    , m_list(m_writer,
          ListExport::Reporting{[this](const QString &title, const QString &message) { tell(title, message); },
              [this] { m_views.selectTopView->setHidden(false); }})
{ }

Saving::~Saving()
{
    // The exports' threads may still post to this object: let them finish first.
    m_list.waitForDocuments();
    m_writer.waitForWrites();
    m_mail.waitForHandOvers();
}

void Saving::tell(const QString &title, const QString &message)
{
    showNotice(title, message);
}

void Saving::saveToAlbum(const Picture &image, std::function<void()> saved)
{
    if (m_access.busy)
        m_access.busy(true);
    saveToAlbumAndTell(
        m_writer, image, kEditorAlbum, [this](const QString &title, const QString &message) { tell(title, message); },
        [this] {
            if (m_access.busy)
                m_access.busy(false);
        },
        std::move(saved));
}

void Saving::askMessage()
{
    // Each choice says the size it writes, so "High" never promises more than it gives.
    const auto titled = [this](SaveQuality quality, const QString &name) {
        const QSize size = sizeFor(quality);
        return QStringLiteral("%1 \u2014 %2 \u00d7 %3").arg(name).arg(size.width()).arg(size.height());
    };
    QStringList titles;
    m_offered.clear();
    for (const auto &[quality, name] : {std::pair{SaveQuality::High, QStringLiteral("High")},
                                        std::pair{SaveQuality::Medium, QStringLiteral("Medium")},
                                        std::pair{SaveQuality::OriginalSize, QStringLiteral("Original size")}}) {
        if (sizeFor(quality).isEmpty())
            continue;
        titles << titled(quality, name);
        m_offered.push_back(quality);
    }
    titles << kShareTitle;
    auto alert = std::make_shared<ui::AlertView>(QString(), QStringLiteral("Save to Album"),
        static_cast<ui::AlertViewDelegate *>(this), QStringLiteral("Cancel"), titles);
    alert->setTag(kQualityChoiceTag);
    alert->show();
}

void Saving::alertViewClickedButtonAtIndex(ui::AlertView &alert, int buttonIndex)
{
    if (alert.tag() != kQualityChoiceTag)
        return;
    if (buttonIndex == alert.cancelButtonIndex()) {
        logLine(QStringLiteral("Cancel"));
        return;
    }
    const int choice = buttonIndex - alert.firstOtherButtonIndex();
    if (choice >= 0 && choice < int(m_offered.size())) {
        if (m_offered[size_t(choice)] == SaveQuality::OriginalSize)
            saveOriginalSize();
        else
            saveWithQuality(m_offered[size_t(choice)]);
    } else if (alert.buttonTitleAtIndex(buttonIndex) == kShareTitle) {
        openSharePanel();
    }
}

QSize Saving::sizeFor(SaveQuality quality) const
{
    ui::ImageView *photoView = m_access.photoView ? m_access.photoView() : nullptr;
    const QSize working = photoView ? photoView->image().bitmap().size() : QSize();
    if (working.isEmpty())
        return {};
    switch (quality) {
    case SaveQuality::High:
        return working;
    case SaveQuality::Medium:
        return QSize(std::max(1, qRound(working.width() * kMediumFactor)), std::max(1, qRound(working.height() * kMediumFactor)));
    case SaveQuality::OriginalSize: {
        const std::optional<OriginalComposition> job = m_access.originalComposition ? m_access.originalComposition() : std::nullopt;
        if (!job)
            return {};
        const QSize size = originalSaveSize(job->original.size);
        // Only worth offering where it gives more than High does.
        return size.width() > working.width() || size.height() > working.height() ? size : QSize();
    }
    }
    return {};
}

Picture Saving::capture(SaveQuality quality)
{
    ui::ImageView *photoView = m_access.photoView ? m_access.photoView() : nullptr;
    ui::View *layer = m_access.editorLayer ? m_access.editorLayer() : nullptr;
    if (!photoView || !layer || quality == SaveQuality::OriginalSize)
        return {};
    for (const ui::View *label : textLabels(*layer))
        logLine(QStringLiteral("fView2 have text:%1").arg(label->tag()));
    return capturePhotoView(*photoView, *layer, sizeFor(quality));
}

void Saving::saveWithQuality(SaveQuality quality)
{
    const Picture picture = capture(quality);
    if (picture.isNull()) {
        tell(kNotSavedTitle, QStringLiteral("There is no picture to save yet."));
        return;
    }
    saveComposition(picture, picture);
}

void Saving::saveComposition(const Picture &picture, const Picture &keptCopy)
{
    // The home screen lists only what was saved: a failed write keeps no copy either.
    saveToAlbum(picture, [this, keptCopy] {
        keepForBackgrounds(keptCopy);
        if (m_onSaved)
            m_onSaved();
    });
}

void Saving::saveOriginalSize()
{
    const std::optional<OriginalComposition> job = m_access.originalComposition ? m_access.originalComposition() : std::nullopt;
    if (!job || isRenderingOriginal()) {
        tell(kNotSavedTitle, job ? QStringLiteral("The picture is still being made.") : QStringLiteral("The original photo is not known."));
        return;
    }
    // The saved-pictures copy is the working size: the home screen reads those back whole.
    const Picture keptCopy = capture(SaveQuality::High);
    showRendering(originalSaveSize(job->original.size));
    m_original.run<Picture>(
        [job = *job]() { return renderFromOriginal(job, readPicture(job.original.path)); },
        [this, keptCopy](const Picture &picture) {
            dismissRendering();
            if (picture.isNull()) {
                tell(kNotSavedTitle, QStringLiteral("The original photo could not be read again; it may have been moved or changed. "
                                                    "High saves the picture at the size the editor works at."));
                return;
            }
            saveComposition(picture, keptCopy.isNull() ? picture : keptCopy);
        });
}

void Saving::showRendering(QSize size)
{
    dismissRendering();
    m_renderingAlert = std::make_shared<ui::AlertView>(QStringLiteral("Saving\u2026"),
        QStringLiteral("Original size, %1 \u00d7 %2").arg(size.width()).arg(size.height()));
    m_renderingAlert->show();
    if (m_access.busy)
        m_access.busy(true);
}

void Saving::dismissRendering()
{
    if (!m_renderingAlert)
        return;
    if (m_renderingAlert->isVisible())
        m_renderingAlert->dismissWithClickedButtonIndex(0, false);
    m_renderingAlert->removeFromSuperview();
    m_renderingAlert.reset();
    if (m_access.busy)
        m_access.busy(false);
}

void Saving::keepForBackgrounds(const Picture &picture)
{
    const QString name = QStringLiteral("Vimora %1.jpg").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss")));
    m_keeper.run<QString>(
        [picture, name]() -> QString {
            const QString folder = AppHome::drawImgsDir();
            if (!QDir().mkpath(folder))
                return QStringLiteral("cannot make %1").arg(folder);
            // JPEG: a background source, read back whole by the home screen's list.
            const QByteArray bytes = encodeJpeg(picture, kKeptCopyQuality);
            if (bytes.isEmpty())
                return QStringLiteral("the picture could not be encoded");
            return writeNewFile(folder, name, bytes).error;
        },
        [name](const QString &error) {
            if (error.isEmpty())
                logLine(QStringLiteral("kept for backgrounds: %1").arg(name));
            else
                logLine(QStringLiteral("not kept for backgrounds: %1").arg(error));
        });
}

void Saving::takeList(const QStringList &exportNames)
{
    m_list.setPictureList(m_access.pictures ? m_access.pictures() : QStringList(),
        m_access.editedNames ? m_access.editedNames() : QStringList(), exportNames);
}

void Saving::saveOneByone()
{
    if (m_list.isSavingOneByOne()) {
        tell(QStringLiteral("Message"), QStringLiteral("The pictures are still being saved."));
        return;
    }
    takeList();
    m_views.selectTopView->setHidden(true);
    m_list.saveOneByone(kEditorAlbum, ListPictureShape::Whole);
}

void Saving::savePictureToDocuments()
{
    if (m_access.busy)
        m_access.busy(true);
    m_list.savePictureToDocuments(capture(SaveQuality::High), m_access.documentName ? m_access.documentName() : QString(),
        [this](const DocumentExportResult &) {
            if (m_access.busy)
                m_access.busy(false);
        });
}

void Saving::saveToItunes(const QStringList &names)
{
    takeList(names);
    if (m_access.busy)
        m_access.busy(true);
    m_list.saveToItunes([this](const DocumentExportResult &) {
        if (m_access.busy)
            m_access.busy(false);
    });
}

void Saving::emailMe(const Picture &image)
{
    // The toolbar steps back while the message is handed over, and returns after.
    m_views.selectTopView->setHidden(true);
    if (m_access.busy)
        m_access.busy(true);
    m_mail.emailMe(image, [this](const MailResult &result) {
        if (m_access.busy)
            m_access.busy(false);
        m_views.selectTopView->setHidden(false);
        m_views.mainView->bringSubviewToFront(m_views.selectTopView.get());
        switch (result.outcome) {
        case MailResult::Outcome::ComposerOpened:
            logLine(QStringLiteral("mail handed to the mail program"));
            break;
        case MailResult::Outcome::DraftWritten:
            logLine(QStringLiteral("no mail program: %1").arg(result.error));
            tell(QStringLiteral("E-mail"),
                QStringLiteral(
                    "No mail program took the message, so it was saved as %1. Open it with your mail program "
                    "to send it.")
                    .arg(result.draftPath));
            break;
        case MailResult::Outcome::Failed:
            logLine(QStringLiteral("Big error: %1").arg(result.error));
            tell(QStringLiteral("E-mail"), QStringLiteral("The message could not be made: %1").arg(result.error));
            break;
        }
    });
}

void Saving::openSharePanel()
{
    if (!m_sharePanel) {
        m_sharePanel = std::make_shared<ui::ImageView>();
        m_sharePanel->setTag(kSharePanelTag);
        m_sharePanel->setUserInteractionEnabled(true);
    }
    ui::ImageView &panel = *m_sharePanel;
    if (panel.superview() != m_views.mainView.get())
        m_views.mainView->addSubview(m_sharePanel);
    reopenPanel(*m_views.mainView, panel);
    const QSizeF screen = Device::screenSize();
    panel.setFrame(QRectF(
        QPointF((screen.width() - kSharePanelSize.width()) / 2, (screen.height() - kSharePanelSize.height()) / 2),
        kSharePanelSize));
    panel.setImage(Resources::imageNamed(QStringLiteral("selectViewBack2.png")));
    panel.setContentMode(ui::ContentMode::ScaleToFill);

    auto title = std::make_shared<ui::Label>(QRectF(20, 15, 200, 40), QStringLiteral("Share"));
    title->setTextColor(Qt::white);
    title->setBackgroundColor(Qt::transparent);
    title->setTextAlignment(ui::TextAlignment::Left);
    panel.addSubview(title);

    double top = kShareFirstButtonTop;
    for (const ShareEntry &entry : kShareEntries) {
        const int tag = entry.tag;
        panel.addSubview(makeBarButton(
            QRectF((kSharePanelSize.width() - kShareButtonWidth) / 2, top, kShareButtonWidth, kShareButtonHeight),
            QString::fromLatin1(entry.title), tag, [this, tag] {
                closeSharePanel();
                if (tag == kShareOneByOneTag)
                    saveOneByone();
                else if (tag == kShareDocumentsTag)
                    savePictureToDocuments();
                else
                    emailMe(capture(SaveQuality::High));
            }));
        top += kShareButtonHeight + kShareButtonGap;
    }
    m_shareCloser.open(panel, {});
}

void Saving::closeSharePanel()
{
    m_shareCloser.release();
    if (m_sharePanel)
        m_sharePanel->setHidden(true);
}

} // namespace vimora
