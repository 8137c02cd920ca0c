// A QApplication for the tests that show views (text needs a GUI application; the window host needs
// widgets), on the offscreen platform unless the caller chose another.

#include <QApplication>

#include <gtest/gtest.h>

namespace {

class QtEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "vimora-tests";
        static char *argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication *m_app = nullptr;
};

[[maybe_unused]] testing::Environment *const g_environment = testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
