#include "editor/job_history.h"

namespace vimora {

namespace {
bool samePicture(const Picture &a, const Picture &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.bitmap().cacheKey() == b.bitmap().cacheKey() && a.scale() == b.scale();
}

bool sameLayer(const JobLayer &a, const JobLayer &b, bool compareTags)
{
    return samePicture(a.picture, b.picture) && samePicture(a.original, b.original) && a.kind == b.kind && a.center == b.center
           && a.size == b.size && a.transform == b.transform && a.alpha == b.alpha && (!compareTags || a.tag == b.tag)
           && a.clips == b.clips && a.lifted == b.lifted;
}
} // namespace

bool sameJobState(const JobRecord &a, const JobRecord &b)
{
    if (a.photoNames != b.photoNames || a.thumbNames != b.thumbNames || !samePicture(a.photo, b.photo) || !samePicture(a.shown, b.shown)
        || !samePicture(a.cutOut, b.cutOut) || a.piece.has_value() != b.piece.has_value() || a.effectMode != b.effectMode
        || a.layers.size() != b.layers.size())
        return false;
    if (a.piece && (!sameLayer(*a.piece, *b.piece, true) || a.pieceHome != b.pieceHome || !samePicture(a.holeShape, b.holeShape)))
        return false;
    for (size_t i = 0; i < a.layers.size(); ++i)
        if (!sameLayer(a.layers[i], b.layers[i], false))
            return false;
    return true;
}

JobRecord JobHistory::stripped(const JobRecord &record)
{
    JobRecord step = record;
    step.undoSteps.clear();
    step.redoSteps.clear();
    return step;
}

OriginalPhoto keptOriginal(const JobRecord &record)
{
    return {record.originalPath, record.originalSize};
}

void JobHistory::start(const JobRecord &present, OriginalPhoto original, SubjectTouch touch)
{
    clear();
    m_present = Step{stripped(present), std::move(original), std::move(touch)};
    // Only the kept count is taken back: a record written with more steps keeps the latest.
    const auto from = [](const std::vector<JobRecord> &kept, size_t first, std::deque<Step> &into) {
        for (size_t i = first; i < kept.size(); ++i)
            into.push_back(Step{stripped(kept[i]), keptOriginal(kept[i]), {}});
    };
    from(present.undoSteps, present.undoSteps.size() > size_t(kDepth) ? present.undoSteps.size() - kDepth : 0, m_undo);
    from(present.redoSteps, present.redoSteps.size() > size_t(kDepth) ? present.redoSteps.size() - kDepth : 0, m_redo);
}

bool JobHistory::note(const JobRecord &present, OriginalPhoto original, SubjectTouch touch)
{
    if (!m_present) {
        m_present = Step{stripped(present), std::move(original), std::move(touch)};
        return false;
    }
    if (sameJobState(m_present->record, present)) {
        m_present->original = std::move(original);
        m_present->touch = std::move(touch);
        return false;
    }
    m_undo.push_back(std::move(*m_present));
    while (int(m_undo.size()) > kDepth)
        m_undo.pop_front();
    m_redo.clear();
    m_present = Step{stripped(present), std::move(original), std::move(touch)};
    return true;
}

void JobHistory::settle(const JobRecord &present)
{
    if (m_present)
        m_present->record = stripped(present);
    else
        m_present = Step{stripped(present), keptOriginal(present), {}};
}

std::optional<JobHistory::Step> JobHistory::undo()
{
    if (m_undo.empty() || !m_present)
        return std::nullopt;
    m_redo.push_back(std::move(*m_present));
    m_present = std::move(m_undo.back());
    m_undo.pop_back();
    return m_present;
}

std::optional<JobHistory::Step> JobHistory::redo()
{
    if (m_redo.empty() || !m_present)
        return std::nullopt;
    m_undo.push_back(std::move(*m_present));
    m_present = std::move(m_redo.back());
    m_redo.pop_back();
    return m_present;
}

void JobHistory::clear()
{
    m_present.reset();
    m_undo.clear();
    m_redo.clear();
}

void JobHistory::attachTo(JobRecord &record) const
{
    record.undoSteps.clear();
    record.redoSteps.clear();
    for (const Step &s : m_undo)
        record.undoSteps.push_back(s.record);
    for (const Step &s : m_redo)
        record.redoSteps.push_back(s.record);
}

} // namespace vimora
