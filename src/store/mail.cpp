#include "store/mail.h"

#include <exception>

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>

#include "imaging/codec.h"
#include "platform/app_home.h"
#include "store/new_file.h"

namespace vimora {

namespace {
constexpr int kStartWaitMs = 5000;
// xdg-email may run the mail program in the foreground until it closes; past this the
// program counts as open and is left running.
constexpr int kHandOverWaitMs = 20000;
// Attachments wait this long for a mail program that reads them late (at sending).
constexpr qint64 kOutboxKeepSeconds = 7 * 24 * 3600;
constexpr int kBase64LineLength = 76;
const QString kDraftName = QStringLiteral("My Photo.eml");

QByteArray crlf(const QByteArray &line)
{
    return line + "\r\n";
}

QByteArray rfc5322Date(const QDateTime &date)
{
    const int offset = date.offsetFromUtc() / 60;
    const QByteArray zone = QStringLiteral("%1%2%3")
                                .arg(offset < 0 ? '-' : '+')
                                .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
                                .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'))
                                .toLatin1();
    return QLocale::c().toString(date, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss")).toLatin1() + ' ' + zone;
}

// Removes the outbox folders of earlier messages once they are old enough.
void tidyOutbox(const QString &outbox)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (const QFileInfo &folder : QDir(outbox).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (folder.lastModified().secsTo(now) > kOutboxKeepSeconds)
            QDir(folder.absoluteFilePath()).removeRecursively();
}

// Runs the hand-over command; empty when the mail program took the message, else why not
// (with the last line xdg-email printed, which names what it missed).
QString handOver(const QString &program, const QString &attachment)
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments({QStringLiteral("--utf8"), QStringLiteral("--subject"), kMailSubject,
        QStringLiteral("--body"), kMailBody, QStringLiteral("--attach"), attachment});
    process->setStandardInputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(kStartWaitMs))
        return QStringLiteral("%1 could not be started: %2").arg(program, process->errorString());
    if (!process->waitForFinished(kHandOverWaitMs)) {
        // Still running: the mail program is up. Deleting the QProcess would kill it.
        process.release();
        return {};
    }
    if (process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0)
        return {};
    const QString said = QString::fromLocal8Bit(process->readAllStandardError()).trimmed().section('\n', -1);
    return QStringLiteral("%1 ended with code %2%3")
        .arg(program)
        .arg(process->exitCode())
        .arg(said.isEmpty() ? QString() : QStringLiteral(": ") + said);
}

MailResult sendOrDraft(const QString &program, const QString &documents, const QString &outbox, const Picture &picture)
{
    MailResult result;
    // The user waits on this: the album's fast setting, deflated in strips on every core.
    const QByteArray png = encodePngStrips(picture, kFastPngCompression);
    if (png.isEmpty()) {
        result.error = QStringLiteral("There is no picture to send");
        return result;
    }

    tidyOutbox(outbox);
    const QString folder = QStringLiteral("%1/%2-%3")
                               .arg(outbox, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")))
                               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QString attachment = folder + '/' + kMailAttachmentName;
    QString reason;
    if (!QDir().mkpath(folder) || !writeFileAtomically(attachment, png))
        reason = QStringLiteral("The picture could not be written into %1").arg(folder);
    else
        reason = handOver(program, attachment);
    if (reason.isEmpty()) {
        result.outcome = MailResult::Outcome::ComposerOpened;
        return result;
    }

    QDir().mkpath(documents);
    const QByteArray draft = mailDraft(kMailSubject, kMailBody, png, kMailAttachmentName, QDateTime::currentDateTime());
    const NewFile written = writeNewFile(documents, kDraftName, draft);
    if (!written.error.isEmpty()) {
        result.error = reason + QStringLiteral("; ") + written.error;
        return result;
    }
    result.outcome = MailResult::Outcome::DraftWritten;
    result.draftPath = written.path;
    result.error = reason;
    return result;
}
} // namespace

QByteArray mailDraft(const QString &subject, const QString &body, const QByteArray &png, const QString &attachmentName,
    const QDateTime &date)
{
    const QByteArray boundary = "=_vimora_" + QByteArray::number(QRandomGenerator::global()->generate64(), 16);
    const QByteArray name = attachmentName.toUtf8();
    QByteArray text = body.toUtf8();
    text.replace("\r\n", "\n").replace("\n", "\r\n");

    QByteArray out;
    out += crlf("MIME-Version: 1.0");
    out += crlf("Date: " + rfc5322Date(date));
    out += crlf("Subject: =?UTF-8?B?" + subject.toUtf8().toBase64() + "?=");
    out += crlf("X-Unsent: 1");
    out += crlf("Content-Type: multipart/mixed; boundary=\"" + boundary + '"');
    out += crlf("");
    out += crlf("--" + boundary);
    out += crlf("Content-Type: text/plain; charset=UTF-8");
    out += crlf("Content-Transfer-Encoding: 8bit");
    out += crlf("");
    out += crlf(text);
    out += crlf("--" + boundary);
    out += crlf("Content-Type: image/png; name=\"" + name + '"');
    out += crlf("Content-Disposition: attachment; filename=\"" + name + '"');
    out += crlf("Content-Transfer-Encoding: base64");
    out += crlf("");
    const QByteArray encoded = png.toBase64();
    for (qsizetype i = 0; i < encoded.size(); i += kBase64LineLength)
        out += crlf(encoded.mid(i, kBase64LineLength));
    out += crlf("--" + boundary + "--");
    return out;
}

MailComposer::MailComposer(QString program, QString documents, QString outbox)
    : m_program(std::move(program))
    , m_documents(std::move(documents))
    , m_outbox(std::move(outbox))
{ }

MailComposer::~MailComposer() = default;

void MailComposer::waitForHandOvers()
{
    m_worker.waitForWork();
}

void MailComposer::emailMe(const Picture &picture, std::function<void(const MailResult &)> done)
{
    const QString documents = m_documents.isEmpty() ? AppHome::documentsDir() : m_documents;
    const QString outbox = m_outbox.isEmpty() ? AppHome::root() + QStringLiteral("/Outbox") : m_outbox;
    m_worker.run<MailResult>(
        [program = m_program, documents, outbox, picture] {
            // A hand-over that throws still answers, so the user is told and nothing waits on it.
            try {
                return sendOrDraft(program, documents, outbox, picture);
            } catch (const std::exception &e) {
                MailResult failed;
                failed.error = QStringLiteral("The picture could not be handed to mail: %1").arg(QString::fromLocal8Bit(e.what()));
                return failed;
            } catch (...) {
                MailResult failed;
                failed.error = QStringLiteral("The picture could not be handed to mail.");
                return failed;
            }
        },
        std::move(done));
}

} // namespace vimora
