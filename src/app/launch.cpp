#include "app/launch.h"

#include <QApplication>
#include <QWidget>

#include "platform/app_home.h"
#include "store/cleanup.h"

namespace vimora {

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vimora"));
    AppHome::ensureFolders();

    // The application shell replaces this window; until then it opens at the tablet size.
    QWidget window;
    window.setWindowTitle(QStringLiteral("Vimora"));
    window.resize(768, 1024);
    window.show();

    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] { terminationCleanup(); });
    return app.exec();
}

} // namespace vimora
