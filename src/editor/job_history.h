#pragma once

// Undo and redo over the editing job: each step is the whole job state as kept on disk (see
// JobRecord). Steps share every picture that did not change with their neighbours (pictures
// are implicitly shared), so twenty steps of moves or text cost little more than one; only
// pictures an edit made anew take memory of their own.

#include <deque>
#include <optional>

#include "editor/original_size.h"
#include "imaging/subject_cut.h"
#include "store/job_store.h"

namespace vimora {

/// Whether two job states show the same job: pictures by identity, geometry exactly. Text
/// layers' tags are left out: laying a layer back gives it a new one.
bool sameJobState(const JobRecord &a, const JobRecord &b);

/// The original photo a kept state names, if any.
OriginalPhoto keptOriginal(const JobRecord &record);

/// A smart cut still open to the brushes: the cut and the photo it was cut from. Kept with
/// each step in memory, so a stroke after an undo builds on the cut that step shows.
struct SubjectTouch
{
    SubjectCut cut;
    Picture photo;
    bool isOpen() const { return cut.found() && !photo.isNull(); }
};

class JobHistory
{
public:
    /// Undo steps kept; the oldest goes beyond it.
    static constexpr int kDepth = 20;

    struct Step
    {
        JobRecord record;
        /// The picked photo "Original size" renders from, while the step shows it (kept on
        /// disk in the record too, so a resumed job renders from it again).
        OriginalPhoto original;
        /// The touch-up the step was left in (not kept on disk: GrabCut's state is not
        /// worth its size, and a resumed piece keeps its shape without it).
        SubjectTouch touch;
    };

    /// A new job, or one resumed: present is its state, with the steps it kept.
    void start(const JobRecord &present, OriginalPhoto original = {}, SubjectTouch touch = {});
    /// The job as it is now. When it differs from the state last noted, that state becomes an
    /// undo step and the redo steps go. Returns whether a step was made.
    bool note(const JobRecord &present, OriginalPhoto original, SubjectTouch touch = {});
    /// Replaces the present without making a step: the state read back after a restore,
    /// which may differ from the step in what does not matter (tags, rounding).
    void settle(const JobRecord &present);

    /// The state last noted; null before any.
    const JobRecord *present() const { return m_present ? &m_present->record : nullptr; }
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    int undoCount() const { return int(m_undo.size()); }
    int redoCount() const { return int(m_redo.size()); }
    /// The state to lay back, which becomes the present; none when there is none.
    std::optional<Step> undo();
    std::optional<Step> redo();
    /// Drops every step (no job).
    void clear();

    /// record with the steps to keep beside it.
    void attachTo(JobRecord &record) const;

private:
    static JobRecord stripped(const JobRecord &record);

    std::optional<Step> m_present;
    std::deque<Step> m_undo; // oldest first
    std::deque<Step> m_redo; // next one last
};

} // namespace vimora
