#include "ui/touch_dispatcher.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "ui/view.h"

namespace vimora::ui {

struct TouchDispatcher::Active
{
    TouchPtr touch;
    std::vector<RecognizerPtr> recognizers; // candidates for this touch
    bool viewBegan = false;                 // the view has seen touchesBegan
    bool viewCancelled = false;             // the view gets nothing more for this touch
    bool endHeld = false;                   // touchesEnded waits for undecided recognisers
    bool finished = false;                  // the finger has lifted or was cancelled
};

TouchDispatcher::TouchDispatcher(std::function<View *(QPointF)> hitTest)
    : m_hitTest(std::move(hitTest))
{
}

TouchDispatcher::~TouchDispatcher()
{
    for (const auto &weak : m_known)
        if (auto r = weak.lock(); r && r->m_dispatcher == this)
            r->m_dispatcher = nullptr;
}

TouchDispatcher::ActivePtr TouchDispatcher::find(int id) const
{
    for (const ActivePtr &a : m_active)
        if (!a->finished && a->touch->id == id)
            return a;
    return nullptr;
}

TouchPtr TouchDispatcher::touch(int id) const
{
    const ActivePtr a = find(id);
    return a ? a->touch : nullptr;
}

int TouchDispatcher::activeTouchCount() const
{
    return int(std::count_if(m_active.begin(), m_active.end(), [](const ActivePtr &a) { return !a->finished; }));
}

bool TouchDispatcher::sequenceOver() const
{
    return activeTouchCount() == 0;
}

void TouchDispatcher::gather(const ActivePtr &active)
{
    View *hit = active->touch->view.get();
    std::vector<View *> chain;
    for (View *v = hit; v; v = v->superview())
        chain.push_back(v);
    for (size_t depth = 0; depth < chain.size(); ++depth) {
        View *v = chain[depth];
        for (const RecognizerPtr &r : v->gestureRecognizers()) {
            if (!r->isEnabled())
                continue;
            // A control between the hit view and this ancestor keeps its own gesture.
            bool yielded = false;
            for (size_t below = 0; below < depth && !yielded; ++below)
                yielded = chain[below]->ownsGesture(*r, *active->touch);
            if (yielded)
                continue;
            // Only one recogniser recognises a sequence: none joins once one has won.
            if (m_winner && r != m_winner)
                continue;
            active->recognizers.push_back(r);
            if (std::find(m_candidates.begin(), m_candidates.end(), r) == m_candidates.end()) {
                if (r->isFinished() && sequenceOver())
                    r->reset();
                m_candidates.push_back(r);
            }
            if (r->m_dispatcher != this) {
                r->m_dispatcher = this;
                m_known.push_back(r);
            }
        }
    }
    // Deepest first: recognisers found later in a chain sit on shallower views, but a new
    // touch may bring a deeper one; order the candidates by their view's depth.
    auto depthOf = [](const RecognizerPtr &r) {
        int d = 0;
        for (const View *v = r->view(); v; v = v->superview())
            ++d;
        return d;
    };
    std::stable_sort(m_candidates.begin(), m_candidates.end(),
                     [&](const RecognizerPtr &a, const RecognizerPtr &b) { return depthOf(a) > depthOf(b); });
}

void TouchDispatcher::dispatch(const std::vector<TouchInput> &inputs, double time)
{
    struct Guard
    {
        bool &flag;
        bool old;
        ~Guard() { flag = old; }
    } guard{m_dispatching, m_dispatching};
    m_dispatching = true;
    std::vector<ActivePtr> began, moved, ended, cancelled;
    for (const TouchInput &in : inputs) {
        if (in.phase == TouchPhase::Began) {
            if (find(in.id))
                continue; // a finger cannot go down twice
            auto a = std::make_shared<Active>();
            a->touch = std::make_shared<Touch>();
            Touch &t = *a->touch;
            t.id = in.id;
            t.phase = TouchPhase::Began;
            t.windowPosition = t.previousWindowPosition = t.startWindowPosition = in.position;
            t.timestamp = t.startTime = time;
            const QPointF d = in.position - m_lastEndPosition;
            const bool repeat = time - m_lastEndTime <= kMultiTapInterval && std::hypot(d.x(), d.y()) <= kMultiTapSlop;
            t.tapCount = std::max(repeat ? m_lastTapCount + 1 : 1, in.minimumTapCount);
            if (View *hit = m_hitTest ? m_hitTest(in.hitPosition.value_or(in.position)) : nullptr)
                t.view = hit->sharedFromThis();
            m_active.push_back(a);
            if (t.view)
                gather(a);
            began.push_back(a);
            continue;
        }
        const ActivePtr a = find(in.id);
        if (!a)
            continue;
        Touch &t = *a->touch;
        t.previousWindowPosition = t.windowPosition;
        if (in.phase != TouchPhase::Cancelled)
            t.windowPosition = in.position;
        t.timestamp = time;
        t.phase = in.phase;
        if (in.phase == TouchPhase::Moved || in.phase == TouchPhase::Stationary)
            moved.push_back(a);
        else if (in.phase == TouchPhase::Ended)
            ended.push_back(a);
        else
            cancelled.push_back(a);
    }

    if (!began.empty()) {
        deliverToRecognizers(TouchPhase::Began, began);
        deliverToViews(TouchPhase::Began, began);
    }
    if (!moved.empty()) {
        deliverToRecognizers(TouchPhase::Moved, moved);
        deliverToViews(TouchPhase::Moved, moved);
    }
    for (auto *set : {&ended, &cancelled}) {
        if (set->empty())
            continue;
        const TouchPhase phase = set == &ended ? TouchPhase::Ended : TouchPhase::Cancelled;
        for (const ActivePtr &a : *set)
            a->finished = true;
        deliverToRecognizers(phase, *set);
        deliverToViews(phase, *set);
    }
    for (const ActivePtr &a : ended) {
        m_lastEndTime = time;
        m_lastEndPosition = a->touch->windowPosition;
        m_lastTapCount = a->touch->tapCount;
    }
    m_dispatching = false;
    flushHeldEnds();
    cleanUp();
}

void TouchDispatcher::cancelAll(double time)
{
    std::vector<TouchInput> inputs;
    for (const ActivePtr &a : m_active)
        if (!a->finished)
            inputs.push_back({a->touch->id, TouchPhase::Cancelled, a->touch->windowPosition, 0});
    if (!inputs.empty())
        dispatch(inputs, time);
}

void TouchDispatcher::deliverToRecognizers(TouchPhase phase, const std::vector<ActivePtr> &set)
{
    const std::vector<RecognizerPtr> candidates = m_candidates;
    for (const RecognizerPtr &r : candidates) {
        if (r->isFinished() || !r->isEnabled() || !r->view())
            continue;
        TouchSet touches;
        for (const ActivePtr &a : set)
            if (std::find(a->recognizers.begin(), a->recognizers.end(), r) != a->recognizers.end())
                touches.push_back(a->touch);
        if (!touches.empty())
            r->handleTouches(phase, touches);
    }
}

bool TouchDispatcher::undecided(const Active &active) const
{
    // A recogniser that still watches (a double tap between its taps, a pinch with one
    // finger left) has not said whether these touches are its gesture.
    for (const RecognizerPtr &r : active.recognizers)
        if (r->state() == GestureRecognizer::State::Possible && r->delaysTouchesEnded() && r->isEnabled() && r->view())
            return true;
    return false;
}

void TouchDispatcher::deliverToViews(TouchPhase phase, const std::vector<ActivePtr> &set)
{
    // Group by view, keeping the order touches arrived in.
    std::vector<std::pair<View *, TouchSet>> groups;
    auto add = [&](const ActivePtr &a) {
        View *v = a->touch->view.get();
        for (auto &g : groups)
            if (g.first == v) {
                g.second.push_back(a->touch);
                return;
            }
        groups.push_back({v, TouchSet{a->touch}});
    };
    for (const ActivePtr &a : set) {
        View *v = a->touch->view.get();
        if (!v || a->viewCancelled)
            continue;
        switch (phase) {
        case TouchPhase::Began: {
            // A view without multiple touch sees only its first finger.
            const bool busy = std::any_of(m_active.begin(), m_active.end(), [&](const ActivePtr &o) {
                return o != a && !o->finished && o->viewBegan && !o->viewCancelled && o->touch->view.get() == v;
            });
            if (busy && !v->isMultipleTouchEnabled()) {
                a->viewCancelled = true;
                continue;
            }
            a->viewBegan = true;
            add(a);
            break;
        }
        case TouchPhase::Ended:
            if (!a->viewBegan)
                continue;
            if (undecided(*a)) {
                a->endHeld = true;
                continue;
            }
            add(a);
            break;
        default:
            if (a->viewBegan)
                add(a);
            break;
        }
    }
    for (auto &[view, touches] : groups) {
        const ViewPtr keep = touches.front()->view;
        switch (phase) {
        case TouchPhase::Began:
            view->touchesBegan(touches);
            break;
        case TouchPhase::Moved:
        case TouchPhase::Stationary:
            view->touchesMoved(touches);
            break;
        case TouchPhase::Ended:
            view->touchesEnded(touches);
            break;
        case TouchPhase::Cancelled:
            view->touchesCancelled(touches);
            break;
        }
    }
}

void TouchDispatcher::cancelViewTouch(Active &active)
{
    if (active.viewCancelled)
        return;
    active.viewCancelled = true;
    active.endHeld = false;
    if (active.viewBegan && active.touch->view) {
        const ViewPtr view = active.touch->view;
        view->touchesCancelled(TouchSet{active.touch});
    }
}

void TouchDispatcher::recognizerChangedState(GestureRecognizer &recognizer)
{
    using State = GestureRecognizer::State;
    const RecognizerPtr r = recognizer.shared_from_this();
    const State s = r->state();
    if ((s == State::Began || s == State::Ended) && !m_winner) {
        m_winner = r;
        for (const RecognizerPtr &other : std::vector<RecognizerPtr>(m_candidates))
            if (other != r && other->state() == State::Possible)
                other->cancelOrFail();
        if (r->cancelsTouchesInView())
            for (const ActivePtr &a : std::vector<ActivePtr>(m_active))
                if (std::find(a->recognizers.begin(), a->recognizers.end(), r) != a->recognizers.end())
                    cancelViewTouch(*a);
    }
    if (m_dispatching)
        return; // dispatch() settles held ends and the sequence's end itself
    if (r->isFinished() || s == State::Began) {
        flushHeldEnds();
        if (sequenceOver())
            cleanUp();
    }
}

void TouchDispatcher::flushHeldEnds()
{
    if (m_flushing)
        return;
    m_flushing = true;
    for (const ActivePtr &a : std::vector<ActivePtr>(m_active)) {
        if (!a->endHeld || undecided(*a))
            continue;
        a->endHeld = false;
        if (!a->viewCancelled && a->touch->view) {
            const ViewPtr view = a->touch->view;
            view->touchesEnded(TouchSet{a->touch});
        }
    }
    m_flushing = false;
}

void TouchDispatcher::cleanUp()
{
    if (m_cleaning)
        return;
    m_cleaning = true;
    m_active.erase(std::remove_if(m_active.begin(), m_active.end(),
                                  [](const ActivePtr &a) { return a->finished && !a->endHeld; }),
                   m_active.end());
    if (sequenceOver()) {
        // Continuous recognisers cannot still be deciding once every finger is up; only a
        // discrete one (a tap waiting for its next tap) may, and it reports later.
        for (const RecognizerPtr &r : std::vector<RecognizerPtr>(m_candidates))
            if (r->state() == GestureRecognizer::State::Possible && !r->isDiscrete())
                r->cancelOrFail();
        flushHeldEnds();
        m_active.erase(std::remove_if(m_active.begin(), m_active.end(),
                                      [](const ActivePtr &a) { return a->finished && !a->endHeld; }),
                       m_active.end());
        for (const RecognizerPtr &r : std::vector<RecognizerPtr>(m_candidates))
            if (r->isFinished())
                r->reset();
        m_candidates.erase(std::remove_if(m_candidates.begin(), m_candidates.end(),
                                          [](const RecognizerPtr &r) {
                                              return r->state() != GestureRecognizer::State::Possible || !r->view();
                                          }),
                           m_candidates.end());
        // A waiting tap keeps its place; everything else starts afresh.
        m_candidates.erase(std::remove_if(m_candidates.begin(), m_candidates.end(),
                                          [](const RecognizerPtr &r) { return !r->isDiscrete(); }),
                           m_candidates.end());
        m_winner.reset();
        m_known.erase(std::remove_if(m_known.begin(), m_known.end(), [](const auto &w) { return w.expired(); }),
                      m_known.end());
    }
    m_cleaning = false;
}

} // namespace vimora::ui
