// The running application: the window per device profile, and the termination clean-up
// when the window closes or a termination signal arrives.
#include <gtest/gtest.h>

#include <csignal>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <QKeyEvent>

#include "app/application_shell.h"
#include "app/command_line.h"
#include "app/launch.h"
#include "app/rotate_me.h"
#include "app/top.h"
#include "app/vimora_app_delegate.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/settings.h"
#include "platform/log.h"
#include "support/stderr_capture.h"
#include "support/temp_home.h"

using namespace vimora;

namespace {

class ShellTest : public testing::Test
{
protected:
    void TearDown() override
    {
        Device::setCameraAvailable(std::nullopt);
        Device::setProfile(DeviceProfile::Tablet);
    }
    void leaveWorkingFiles()
    {
        for (const char *name : {"Tem.png", "B1234.jpg", "D4321.jpg"}) {
            QFile f(AppHome::tempDir() + '/' + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("x");
        }
    }
    QStringList tmpEntries() { return QDir(AppHome::tempDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

    test::TempHome home;
};

} // namespace

TEST_F(ShellTest, WindowHasTheProfilesScreenAndTheHomeScreen)
{
    ApplicationShell shell(DeviceProfile::Phone480);
    EXPECT_EQ(shell.host().widget()->size(), QSize(320, 480));
    EXPECT_EQ(Device::profile(), DeviceProfile::Phone480);
    EXPECT_FALSE(shell.delegate().rotateLa()->top().categoryButton(0)->isEnabled());
    EXPECT_EQ(Settings::shared().stringForKey("ButtonBack"), "HIDE");
}

TEST_F(ShellTest, EachProfileRemembersItsWindowSize)
{
    {
        ApplicationShell phone(DeviceProfile::Phone480);
        phone.show();
        phone.host().widget()->resize(240, 360);
    }
    ApplicationShell again(DeviceProfile::Phone480);
    const QSize remembered = again.host().windowSize();
    ApplicationShell tablet(DeviceProfile::Tablet);

    EXPECT_EQ(remembered, QSize(240, 360));
    EXPECT_EQ(tablet.host().windowSize(), tablet.host().bestWindowSize());
}

TEST_F(ShellTest, ClosingTheWindowRunsTheCleanUp)
{
    ApplicationShell shell(DeviceProfile::Tablet);
    shell.show();
    leaveWorkingFiles();
    Settings::shared().setString("iTunes", "NO");
    QFile doc(AppHome::documentsDir() + "/kept.png");
    ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
    doc.close();

    QTimer::singleShot(0, shell.host().widget(), [&shell] { shell.host().widget()->close(); });
    QApplication::exec();

    EXPECT_TRUE(tmpEntries().isEmpty()) << tmpEntries().join(", ").toStdString();
    EXPECT_TRUE(QFile::exists(AppHome::documentsDir() + "/kept.png"));
}

TEST_F(ShellTest, CtrlQQuitsWithTheCleanUp)
{
    ApplicationShell shell(DeviceProfile::Tablet);
    shell.show();
    leaveWorkingFiles();

    QTimer::singleShot(0, shell.host().widget(), [&shell] {
        QKeyEvent ctrlQ(QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier);
        QApplication::sendEvent(shell.host().widget(), &ctrlQ);
    });
    QApplication::exec();

    EXPECT_TRUE(tmpEntries().isEmpty()) << tmpEntries().join(", ").toStdString();
}

TEST_F(ShellTest, InternalLinesGoToTheHomesLogFileAndToStandardErrorOnlyWhenVerbose)
{
    const QString path = logFileIn(AppHome::root());
    {
        test::StderrCapture err;
        startLogging(false);
        ApplicationShell shell(DeviceProfile::Tablet);
        EXPECT_EQ(err.text(), QByteArray());
    }
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(logFilePath(), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray lines = file.readAll();
    EXPECT_TRUE(lines.contains("typeStr:HIDE\n")) << lines.toStdString();
    EXPECT_TRUE(lines.contains("statusBarOrientation: portrait\n"));

    test::StderrCapture err;
    startLogging(CommandLine::parse({"vimora", "--verbose"}, std::nullopt).verbose());
    logLine("topOrButtom:2");
    EXPECT_EQ(err.text(), QByteArray("topOrButtom:2\n"));
    qInstallMessageHandler(nullptr);
    setLogToStandardError(false);
    setLogFile({});
}

TEST_F(ShellTest, ATerminationSignalRunsTheCleanUp)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        ApplicationShell shell(DeviceProfile::Phone568);
        shell.show();
        leaveWorkingFiles();

        QTimer::singleShot(0, shell.host().widget(), [signal] { std::raise(signal); });
        QApplication::exec();

        EXPECT_TRUE(tmpEntries().isEmpty()) << "signal " << signal;
    }
}
