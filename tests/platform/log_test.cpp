// The log file: it turns over at its limit, takes Qt's own warnings, and an unwritable
// path is reported.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/log.h"
#include "support/stderr_capture.h"

using namespace vimora;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class LogTest : public testing::Test
{
protected:
    void TearDown() override
    {
        setLogFile({});
        setLogToStandardError(false);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(LogTest, TheFileTurnsOverBeforeItPassesItsLimit)
{
    const QString path = dir.filePath(QStringLiteral("vimora.log"));
    const qint64 limit = 1000;
    ASSERT_TRUE(setLogFile(path, limit));
    for (int i = 0; i < 500; ++i)
        logLine(QStringLiteral("line %1").arg(i, 4, 10, QLatin1Char('0')));

    const QByteArray now = contents(path);
    const QByteArray previous = contents(path + QStringLiteral(".1"));
    EXPECT_LE(now.size(), limit);
    EXPECT_LE(previous.size(), limit);
    EXPECT_GT(previous.size(), limit - 20);
    EXPECT_TRUE(now.endsWith("line 0499\n"));
    // Nothing lost between the two files: the old one ends where the new one starts.
    const int firstNow = now.mid(5, 4).toInt();
    EXPECT_TRUE(previous.endsWith(QStringLiteral("line %1\n").arg(firstNow - 1, 4, 10, QLatin1Char('0')).toUtf8()));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".2")));
}

TEST_F(LogTest, QtWarningsJoinTheLogAndAnUnwritableFileIsReported)
{
    const QString path = dir.filePath(QStringLiteral("vimora.log"));
    ASSERT_TRUE(setLogFile(path));
    routeQtMessagesToLog();
    {
        test::StderrCapture err;
        qWarning("Premature end of JPEG file");
        EXPECT_EQ(err.text(), QByteArray());
    }
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(contents(path), QByteArray("Premature end of JPEG file\n"));

    EXPECT_FALSE(setLogFile(dir.filePath(QStringLiteral("no/such/folder/vimora.log"))));
    logLine(QStringLiteral("goes nowhere, harmlessly"));
}
