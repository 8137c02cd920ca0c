// E-mail: the hand-over to a stand-in xdg-email, and the .eml draft read back by Python's
// email package.
#include <optional>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "imaging/codec.h"
#include "store/mail.h"
#include "support/pixel_compare.h"

using namespace vimora;

namespace {

// Reads a draft with the standard library's parser and prints what a mail program would see;
// the attachment's decoded bytes go to the file named second.
const char *const kReadDraft = R"(
import sys, email, email.policy
with open(sys.argv[1], 'rb') as f:
    msg = email.message_from_binary_file(f, policy=email.policy.default)
print('defects:%d' % len(msg.defects))
print('subject:[%s]' % msg['Subject'])
body = msg.get_body(preferencelist=('plain',))
print('body:[%s]' % body.get_content().rstrip('\r\n'))
atts = list(msg.iter_attachments())
print('attachments:%d' % len(atts))
for a in atts:
    print('attachment:%s %s' % (a.get_filename(), a.get_content_type()))
    with open(sys.argv[2], 'wb') as out:
        out.write(a.get_content())
)";

class MailTest : public ::testing::Test
{
protected:
    void SetUp() override { m_path = qgetenv("PATH"); }
    void TearDown() override { qputenv("PATH", m_path); }

    /// A stand-in xdg-email that records its arguments, one a line, and exits with code.
    QString fakeMailProgram(int code)
    {
        QDir().mkpath(bin());
        QFile script(bin() + "/xdg-email");
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1'\n"
                                    "[ %2 -eq 0 ] || echo 'no mail program' >&2\nexit %2\n")
                         .arg(argsFile())
                         .arg(code)
                         .toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", (bin() + ":/usr/bin:/bin").toUtf8());
        return bin() + "/xdg-email";
    }

    MailResult send(const Picture &picture)
    {
        MailComposer composer(QStringLiteral("xdg-email"), documents(), root.path() + "/Outbox");
        std::optional<MailResult> result;
        composer.emailMe(picture, [&](const MailResult &r) { result = r; });
        composer.waitForHandOvers();
        for (int i = 0; i < 1000 && !result; ++i) {
            QCoreApplication::processEvents();
            if (!result)
                QThread::msleep(2);
        }
        EXPECT_TRUE(result.has_value());
        return result.value_or(MailResult{});
    }

    QString python3() const { return QStandardPaths::findExecutable("python3", QString::fromLocal8Bit(m_path).split(':')); }
    QString bin() const { return root.path() + "/bin"; }
    QString argsFile() const { return root.path() + "/args.txt"; }
    QString documents() const { return root.path() + "/Documents"; }

    QTemporaryDir root;
    QByteArray m_path;
    Picture photo{test::positionCoded(7, 5)};
};

TEST_F(MailTest, MailProgramGetsSubjectBodyAndThePictureAsPhotoPng)
{
    fakeMailProgram(0);

    const MailResult result = send(photo);

    EXPECT_EQ(result.outcome, MailResult::Outcome::ComposerOpened) << result.error.toStdString();
    QFile args(argsFile());
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(args.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7) << lines.join('|').toStdString();
    EXPECT_EQ(lines.mid(1, 5), (QStringList{"--subject", " My Photo", "--body", "My Photo today", "--attach"}));
    EXPECT_TRUE(lines[6].endsWith("/Photo.png"));
    EXPECT_TRUE(test::imagesEqual(readPicture(lines[6]).bitmap(), photo.bitmap()));
    EXPECT_FALSE(QDir(documents()).exists() && !QDir(documents()).isEmpty())
        << "no draft when the mail program took it";
}

TEST_F(MailTest, WithoutAMailProgramADraftIsWrittenThatParsesBack)
{
    for (const bool installed : {true, false}) {
        QDir(documents()).removeRecursively();
        if (installed)
            fakeMailProgram(3); // xdg-email: a required tool could not be found
        else
            qputenv("PATH", (root.path() + "/empty").toUtf8());

        const MailResult result = send(photo);

        ASSERT_EQ(result.outcome, MailResult::Outcome::DraftWritten) << result.error.toStdString();
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_TRUE(result.draftPath.startsWith(documents())) << result.draftPath.toStdString();
        EXPECT_TRUE(result.draftPath.endsWith(".eml"));

        QTemporaryDir scratch;
        QFile script(scratch.filePath("read.py"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(kReadDraft);
        script.close();
        QProcess python;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", QString::fromLocal8Bit(m_path));
        python.setProcessEnvironment(environment);
        python.start(python3(), {script.fileName(), result.draftPath, scratch.filePath("att.png")});
        ASSERT_TRUE(python.waitForFinished(60000));
        ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        const QStringList seen = QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(seen,
            (QStringList{"defects:0", "subject:[ My Photo]", "body:[My Photo today]", "attachments:1",
                "attachment:Photo.png image/png"}));
        EXPECT_TRUE(test::imagesEqual(readPicture(scratch.filePath("att.png")).bitmap(), photo.bitmap()));
    }
}

TEST_F(MailTest, SecondDraftDoesNotReplaceTheFirst)
{
    fakeMailProgram(4);

    const MailResult first = send(photo);
    const MailResult second = send(photo);

    EXPECT_NE(first.draftPath, second.draftPath);
    EXPECT_TRUE(QFile::exists(first.draftPath));
    EXPECT_TRUE(QFile::exists(second.draftPath));
}

} // namespace
