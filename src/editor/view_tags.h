#pragma once

// Every tag the editor gives a view or control, and the tags it looks views up by. Steps that
// arrive later (pieces, text layers) rely on these values, so they are fixed.

namespace vimora {

// The photo and what lies on it.
inline constexpr int kPhotoViewTag = 555;
inline constexpr int kPieceTag = 666;
inline constexpr int kWholePhotoPieceTag = 777;
inline constexpr int kCropRectangleTag = 510;
inline constexpr int kCropHandleTopLeftTag = 511;
inline constexpr int kCropHandleTopRightTag = 512;
inline constexpr int kCropHandleBottomLeftTag = 513;
inline constexpr int kCropHandleBottomRightTag = 514;
/// The layer tap stamps are drawn on, behind the photo view.
inline constexpr int kStampLayerTag = 520;
/// Text labels laid over the photo take this tag and up, in order of creation.
inline constexpr int kFirstTextLabelTag = 10000;

// Buttons on the editor view.
inline constexpr int kDoneButtonTag = 100;
/// Leaves the editor for the home screen.
inline constexpr int kEditorBackTag = 401;
/// Opens the built-in image panel after a cut.
inline constexpr int kReplacePhotoTag = 400;

// The options panel. The opener's tag decides which steps the panel offers.
/// Opened on the piece: gradient, colour picker, expansion and shattering.
inline constexpr int kBottomOkTag = 1;
/// Opened after the photo was replaced: the photo-backdrop panel with its styles.
inline constexpr int kTopOkTag = 2;
inline constexpr int kOptionsOkTag = 11;
inline constexpr int kGradientTag = 12;
inline constexpr int kColorPickerTag = 13;
inline constexpr int kAspectSwitchTag = 14;
inline constexpr int kExpandTag = 17;
inline constexpr int kFirstStyleTag = 21; // Style1 to Style5 are 21 to 25
inline constexpr int kRotationSliderTag = 26;
/// Leaves the options panel opened on the piece without changing the job.
inline constexpr int kOptionsCancelTag = 27;
inline constexpr int kShatteringTag = 29;
inline constexpr int kPreviewFrameTag = 4321;
/// Laid into the preview frame by the expansion step; a tap shows or hides it.
inline constexpr int kCutGuideTag = 1999;
/// Pieces laid into the preview frame by the shattering and expansion steps.
inline constexpr int kFirstPieceViewTag = 1000;
inline constexpr int kLastPieceViewTag = 9999;

// The finishing toolbar. Color and ChangeFoto re-enter the piece with their own tag.
inline constexpr int kWorkOnPieceTag = 200;
inline constexpr int kWorkOnWholePhotoTag = 300;
inline constexpr int kTextButtonTag = 105;
inline constexpr int kSaveButtonTag = 100;
/// The hint strip along the bottom of the screen.
inline constexpr int kHintStripTag = 530;
/// The scroll view a picker panel lists its choices in.
inline constexpr int kPickerScrollTag = 531;
/// A panel's close control.
inline constexpr int kPanelCloseTag = 532;
/// The line under a just-cut piece saying what can be done with it.
inline constexpr int kPieceHintTag = 533;
/// A shaped piece's pulse: its outline over the piece, a moment after the cut.
inline constexpr int kPieceOutlineTag = 550;
/// The finished cut's side controls: the text overlay and the naming strip's toggle.
inline constexpr int kWriteControlTag = 534;
inline constexpr int kNamesControlTag = 535;
/// Opens the options panel on the piece (the frame, feathering, colour and expansion steps).
inline constexpr int kFrameControlTag = 538;
/// The Undo and Redo controls above the toolbar's left end.
inline constexpr int kUndoControlTag = 546;
inline constexpr int kRedoControlTag = 547;
/// The strip with the naming fields.
inline constexpr int kNamingStripTag = 536;
/// The crop step's smart cut, beside its done button, and the touch-up brushes after it.
inline constexpr int kSmartCutTag = 544;
inline constexpr int kKeepBrushTag = 548;
inline constexpr int kRemoveBrushTag = 549;
/// The colour panel's close control.
inline constexpr int kColourPanelCloseTag = 537;

// Saving and sharing.
/// The alert asking "High" or "Medium".
inline constexpr int kQualityChoiceTag = 1;
/// The share panel (opened from the quality choice) and its three exports.
inline constexpr int kSharePanelTag = 540;
inline constexpr int kShareOneByOneTag = 541;
inline constexpr int kShareDocumentsTag = 542;
inline constexpr int kShareMailTag = 543;

} // namespace vimora
