#pragma once

// The 9 x 9 grid of pieces a cut-out is shattered into, and the picture work on the pieces:
// scattering them with random skews and flattening them back into one picture. The picture
// functions touch no view, so they run off the UI thread.

#include <cstdint>
#include <functional>
#include <vector>

#include <QRectF>
#include <QSize>
#include <QTransform>

#include "imaging/picture.h"
#include "ui/affine_transform.h"
#include "editor/view_snapshot.h"
#include "ui/image_view.h"

namespace vimora {

inline constexpr int kGridSide = 9;
inline constexpr int kPieceCount = kGridSide * kGridSide;

/// The pictures of the 81 pieces, row by row from the top left: the picture's half-size copy
/// (w x h pixels) cut along the whole-pixel lines nearest to c w / 9 and r h / 9, so the crops
/// tile it exactly. Every crop holds at least one pixel, however narrow the picture; none at
/// all for no picture.
std::vector<Picture> shatterCrops(const Picture &picture);

/// An even ninth of a container of that size: the cell of piece (row, column).
QRectF pieceCell(int row, int column, QSizeF container);
/// The cells of the pieces of crops in a container of that size: each in proportion to its
/// crop, so an aspect-fit piece fills it and neighbouring cells meet without a seam. Even
/// ninths for fewer than 81 crops.
std::vector<QRectF> gridCells(const std::vector<Picture> &crops, QSizeF container);

/// The skew scatter gives one piece from three draws of a uniform 32-bit generator: the
/// matrix rows (1, p) and (q, 1), p and q within -0.99..0.99 (see the .cpp for the rule).
QTransform scatterSkew(std::uint32_t r1, std::uint32_t r2, std::uint32_t r3);

/// Each picture skewed by scatterSkew with fresh draws from random.
std::vector<Picture> scatterPictures(const std::vector<Picture> &pieces, const std::function<std::uint32_t()> &random);

/// The shadow the Shadow switch gives every piece.
inline constexpr QPointF kPieceShadowOffset{-5, -5};
inline constexpr double kPieceShadowOpacity = 0.5;

/// A container of that size holding the grid of pieces, each turned about its centre by
/// transform, as the view tree would hold them: flattened with renderSnapshot.
ViewSnapshot gridSnapshot(const std::vector<Picture> &pieces, QSizeF container, const ui::AffineTransform &transform = {});

/// Shattering: replaces the container's pieces by the grid of its image (tags 1000 to 1080,
/// aspect-fit), then clears its image. Pieces of the whole-photo container keep their size
/// when it is scaled (the pieces spread); those of the piece container scale with it.
void shattering(ui::ImageView &container);
/// The same with the crops already made (off the UI thread).
void layPieces(ui::ImageView &container, const std::vector<Picture> &crops);

/// The container's pieces, front to back order kept.
std::vector<ui::ImageView *> piecesOf(const ui::View &container);

} // namespace vimora
