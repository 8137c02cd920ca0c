// vimora-fx: applies one picture operation of src/imaging to a picture file.
//   vimora-fx INPUT OUTPUT OPERATION [name=value ...] [--repeat N]
//   vimora-fx --list
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "fx_operations.h"
#include "imaging/codec.h"

using namespace vimora;

namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 1;

void printUsage(FILE *to)
{
    std::fputs("usage: vimora-fx INPUT OUTPUT OPERATION [name=value ...] [--repeat N]\n"
               "       vimora-fx --list\n"
               "Applies OPERATION to the picture INPUT and writes OUTPUT as PNG (JPEG for .jpg);\n"
               "blends take their second picture as a parameter (or as one bare file name).\n"
               "--repeat N runs the operation N times and reports the median time.\n",
               to);
}

int fail(int code, const QString &message)
{
    std::fprintf(stderr, "vimora-fx: %s\n", qPrintable(message));
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList words = app.arguments().mid(1);

    if (words.contains("--help") || words.contains("-h")) {
        printUsage(stdout);
        return 0;
    }
    if (words.size() == 1 && words.front() == "--list") {
        std::fputs(qPrintable(fx::listing()), stdout);
        return 0;
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
        output = operation->run(input, *args);
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
