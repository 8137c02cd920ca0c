// From a touch to the frame that shows its result, for every control of the editor and the
// compositor, on the real photo: an exploration of the walks' driver taps each control it
// finds in turn on the headless host; the time runs from the tap through the screen's own
// work and the background work it started (settled as the walks settle it) to the rendered
// frame. Prints, per control, the taps seen, the median and the 95th percentile, slowest first.
//
//     PEERBENCH_DIR=/tmp/peerbench build/bench/bench_interaction [editor steps] [compositor steps]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

#include <QCoreApplication>
#include <QString>

#include "app/random_walk.h"
#include "bench_data.h"
#include "support/temp_home.h"
#include "ui/headless_host.h"

using namespace vimora;

namespace {

using Clock = std::chrono::steady_clock;

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

} // namespace

int main(int argc, char **argv)
{
    bench::offscreenApplication("bench_interaction");
    const int editorSteps = argc > 1 ? std::atoi(argv[1]) : 300;
    const int compositorSteps = argc > 2 ? std::atoi(argv[2]) : 120;
    test::TempHome home;

    std::map<QString, std::vector<double>> times; // "screen: tap X" -> ms
    QString pending;
    Clock::time_point touched;
    test::RandomWalk walk(DeviceProfile::Tablet);
    walk.setPickedPhoto(bench::benchPhoto());
    walk.setStepObserver([&](const QString &step) {
        pending = step.startsWith(QLatin1String("tap ")) ? step : QString();
        touched = Clock::now();
    });
    const auto inspect = [&](ui::HeadlessHost &host, const QString &screen) {
        if (pending.isEmpty())
            return;
        host.render(); // the frame that shows the result
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - touched).count();
        if (screen == QLatin1String("editor") || screen == QLatin1String("compositor"))
            times[screen + QStringLiteral(": ") + pending.mid(4)].push_back(ms);
        pending.clear();
    };
    walk.explore(editorSteps, false, inspect);
    walk.explore(compositorSteps, false, inspect, {QStringLiteral("\"photo\""), QStringLiteral("\"saved picture\"")},
                 QStringLiteral("compositor"));

    struct Row { QString control; size_t taps; double median, p95; };
    std::vector<Row> rows;
    for (const auto &[control, ms] : times)
        rows.push_back({control, ms.size(), percentile(ms, 0.5), percentile(ms, 0.95)});
    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.p95 > b.p95; });
    std::printf("| Control (screen: tapped) | Taps | Median ms | p95 ms | Under 100 ms |\n|---|---|---|---|---|\n");
    for (const Row &r : rows)
        std::printf("| %s | %zu | %.1f | %.1f | %s |\n", qPrintable(r.control), r.taps, r.median, r.p95,
                    r.p95 < 100 ? "yes" : "no");
    return 0;
}
