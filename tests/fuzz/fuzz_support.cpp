#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/app_home.h"
#include "platform/log.h"

namespace vimora::fuzz {

namespace {
QString g_scratch;
}

void initialise(int *argc, char ***argv)
{
    if (!g_scratch.isEmpty())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept for the process: the fuzzer ends with exit(), never returning through main.
    static int count = argc ? *argc : 0;
    static QCoreApplication *app = new QCoreApplication(count, argv ? *argv : nullptr);
    (void)app;
    static std::unique_ptr<QTemporaryDir> home = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/vimora-fuzz-XXXXXX");
    if (!home->isValid())
        fail("a scratch folder can be made");
    g_scratch = home->path();
    AppHome::setRoot(g_scratch);
    if (!AppHome::ensureFolders())
        fail("the scratch home's folders can be made");
    // A damaged file makes the codecs and the readers log; millions of lines help no one.
    setLogSink([](const QString &) {});
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

QString scratchFolder()
{
    return g_scratch;
}

QString writeScratchFile(const QString &name, const QByteArray &bytes)
{
    const QString path = g_scratch + '/' + name;
    writeFile(path, bytes);
    return path;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("the scratch file can be written");
}

void fail(std::string_view rule)
{
    std::fprintf(stderr, "fuzz rule broken: %.*s\n", int(rule.size()), rule.data());
    std::fflush(stderr);
    std::abort();
}

std::uint32_t Reader::word()
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = (v << 8) | byte();
    return v;
}

long long Reader::between(long long lo, long long hi)
{
    if (hi <= lo)
        return lo;
    const unsigned long long span = static_cast<unsigned long long>(hi - lo) + 1;
    // One byte for small spans keeps nearby inputs nearby; four for the rest.
    const std::uint32_t raw = span <= 256 ? byte() : word();
    return lo + static_cast<long long>(raw % span);
}

double Reader::real(double lo, double hi)
{
    return lo + (hi - lo) * (double(word()) / 4294967295.0);
}

} // namespace vimora::fuzz
