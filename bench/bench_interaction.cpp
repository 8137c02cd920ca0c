// From a touch to the frame that shows its result, for every control of the editor and the
// compositor, on the real photo: an exploration of the walks' driver taps each control it
// finds in turn on the headless host. Each tap is timed twice: to the first frame after the
// touch's own handling (the screen answering: a spinner, a panel, a notice) and through the
// background work it started (settled as the walks settle it) to the frame that shows it.
// Along the way, on every screen reached, the drags and pinches it offers (the cut-out piece,
// the crop rectangle and its corners, text layers, the panels' sliders, the compositor's
// layers) are made move by move, each move timed to the frame that shows it.
// Prints, per control and per gesture, the samples, the median and the 95th percentile.
//
//     PEERBENCH_DIR=/tmp/peerbench build/bench/bench_interaction [editor steps] [compositor steps]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <vector>

#include <QCoreApplication>
#include <QLineF>
#include <QString>

#include "app/launch.h"
#include "app/random_walk.h"
#include "bench_data.h"
#include "editor/edge_expansion.h"
#include "editor/view_tags.h"
#include "support/temp_home.h"
#include "ui/button.h"
#include "ui/control.h"
#include "ui/headless_host.h"
#include "ui/label.h"
#include "ui/pan_recognizer.h"
#include "ui/pinch_recognizer.h"
#include "ui/slider.h"

using namespace vimora;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// This thread's own time: what a move costs the UI thread, whatever else the machine runs.
double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

// The editor's named tags, for controls that show a picture instead of a title.
QString tagName(int tag)
{
    switch (tag) {
    // The only untitled control with this tag; the finishing toolbar's Save has its title.
    case kDoneButtonTag: return QStringLiteral("crop done");
    case kWorkOnPieceTag: return QStringLiteral("work on the piece");
    case kWorkOnWholePhotoTag: return QStringLiteral("work on the whole photo");
    case kTextButtonTag: return QStringLiteral("text");
    case kEditorBackTag: return QStringLiteral("back");
    case kReplacePhotoTag: return QStringLiteral("replace photo");
    case kPanelCloseTag: return QStringLiteral("panel close");
    case kWriteControlTag: return QStringLiteral("write");
    case kNamesControlTag: return QStringLiteral("names");
    case kFrameControlTag: return QStringLiteral("frame");
    case kUndoControlTag: return QStringLiteral("undo");
    case kRedoControlTag: return QStringLiteral("redo");
    case kSmartCutTag: return QStringLiteral("smart cut");
    case kKeepBrushTag: return QStringLiteral("keep brush");
    case kRemoveBrushTag: return QStringLiteral("remove brush");
    case kColourPanelCloseTag: return QStringLiteral("colour panel close");
    default: return {};
    }
}

// The label nearest to a view among its siblings (a slider's row, a picture's caption),
// else the nearest one level up, then two (a panel's title over its scrolled pictures).
QString nearestLabel(const ui::View &view)
{
    const ui::View *self = &view;
    for (int level = 0; level < 3 && self->superview(); ++level, self = self->superview()) {
        const QPointF at = self->frame().center();
        QString best;
        double bestDistance = 1e9;
        for (const ui::ViewPtr &sub : self->superview()->subviews())
            if (auto *label = dynamic_cast<const ui::Label *>(sub.get()); label && !label->isHidden() && !label->text().trimmed().isEmpty())
                if (const double d = QLineF(at, label->frame().center()).length(); d < bestDistance) {
                    bestDistance = d;
                    best = label->text().trimmed();
                }
        if (!best.isEmpty())
            return best;
    }
    return {};
}

// A control the walk names by class and tag, named by its tag's meaning or by the label
// beside it.
QString readableName(const ui::View *view, const QString &walkName)
{
    if (!view || !walkName.contains(QLatin1Char('#')))
        return walkName;
    // The expansion step's arrows lie in the preview frame; other panels reuse their tags.
    for (const ui::View *up = view->superview(); up; up = up->superview())
        if (up->tag() == kPreviewFrameTag) {
            static const char *arrows[] = {"expand down", "expand up", "expand left", "expand right"};
            if (view->tag() >= kExpandDownTag && view->tag() <= kExpandRightTag)
                return QStringLiteral("%1 (%2)").arg(QLatin1String(arrows[view->tag() - kExpandDownTag]), walkName);
        }
    if (const QString named = tagName(view->tag()); !named.isEmpty())
        return QStringLiteral("%1 (%2)").arg(named, walkName);
    if (const QString label = nearestLabel(*view); !label.isEmpty())
        return QStringLiteral("%1 by \"%2\"").arg(walkName, label);
    return walkName;
}

bool has(const ui::View &view, bool pinch)
{
    for (const auto &r : view.gestureRecognizers())
        if (pinch ? dynamic_cast<ui::PinchRecognizer *>(r.get()) != nullptr : dynamic_cast<ui::PanRecognizer *>(r.get()) != nullptr)
            return true;
    return false;
}

// Wall-clock and UI-thread times of the same samples.
struct Samples
{
    std::vector<double> wall, cpu;
};

struct Target
{
    ui::View *view;
    QString gesture; // the table's row, without "drag" or "pinch"
    bool pinch;
};

// What a finger can drag or pinch on the screen shown, by what it is.
void collectTargets(ui::HeadlessHost &host, ui::View &view, const QString &screen, std::vector<Target> &out)
{
    if (view.isHidden() || view.alpha() < 0.01 || !view.isUserInteractionEnabled())
        return;
    const QRectF onScreen = view.convertRectTo(view.bounds(), nullptr);
    const QPointF c = onScreen.center();
    ui::View *hit = QRectF(QPointF(0, 0), host.screenSize()).contains(c) ? host.hitTest(c) : nullptr;
    const bool reachable = hit && (hit == &view || hit->isDescendantOf(&view));
    const int tag = view.tag();
    if (reachable) {
        if (auto *slider = dynamic_cast<ui::Slider *>(&view)) {
            if (slider->isEnabled())
                out.push_back({&view, QStringLiteral("%1: slider \"%2\" (tag %3)").arg(screen, nearestLabel(view)).arg(tag), false});
        } else if (!dynamic_cast<ui::Control *>(&view)) {
            if (screen == QLatin1String("editor")) {
                if (tag == kPieceTag) {
                    out.push_back({&view, QStringLiteral("editor: the cut-out piece"), false});
                    out.push_back({&view, QStringLiteral("editor: the cut-out piece"), true});
                } else if (tag == kCropRectangleTag) {
                    out.push_back({&view, QStringLiteral("editor: the crop rectangle's body"), false});
                } else if (tag >= kCropHandleTopLeftTag && tag <= kCropHandleBottomRightTag) {
                    out.push_back({&view, QStringLiteral("editor: a crop rectangle's corner"), false});
                } else if (tag >= kFirstTextLabelTag) {
                    out.push_back({&view, QStringLiteral("editor: a text layer"), false});
                }
            } else if (has(view, false) || has(view, true)) {
                const QString what = tag >= kFirstTextLabelTag ? QStringLiteral("a text layer") : QStringLiteral("a picture layer");
                if (has(view, false))
                    out.push_back({&view, QStringLiteral("%1: %2").arg(screen, what), false});
                if (has(view, true))
                    out.push_back({&view, QStringLiteral("%1: %2").arg(screen, what), true});
            }
        }
    }
    for (const ui::ViewPtr &sub : view.subviews())
        collectTargets(host, *sub, screen, out);
}

constexpr int kMoves = 12;
constexpr int kGesturesPerRow = 6;

// One finger down, kMoves moves of a few points each towards the screen's middle (so it
// stays on the screen), up; every move timed to its frame.
void timeDrag(ui::HeadlessHost &host, ui::View &view, Samples &moves)
{
    QPointF p = view.convertRectTo(view.bounds(), nullptr).center();
    if (auto *slider = dynamic_cast<ui::Slider *>(&view))
        p = slider->convertPointTo(slider->thumbRect().center(), nullptr);
    const QPointF middle(host.screenSize().width() / 2, host.screenSize().height() / 2);
    QPointF step = (middle - p) / 30;
    if (dynamic_cast<ui::Slider *>(&view))
        step = QPointF(view.bounds().width() / (2.0 * kMoves) * (p.x() < middle.x() ? 1 : -1), 0);
    if (std::hypot(step.x(), step.y()) < 3)
        step = QPointF(4, 3);
    host.touchDown(p);
    for (int i = 1; i <= kMoves; ++i) {
        host.advance(1.0 / 60);
        const Clock::time_point touched = Clock::now();
        const double cpu = threadMs();
        host.touchMove(p + step * i);
        host.render();
        moves.wall.push_back(msSince(touched));
        moves.cpu.push_back(threadMs() - cpu);
    }
    host.advance(1.0 / 60);
    host.touchUp(p + step * kMoves);
}

void timePinch(ui::HeadlessHost &host, ui::View &view, Samples &moves)
{
    const QRectF r = view.convertRectTo(view.bounds(), nullptr);
    const QPointF c = r.center();
    const double start = std::clamp(std::min(r.width(), r.height()) * 0.5, 20.0, 120.0);
    const int a = ui::HeadlessHost::kFirstPinchFinger, b = a + 1;
    const auto fingers = [&](double d) { return std::pair{c - QPointF(d / 2, 0), c + QPointF(d / 2, 0)}; };
    auto [p0, p1] = fingers(start);
    host.sendTouches({{a, ui::TouchPhase::Began, p0, 0}, {b, ui::TouchPhase::Began, p1, 0}});
    host.runPending();
    for (int i = 1; i <= kMoves; ++i) {
        host.advance(1.0 / 60);
        std::tie(p0, p1) = fingers(start * (1 + 0.04 * i));
        const Clock::time_point touched = Clock::now();
        const double cpu = threadMs();
        host.sendTouches({{a, ui::TouchPhase::Moved, p0, 0}, {b, ui::TouchPhase::Moved, p1, 0}});
        host.runPending();
        host.render();
        moves.wall.push_back(msSince(touched));
        moves.cpu.push_back(threadMs() - cpu);
    }
    host.advance(1.0 / 60);
    host.sendTouches({{a, ui::TouchPhase::Ended, p0, 0}, {b, ui::TouchPhase::Ended, p1, 0}});
    host.runPending();
}

// One table row: the median and 95th percentile of the wall clock, the 95th percentile of
// the UI thread's own time, and, for taps, the same to the settled result.
struct Row
{
    QString name;
    const Samples *first;
    const Samples *settled; // taps only
    double target;
};

QString cell(const Samples &s)
{
    return QStringLiteral("%1 | %2 | %3")
        .arg(percentile(s.wall, 0.5), 0, 'f', 1)
        .arg(percentile(s.wall, 0.95), 0, 'f', 1)
        .arg(percentile(s.cpu, 0.95), 0, 'f', 1);
}

void print(std::vector<Row> rows, const char *title, const char *heading, const char *settledHeading)
{
    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return percentile(a.first->wall, 0.95) > percentile(b.first->wall, 0.95); });
    std::printf("\n%s\n\n| %s | Samples | Median ms | p95 ms | p95 UI-thread CPU ms | Met |%s\n|---|---|---|---|---|---|%s\n", title,
                heading, settledHeading ? settledHeading : "", settledHeading ? "---|---|---|" : "");
    for (const Row &r : rows) {
        const double p95 = percentile(r.first->wall, 0.95);
        std::printf("| %s | %zu | %s | %s |", qPrintable(r.name), r.first->wall.size(), qPrintable(cell(*r.first)),
                    p95 < r.target ? "yes" : percentile(r.first->cpu, 0.95) < r.target ? "wall only" : "no");
        if (r.settled)
            std::printf(" %s |", qPrintable(cell(*r.settled)));
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char **argv)
{
    keepPictureMemory(); // as the application does at launch
    bench::offscreenApplication("bench_interaction");
    const int editorSteps = argc > 1 ? std::atoi(argv[1]) : 300;
    const int compositorSteps = argc > 2 ? std::atoi(argv[2]) : 120;
    test::TempHome home;

    struct Tap { Samples answer, settled; };
    std::map<QString, Tap> taps;                          // "screen: control"
    std::map<std::pair<QString, bool>, Samples> moves;    // (gesture, pinch): per move
    std::map<std::pair<QString, bool>, int> gestures;
    QString pending;
    Clock::time_point touched;
    double touchedCpu = 0, answered = -1, answeredCpu = 0, answerFrame = 0, answerFrameCpu = 0;
    test::RandomWalk walk(DeviceProfile::Tablet);
    walk.setPickedPhoto(bench::benchPhoto());
    walk.setStepObserver([&](const QString &step) {
        pending = step.startsWith(QLatin1String("tap ")) ? readableName(walk.lastTapped(), step.mid(4)) : QString();
        answered = -1;
        touched = Clock::now();
        touchedCpu = threadMs();
    });
    walk.setTapAnswerObserver([&](ui::HeadlessHost &host) {
        if (pending.isEmpty())
            return;
        const Clock::time_point frame = Clock::now();
        const double frameCpu = threadMs();
        host.render(); // the first frame after the touch's own handling
        answerFrame = msSince(frame);
        answerFrameCpu = threadMs() - frameCpu;
        answered = msSince(touched);
        answeredCpu = threadMs() - touchedCpu;
    });
    const auto inspect = [&](ui::HeadlessHost &host, const QString &screen) {
        const bool timed = screen == QLatin1String("editor") || screen == QLatin1String("compositor");
        if (!pending.isEmpty()) {
            host.render(); // the frame that shows the settled result
            if (timed && answered >= 0) {
                Tap &t = taps[screen + QStringLiteral(": ") + pending];
                t.answer.wall.push_back(answered);
                t.answer.cpu.push_back(answeredCpu);
                // The answer's frame is not part of the settled work.
                t.settled.wall.push_back(msSince(touched) - answerFrame);
                t.settled.cpu.push_back(threadMs() - touchedCpu - answerFrameCpu);
            }
            pending.clear();
        }
        if (!timed)
            return;
        // One gesture per step, on a target whose row has the fewest so far.
        std::vector<Target> targets;
        collectTargets(host, host.window(), screen, targets);
        const Target *chosen = nullptr;
        for (const Target &t : targets)
            if (gestures[{t.gesture, t.pinch}] < kGesturesPerRow && (!chosen || gestures[{t.gesture, t.pinch}] < gestures[{chosen->gesture, chosen->pinch}]))
                chosen = &t;
        if (!chosen)
            return;
        ++gestures[{chosen->gesture, chosen->pinch}];
        Samples &row = moves[{chosen->gesture, chosen->pinch}];
        if (chosen->pinch)
            timePinch(host, *chosen->view, row);
        else
            timeDrag(host, *chosen->view, row);
        walk.settle();
    };
    walk.explore(editorSteps, false, inspect);
    walk.explore(compositorSteps, false, inspect, {QStringLiteral("\"photo\""), QStringLiteral("\"saved picture\"")},
                 QStringLiteral("compositor"));

    std::vector<Row> tapRows, gestureRows;
    for (const auto &[control, t] : taps)
        tapRows.push_back({control, &t.answer, &t.settled, 100});
    std::map<std::pair<QString, bool>, QString> gestureNames;
    for (const auto &[key, ms] : moves) {
        gestureNames[key] = QStringLiteral("%1 %2 (%3 gestures)").arg(key.second ? "pinch" : "drag", key.first).arg(gestures[key]);
        gestureRows.push_back({gestureNames[key], &ms, nullptr, 16});
    }
    print(tapRows, "Taps: from the touch to the frame showing the screen's answer (target 100 ms), then to the frame showing the settled result",
          "Control (screen: tapped)", " Settled median ms | Settled p95 ms | Settled p95 UI-thread CPU ms |");
    print(gestureRows, "Drags and pinches: from each move to the frame that shows it (target 16 ms)", "Gesture (screen: what)", nullptr);
    return 0;
}
