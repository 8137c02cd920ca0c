#pragma once

// Several inputs through one operation into a folder (vimora-fx -o DIR -j N): where each
// result goes, the runs on a few threads, and the progress line for a terminal.

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include "fx_operations.h"

namespace vimora::fx {

struct BatchItem
{
    QString input;
    QString output;
};

/// Where each input's result goes in dir: its base name, .jpg for a JPEG input and .png for
/// any other. Refuses (nothing, and why in *error) two inputs that would write one file and a
/// result that would replace its own input: either would lose a picture.
std::optional<std::vector<BatchItem>> planBatch(const QStringList &inputs, const QString &dir, QString *error);

/// The words after the operation: the leading name=value words that name one of its
/// parameters, then the inputs.
std::pair<QStringList, QStringList> splitParametersAndInputs(const Operation &operation, const QStringList &words);

/// Told after each item, one call at a time: how many are done of how many, the item, and
/// what went wrong with it (empty when its result was written).
using BatchProgress = std::function<void(int done, int total, const BatchItem &item, const QString &error)>;

/// Runs the operation over every item on up to jobs threads. A failed item does not stop the
/// others. Returns the number of failures.
int runBatch(const std::vector<BatchItem> &items, const Operation &operation, const Arguments &arguments, int jobs,
             const BatchProgress &progress);

/// "[#######.............]  3/10" with width cells.
QString progressBar(int done, int total, int width);

/// One operation's entry of the listing: its name, family, description and parameters.
QString describe(const Operation &operation);

} // namespace vimora::fx
