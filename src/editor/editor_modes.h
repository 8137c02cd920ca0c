#pragma once

// The modes the editor's steps share. The steps still to come (adjust panel, shattering,
// feathering, colour) read and set them through the editor.

namespace vimora {

/// What the effects work on, or the preview's aspect: both choices share one mode because
/// choosing either replaces the other.
enum class EffectMode {
    None,
    SixteenByNine, // the preview frame is 16:9
    FourByThree,   // the preview frame is 4:3, and an upright photo overflows it vertically
    OnPiece,       // the effects work on the cut-out piece
    OnWholePhoto,  // the effects work on the whole photo
};

/// What a single tap on the preview does besides picking a colour.
enum class TapMode {
    None,
    ColourPick,     // picks the colour only
    CutGuideHidden, // the next tap shows the cut guide
    CutGuideShown,  // the next tap hides it
    Shattering,     // the shattering step is on: its own hint is shown
};

} // namespace vimora
