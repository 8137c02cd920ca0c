#include "fx_batch.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "imaging/codec.h"

namespace vimora::fx {

std::optional<std::vector<BatchItem>> planBatch(const QStringList &inputs, const QString &dir, QString *error)
{
    auto fail = [&](const QString &why) -> std::optional<std::vector<BatchItem>> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    std::vector<BatchItem> items;
    QHash<QString, QString> inputOf; // canonical output -> the input writing it
    const QDir out(dir);
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        const QString suffix = info.suffix().toLower();
        const bool jpeg = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
        const QString output = out.filePath(info.completeBaseName() + (jpeg ? QStringLiteral(".jpg") : QStringLiteral(".png")));
        const QString key = QFileInfo(output).absoluteFilePath();
        if (key == info.absoluteFilePath())
            return fail(QStringLiteral("'%1' would be replaced by its own result: choose another -o folder").arg(input));
        if (const auto it = inputOf.constFind(key); it != inputOf.constEnd())
            return fail(QStringLiteral("'%1' and '%2' would both be written to '%3'").arg(*it, input, output));
        inputOf.insert(key, input);
        items.push_back({input, output});
    }
    return items;
}

std::pair<QStringList, QStringList> splitParametersAndInputs(const Operation &operation, const QStringList &words)
{
    qsizetype at = 0;
    for (; at < words.size(); ++at) {
        const qsizetype eq = words[at].indexOf(QLatin1Char('='));
        if (eq <= 0 || !operation.param(words[at].left(eq).trimmed().toStdString()))
            break;
    }
    return {words.mid(0, at), words.mid(at)};
}

namespace {

QString runOne(const BatchItem &item, const Operation &operation, const Arguments &arguments)
{
    const PictureRead read = readPictureChecked(item.input);
    if (read.failure == ReadFailure::TooLarge)
        return pictureTooLargeMessage(read.size);
    if (read.picture.isNull())
        return QStringLiteral("cannot read the picture");
    const Picture output = operation.run(read.picture, arguments);
    if (output.isNull())
        return QStringLiteral("%1 produced no picture").arg(QString::fromStdString(operation.name));
    QString error;
    qint64 clamped = 0;
    if (!writeOutput(output, item.output, &error, &clamped))
        return error;
    return {};
}

} // namespace

int runBatch(const std::vector<BatchItem> &items, const Operation &operation, const Arguments &arguments, int jobs,
             const BatchProgress &progress)
{
    std::atomic<size_t> next{0};
    std::mutex told;
    int done = 0, failures = 0;
    const int total = int(items.size());
    auto work = [&] {
        for (size_t i = next++; i < items.size(); i = next++) {
            QString error;
            try {
                error = runOne(items[i], operation, arguments);
            } catch (const std::exception &e) {
                // Out of memory on one huge input: the others still run.
                error = QString::fromLocal8Bit(e.what());
            }
            std::lock_guard lock(told);
            ++done;
            if (!error.isEmpty())
                ++failures;
            if (progress)
                progress(done, total, items[i], error);
        }
    };
    const int threads = std::clamp(jobs, 1, std::max(1, total));
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread &thread : pool)
        thread.join();
    return failures;
}

QString progressBar(int done, int total, int width)
{
    const int filled = total > 0 ? int(qint64(width) * std::clamp(done, 0, total) / total) : width;
    const int digits = int(QString::number(total).size());
    return QStringLiteral("[%1%2] %3/%4")
        .arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char('.')))
        .arg(done, digits)
        .arg(total);
}

QString describe(const Operation &operation)
{
    QString out = QStringLiteral("%1 (%2): %3\n")
                      .arg(QString::fromStdString(operation.name), QString::fromStdString(operation.family),
                           QString::fromStdString(operation.description));
    if (operation.params.empty())
        return out + QStringLiteral("  no parameters\n");
    for (const OperationParam &p : operation.params) {
        const QString value = p.required ? QStringLiteral("FILE (required)") : QString::fromStdString(p.fallback);
        out += QStringLiteral("  %1=%2  [%3] %4\n")
                   .arg(QString::fromStdString(p.name), value, kindName(p.kind), QString::fromStdString(p.description));
    }
    return out;
}

} // namespace vimora::fx
