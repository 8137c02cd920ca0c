#pragma once

#include <functional>
#include <memory>

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "imaging/picture.h"
#include "ui/job_runner.h"

namespace vimora {

inline const QString kMailSubject = QStringLiteral(" My Photo");
inline const QString kMailBody = QStringLiteral("My Photo today");
inline const QString kMailAttachmentName = QStringLiteral("Photo.png");

/// A complete message as an .eml file holds it: MIME 1.0, multipart/mixed, a UTF-8 plain
/// text body and the PNG as a base64 attachment. The subject is an encoded word, so its
/// leading space survives header parsing. No sender or recipient: the user's mail program
/// fills them in when the draft is opened ("X-Unsent: 1" marks it a draft).
QByteArray mailDraft(const QString &subject, const QString &body, const QByteArray &png, const QString &attachmentName,
    const QDateTime &date);

struct MailResult
{
    enum class Outcome {
        ComposerOpened, ///< the desktop's mail program took the message
        DraftWritten, ///< no mail program: the message is a file in Documents/
        Failed, ///< neither worked; error says why
    };
    Outcome outcome = Outcome::Failed;
    QString draftPath;
    /// Why the mail program was not used (for the log), or why nothing worked.
    QString error;
};

/// Hands a picture to the desktop's mail program through xdg-email, with kMailSubject,
/// kMailBody and the picture attached as kMailAttachmentName. Where xdg-email is missing or
/// fails (no mail program set up), the message is written as an .eml draft into the
/// documents folder instead. Encoding and the hand-over run off the UI thread; done is
/// called on the thread that made the composer.
class MailComposer
{
public:
    /// program: the hand-over command, looked up in PATH; documents: where drafts go (the
    /// application home's Documents/ when empty); outbox: where attachments wait for the mail
    /// program (the application home's "Outbox/" when empty).
    explicit MailComposer(QString program = QStringLiteral("xdg-email"), QString documents = {}, QString outbox = {});
    ~MailComposer();
    MailComposer(const MailComposer &) = delete;
    MailComposer &operator=(const MailComposer &) = delete;

    void emailMe(const Picture &picture, std::function<void(const MailResult &)> done);
    /// Blocks until the hand-overs asked for so far are decided (done is then on its way).
    void waitForHandOvers();

private:
    QString m_program;
    QString m_documents;
    QString m_outbox;
    ui::JobRunner m_worker;
};

} // namespace vimora
