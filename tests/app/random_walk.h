#pragma once

// A seeded random walk of user actions over the whole application on the headless host:
// taps on what is shown and enabled, drags, pinches and long presses on the photo, pieces
// and layers, slider drags, typing, keys, turning the tablet and answers to the photo picker.
// After every step it checks that the user is not stranded, that a screen shows none of
// another screen's controls, that no resource went missing and that the working files parse.
//
// Every step is kept in a resolved, readable form ("tap \"Edit\"", "drag ImageView#666 30 -20"),
// so a failing walk replays without its generator and shrinks by dropping steps: a step whose
// control is not there any more does nothing.

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "imaging/picture.h"
#include "platform/device.h"

namespace vimora::ui {
class HeadlessHost;
class View;
}

namespace vimora::test {

struct WalkFailure
{
    int step = -1;   // index of the step after which the check failed
    QString what;    // the broken rule first ("stranded: ..."), then the detail

    /// The rule alone, to tell one failure from another while shrinking.
    QString rule() const { return what.section(':', 0, 0); }
};

class RandomWalk
{
public:
    explicit RandomWalk(DeviceProfile profile);
    ~RandomWalk();
    RandomWalk(const RandomWalk &) = delete;
    RandomWalk &operator=(const RandomWalk &) = delete;

    /// From a fresh launch: steps random actions drawn from seed, then a walk back home.
    std::optional<WalkFailure> walk(quint64 seed, int steps);
    /// From a fresh launch: the given steps.
    std::optional<WalkFailure> replay(const QStringList &steps);
    /// The steps of the last walk or replay, as far as it went.
    const QStringList &steps() const { return m_steps; }

    /// A shorter list of steps that still fails by the same rule, found by dropping steps;
    /// at most budget replays are tried.
    QStringList shrink(const QStringList &steps, const WalkFailure &failure, int budget = 400);

    /// Shown the screen after every step of an exploration: the host and the screen's name.
    using StepInspector = std::function<void(ui::HeadlessHost &host, const QString &screen)>;
    /// From a fresh launch (a tablet turned to landscape when asked), steps taps, each on the
    /// control tapped fewest times so far on that screen (table cells counted as one), so
    /// every screen and panel a tap leads to comes round; the picker is answered with a photo,
    /// and a screen with nothing left to tap starts the application again. The walk's own
    /// rules are not checked: inspect looks at every screen it reaches, the first included.
    /// start: taps (by name, as a step names them) made after each launch; with stayOn, a
    /// step that leaves that screen starts the application again, so the taps stay there.
    void explore(int steps, bool landscape, const StepInspector &inspect, const QStringList &start = {},
                 const QString &stayOn = {});

    /// The photo an exploration answers the picker with (the benchmarks' real photo); by
    /// default small drawn ones.
    void setPickedPhoto(Picture photo) { m_pickedPhoto = std::move(photo); }

    /// Called with each step before it runs (for a trace that survives a crash).
    void setStepObserver(std::function<void(const QString &)> observer) { m_observer = std::move(observer); }

    // For benchmarks that look closer at an exploration than its inspector does.
    /// Called right after each tap of an exploration, before its background work settles.
    void setTapAnswerObserver(std::function<void(ui::HeadlessHost &host)> observer) { m_tapAnswer = std::move(observer); }
    /// The view the exploration's last tap went to; null before the first tap and after a relaunch.
    const ui::View *lastTapped() const { return m_lastTapped; }
    /// During an exploration: settles the background work as after every step, for an
    /// inspector that touches the screen itself.
    void settle();

private:
    struct Session;
    std::optional<WalkFailure> run(const QStringList *given, quint64 seed, int steps);

    DeviceProfile m_profile;
    QStringList m_steps;
    std::function<void(const QString &)> m_observer;
    std::function<void(ui::HeadlessHost &)> m_tapAnswer;
    Picture m_pickedPhoto;
    Session *m_exploring = nullptr;
    const ui::View *m_lastTapped = nullptr;
};

/// "tablet", "phone-568", "phone-480".
QString profileName(DeviceProfile profile);

} // namespace vimora::test
