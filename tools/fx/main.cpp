// vimora-fx: applies one picture operation of src/imaging to picture files.
//   vimora-fx INPUT OUTPUT OPERATION [name=value ...] [--repeat N]
//   vimora-fx -o DIR [-j N] OPERATION [name=value ...] INPUT...
//   vimora-fx --list | --help [OPERATION]
#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include "fx_batch.h"
#include "fx_operations.h"
#include "imaging/codec.h"

using namespace vimora;

namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 1;

void printUsage(FILE *to)
{
    std::fputs("usage: vimora-fx INPUT OUTPUT OPERATION [name=value ...] [--repeat N]\n"
               "       vimora-fx -o DIR [-j N] OPERATION [name=value ...] INPUT...\n"
               "       vimora-fx --list\n"
               "       vimora-fx --help [OPERATION]\n"
               "Applies OPERATION to the picture INPUT and writes OUTPUT as PNG (JPEG for .jpg);\n"
               "blends take their second picture as a parameter (or as one bare file name).\n"
               "\n"
               "Options:\n"
               "  -o DIR       Apply OPERATION to every INPUT, writing each result into DIR under\n"
               "               the input's name (.jpg for a JPEG input, .png otherwise); a bar\n"
               "               shows the progress on a terminal.\n"
               "  -j N         With -o, work on N inputs at once (default 1).\n"
               "  --repeat N   Run the operation N times and report the median time.\n"
               "  --list       List every operation with its parameters and their defaults.\n"
               "  --help       Show this help; --help OPERATION shows that operation's parameters.\n",
               to);
}

int fail(int code, const QString &message)
{
    std::fprintf(stderr, "vimora-fx: %s\n", qPrintable(message));
    return code;
}

// Takes "NAME VALUE" out of words; the value, or nothing when NAME is absent. A missing value
// is an empty string.
std::optional<QString> takeOption(QStringList &words, const QString &name)
{
    const qsizetype at = words.indexOf(name);
    if (at < 0)
        return std::nullopt;
    const QString value = at + 1 < words.size() ? words[at + 1] : QString();
    words.remove(at, at + 1 < words.size() ? 2 : 1);
    return value;
}

// -o DIR: every input through the operation into DIR, up to jobs at once.
int runIntoFolder(const QString &dir, int jobs, const QStringList &words)
{
    if (words.isEmpty()) {
        printUsage(stderr);
        return kUsageError;
    }
    const fx::Operation *operation = fx::findOperation(words[0].toStdString());
    if (!operation)
        return fail(kUsageError, QStringLiteral("unknown operation '%1' (see vimora-fx --list)").arg(words[0]));
    const auto [parameters, inputs] = fx::splitParametersAndInputs(*operation, words.mid(1));
    if (inputs.isEmpty())
        return fail(kUsageError, QStringLiteral("-o needs at least one INPUT after the operation"));
    QString error;
    const std::optional<fx::Arguments> args = fx::parseArguments(*operation, parameters, &error);
    if (!args)
        return fail(kUsageError, error);
    const std::optional<std::vector<fx::BatchItem>> items = fx::planBatch(inputs, dir, &error);
    if (!items)
        return fail(kUsageError, error);
    if (!QDir().mkpath(dir))
        return fail(kFailure, QStringLiteral("cannot create the folder '%1'").arg(dir));

    // A bar redrawn in place on a terminal; a line a picture where the output is kept.
    const bool terminal = isatty(fileno(stderr));
    constexpr int kBarWidth = 30;
    const int failures = fx::runBatch(*items, *operation, *args, jobs, [&](int done, int total, const fx::BatchItem &item,
                                                                          const QString &why) {
        if (terminal)
            std::fputs("\r\033[K", stderr);
        if (!why.isEmpty())
            std::fprintf(stderr, "vimora-fx: '%s': %s\n", qPrintable(item.input), qPrintable(why));
        else if (!terminal)
            std::printf("%s -> %s\n", qPrintable(item.input), qPrintable(item.output));
        if (terminal)
            std::fprintf(stderr, "%s %s%s", qPrintable(fx::progressBar(done, total, kBarWidth)),
                         qPrintable(QFileInfo(item.input).fileName()), done == total ? "\n" : "");
        std::fflush(stdout);
        std::fflush(stderr);
    });
    if (failures > 0)
        return fail(kFailure, QStringLiteral("%1 of %2 pictures failed").arg(failures).arg(items->size()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList words = app.arguments().mid(1);

    for (const QString &help : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const std::optional<QString> topic = takeOption(words, help);
        if (!topic)
            continue;
        if (topic->isEmpty()) {
            printUsage(stdout);
            return 0;
        }
        const fx::Operation *operation = fx::findOperation(topic->toStdString());
        if (!operation)
            return fail(kUsageError, QStringLiteral("unknown operation '%1' (see vimora-fx --list)").arg(*topic));
        std::fputs(qPrintable(fx::describe(*operation)), stdout);
        return 0;
    }
    if (words.size() == 1 && words.front() == "--list") {
        std::fputs(qPrintable(fx::listing()), stdout);
        return 0;
    }

    const std::optional<QString> folder = takeOption(words, QStringLiteral("-o"));
    const std::optional<QString> jobsText = takeOption(words, QStringLiteral("-j"));
    int jobs = 1;
    if (jobsText) {
        bool ok = false;
        jobs = jobsText->toInt(&ok);
        if (!ok || jobs < 1)
            return fail(kUsageError, "-j needs a positive count");
        if (!folder)
            return fail(kUsageError, "-j works with -o DIR");
    }
    if (folder) {
        if (folder->isEmpty())
            return fail(kUsageError, "-o needs a folder");
        if (words.contains("--repeat"))
            return fail(kUsageError, "--repeat times one picture: it does not go with -o");
        return runIntoFolder(*folder, jobs, words);
    }

    int repeat = 1;
    if (const qsizetype at = words.indexOf("--repeat"); at >= 0) {
        bool ok = false;
        repeat = at + 1 < words.size() ? words[at + 1].toInt(&ok) : 0;
        if (!ok || repeat < 1)
            return fail(kUsageError, "--repeat needs a positive count");
        words.remove(at, 2);
    }
    if (words.size() < 3) {
        printUsage(stderr);
        return kUsageError;
    }

    const QString inputPath = words[0], outputPath = words[1];
    const std::string name = words[2].toStdString();
    const fx::Operation *operation = fx::findOperation(name);
    if (!operation)
        return fail(kUsageError, QStringLiteral("unknown operation '%1' (see vimora-fx --list)").arg(words[2]));
    QString error;
    const std::optional<fx::Arguments> args = fx::parseArguments(*operation, words.mid(3), &error);
    if (!args)
        return fail(kUsageError, error);

    const PictureRead read = readPictureChecked(inputPath);
    const Picture &input = read.picture;
    if (read.failure == ReadFailure::TooLarge)
        return fail(kFailure, QStringLiteral("'%1': %2").arg(inputPath, pictureTooLargeMessage(read.size)));
    if (input.isNull())
        return fail(kFailure, QStringLiteral("cannot read picture '%1'").arg(inputPath));

    Picture output;
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer timer;
        timer.start();
        // An operation that cannot give a picture says why.
        try {
            output = operation->run(input, *args);
        } catch (const std::exception &e) {
            return fail(kFailure, QStringLiteral("%1: %2").arg(words[2], QString::fromUtf8(e.what())));
        }
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    if (output.isNull())
        return fail(kFailure, QStringLiteral("%1 produced no picture").arg(words[2]));

    qint64 clamped = 0;
    if (!fx::writeOutput(output, outputPath, &error, &clamped))
        return fail(kFailure, error);
    if (clamped > 0)
        std::fprintf(stderr, "vimora-fx: %lld colour samples above their alpha were clamped for PNG\n",
                     static_cast<long long>(clamped));
    std::printf("%s: %dx%d -> %dx%d in %.2f ms%s\n", name.c_str(), input.pixelWidth(), input.pixelHeight(),
                output.pixelWidth(), output.pixelHeight(), times[times.size() / 2],
                repeat > 1 ? qPrintable(QStringLiteral(" (median of %1)").arg(repeat)) : "");
    return 0;
}
