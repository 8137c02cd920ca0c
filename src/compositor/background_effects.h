#pragma once

// The effects on the compositor's pictures: the adjust panel's dispatcher in its two modes
// (the background layer, or the picture layers above it), the print-like flattening, the
// extra emboss, the reflection, the overlay's enlargement and toggle, and undo and redo of
// whole steps, pixels and layout. Pixel work runs off the UI thread, one effect after the
// other; results apply on it. The effects read and write the compositor's own pictures only.

#include <deque>
#include <functional>

#include <QString>

#include "compositor/compositor_layers.h"
#include "compositor/compositor_pictures.h"
#include "ui/job_runner.h"
#include "imaging/filter.h"

namespace vimora {

/// What the adjust panel works on: copied from the tag of the control that opened it.
enum class AdjustMode { None = 0, Background = 100, PictureLayers = 200 };
AdjustMode adjustModeForTag(int tag);

/// The adjust panel's controls by tag.
namespace effect_tag {
inline constexpr int kContrastSlider = 1;
inline constexpr int kBrightMinus = 2;
inline constexpr int kBrightPlus = 3;
inline constexpr int kHard = 4;
inline constexpr int kSoft = 5;
inline constexpr int kPrintMix = 6;
inline constexpr int kSepia = 7;
inline constexpr int kEdges = 8;
inline constexpr int kUndo = 9;
inline constexpr int kSharpen = 10;
inline constexpr int kColorPlus = 11;
inline constexpr int kOpacitySlider = 12;
} // namespace effect_tag

/// The print mix of the background: background with imageProcess(contrast9(base, 200)) drawn
/// over it at the top-left. Every step works pixel by pixel, so the rows are shared between
/// two threads.
Picture printMix(const Picture &background, const Picture &base, const Filter &filter);

class BackgroundEffects
{
public:
    /// tell: shows the user a short message (an effect that had nothing to work on).
    BackgroundEffects(CompositorLayers &layers, std::function<void(const QString &)> tell);

    /// Steps undo keeps at most.
    // Each step may hold a full-size picture or two: twelve keep memory within bounds.
    static constexpr int kHistoryDepth = 12;

    /// After loading a background and after leaving: is3d 1, messInt 0, the overlay hidden,
    /// no history; effects still running are dropped.
    void reset();

    /// The compositor's own pictures the effects read and keep.
    CompositorPictures &pictures() { return m_pictures; }
    /// Why the picture-layer effects cannot run now (empty when they can).
    QString pictureLayersUnavailable() const;

    AdjustMode mode() const { return m_mode; }
    void setMode(AdjustMode mode) { m_mode = mode; }

    /// Runs the effect of a control's tag in the current mode. contrast is the contrast
    /// slider's value (tag 1), opacity the opacity slider's (tag 12).
    void filterSelect(int tag, double contrast, double opacity);

    void printmaking();
    void moreEmboss();
    void reflectiMe();
    void scaleDrawImg();
    /// The overlay toggle: shows / hides the overlay and retitles its button.
    void darkPlus();
    void darkDecrease();
    /// What the toggle button does next, by its title.
    void pressOverlayToggle();
    QString overlayToggleTitle() const { return m_overlayShown ? QStringLiteral("Dark part-") : QStringLiteral("Dark part+"); }
    void messIt();
    /// Puts pictures and layers back as they were before the last step, once the effects
    /// asked for before it have applied.
    void undoAction();
    /// Takes the last undone step again.
    void redoAction();
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    int undoDepth() const { return int(m_undo.size()); }
    /// Remembers pictures and layout for undo now (before a change by hand of the layers).
    void rememberLayout();

    int is3d() const { return m_is3d; }
    int messInt() const { return m_messInt; }

    /// Tests and benchmarks: waits until every effect asked for has applied.
    void waitForIdle(const std::function<void()> &pump)
    {
        m_runner.waitForIdle();
        if (pump)
            pump();
    }
    bool isBusy() const { return m_runner.isBusy(); }

private:
    void backgroundMode(int tag, double contrast);
    void pictureLayersMode(int tag, double contrast, double opacity);
    /// Computes a picture on a worker thread.
    using Make = std::function<Picture()>;
    /// Takes an effect's inputs on the UI thread when its turn comes.
    using Read = std::function<Make()>;
    using Save = std::function<void(const Picture &)>;
    /// Shows the picture read and made on layer, then hands it to save.
    void run(ui::ImageView &layer, Read read, Save save = {});
    /// Starts an undoable step: what is shown once the effects before it have applied.
    void beginStep();
    /// Runs action on the UI thread once the effects asked for before have applied.
    void afterPending(std::function<void()> action);
    void tell(const QString &message) const;

    /// Everything a step may change.
    struct Snapshot
    {
        Picture background, base, top, copy, overlay;
        ui::ViewPtr reflection;
        CompositorLayers::Layout layout;
        bool overlayShown = false;
        int messInt = 0;
        int step = 0;
    };
    Snapshot snapshot() const;
    void restoreSnapshot(const Snapshot &s);
    void push(std::deque<Snapshot> &history, Snapshot s);
    /// Restores the last snapshot of from and keeps what it replaces on to; false when from is empty.
    bool stepAcross(std::deque<Snapshot> &from, std::deque<Snapshot> &to);

    CompositorLayers &m_layers;
    std::function<void(const QString &)> m_tell;
    Filter m_filter;
    CompositorPictures m_pictures;
    ui::JobRunner m_runner;
    AdjustMode m_mode = AdjustMode::None;
    int m_generation = 0;
    int m_is3d = 1;
    int m_messInt = 0;
    bool m_overlayShown = false;
    int m_step = 0;
    int m_appliedStep = 0;
    std::deque<Snapshot> m_undo;
    std::deque<Snapshot> m_redo;
};

} // namespace vimora
