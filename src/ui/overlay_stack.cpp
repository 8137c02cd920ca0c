#include "ui/overlay_stack.h"

#include <algorithm>

#include "ui/host.h"

namespace vimora::ui {

namespace {
// Takes touches only while its panel is shown: a panel its owner hid without saying so
// leaves nothing in the way.
class Backdrop : public View
{
public:
    Backdrop(const QRectF &frame, std::weak_ptr<View> panel, OverlayStack::PassThrough passThrough)
        : View(frame)
        , m_panel(std::move(panel))
        , m_passThrough(std::move(passThrough))
    {
    }
    bool pointInside(QPointF p) const override
    {
        const ViewPtr panel = m_panel.lock();
        return panel && isShownOnScreen(*panel) && View::pointInside(p) && !(m_passThrough && m_passThrough(convertPointTo(p, nullptr)));
    }

private:
    std::weak_ptr<View> m_panel;
    OverlayStack::PassThrough m_passThrough;
};
} // namespace

struct OverlayStack::Entry
{
    std::weak_ptr<View> panel;
    CloseAction close;
    ViewPtr backdrop;

    void removeBackdrop()
    {
        if (!backdrop)
            return;
        backdrop->setTouchHandler({});
        backdrop->removeFromSuperview();
        backdrop.reset();
    }
};

bool isShownOnScreen(const View &view)
{
    const View *top = &view;
    for (const View *v = &view; v; v = v->superview()) {
        if (v->isHidden())
            return false;
        top = v;
    }
    return top->host() != nullptr;
}

OverlayStack::OverlayStack() = default;

OverlayStack::~OverlayStack()
{
    for (const auto &entry : m_entries)
        entry->removeBackdrop();
}

OverlayStack &OverlayStack::of(const View *view)
{
    Host *host = view ? view->host() : nullptr;
    if (!host)
        host = Host::current();
    if (host)
        return host->overlays();
    static OverlayStack offScreen;
    return offScreen;
}

void OverlayStack::open(const ViewPtr &panel, CloseAction close, OutsideTap outside, PassThrough passThrough)
{
    if (!panel)
        return;
    closed(panel.get());
    auto entry = std::make_shared<Entry>();
    entry->panel = panel;
    entry->close = std::move(close);
    if (outside == OutsideTap::Closes && panel->superview()) {
        View &parent = *panel->superview();
        entry->backdrop = std::make_shared<Backdrop>(parent.bounds(), panel, std::move(passThrough));
        entry->backdrop->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
        const View *key = panel.get();
        entry->backdrop->setTouchHandler([this, key](TouchPhase phase, const TouchSet &) {
            if (phase == TouchPhase::Began)
                runClose(key);
        });
        parent.insertSubviewBelow(entry->backdrop, panel.get());
    }
    m_entries.push_back(std::move(entry));
}

OverlayStack::Entries::const_iterator OverlayStack::entryOf(const View *panel) const
{
    return std::find_if(m_entries.begin(), m_entries.end(), [panel](const auto &entry) { return entry->panel.lock().get() == panel; });
}

void OverlayStack::closed(const View *panel)
{
    const auto it = entryOf(panel);
    if (it == m_entries.end())
        return;
    const auto entry = *it;
    m_entries.erase(it);
    entry->removeBackdrop();
}

void OverlayStack::prune()
{
    std::vector<std::shared_ptr<Entry>> gone;
    for (const auto &entry : m_entries) {
        const ViewPtr panel = entry->panel.lock();
        if (!panel || !isShownOnScreen(*panel))
            gone.push_back(entry);
    }
    for (const auto &entry : gone) {
        m_entries.erase(std::find(m_entries.begin(), m_entries.end(), entry));
        entry->removeBackdrop();
    }
}

void OverlayStack::runClose(const View *panel)
{
    const auto it = entryOf(panel);
    if (it == m_entries.end())
        return;
    // The action may open or close other panels (or this one again): keep it alive here.
    const CloseAction close = (*it)->close;
    if (close)
        close();
    prune();
}

bool OverlayStack::closeTopmost()
{
    prune();
    if (m_entries.empty())
        return false;
    runClose(m_entries.back()->panel.lock().get());
    return true;
}

void OverlayStack::closeAll()
{
    // Each close may change the stack; stop if one refuses to close.
    for (int guard = int(m_entries.size()) + 1; guard > 0; --guard) {
        prune();
        if (m_entries.empty())
            return;
        const View *top = m_entries.back()->panel.lock().get();
        runClose(top);
        if (isOpen(top))
            return;
    }
}

bool OverlayStack::isOpen(const View *panel) const
{
    const auto it = entryOf(panel);
    return it != m_entries.end() && panel && isShownOnScreen(*panel);
}

int OverlayStack::count() const
{
    return int(std::count_if(m_entries.begin(), m_entries.end(), [](const auto &entry) {
        const ViewPtr p = entry->panel.lock();
        return p && isShownOnScreen(*p);
    }));
}

View *OverlayStack::backdropOf(const View *panel) const
{
    const auto it = entryOf(panel);
    return it == m_entries.end() ? nullptr : (*it)->backdrop.get();
}

bool OverlayStack::isBackdrop(const View *view) const
{
    return view && std::any_of(m_entries.begin(), m_entries.end(), [view](const auto &entry) { return entry->backdrop.get() == view; });
}

} // namespace vimora::ui
