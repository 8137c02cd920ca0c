#include "app/launch.h"

#include <cstdio>

#include <QApplication>

#include "app/application_shell.h"
#include "platform/app_home.h"
#include "platform/log.h"

namespace vimora {

QString logFileIn(const QString &home)
{
    return home + QStringLiteral("/vimora.log");
}

void startLogging(const QStringList &arguments)
{
    const bool verbose = arguments.contains(QStringLiteral("--verbose"));
    setLogToStandardError(verbose);
    AppHome::ensureFolders();
    const QString path = logFileIn(AppHome::root());
    // Without a log file and without --verbose a failure would go unseen: say it once.
    if (!setLogFile(path) && !verbose)
        std::fprintf(stderr, "vimora: cannot write the log file %s\n", qPrintable(path));
    routeQtMessagesToLog();
}

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vimora"));
    startLogging(QApplication::arguments());
    ApplicationShell shell(ui::deviceProfileFromArguments(QApplication::arguments()));
    shell.show();
    return app.exec();
}

} // namespace vimora
