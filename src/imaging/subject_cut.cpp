#include "imaging/subject_cut.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace vimora {

namespace {

/// GrabCut's rounds on the first pass and on a touch-up (which starts from the last mask).
constexpr int kFirstRounds = 4;
constexpr int kTouchUpRounds = 2;
/// Below this share of the rectangle there is no subject, above it the rectangle itself is
/// taken whole (nothing told apart).
constexpr double kLeastCoverage = 0.005;
constexpr double kMostCoverage = 0.97;
/// Colour histograms of subject and background overlapping more than this (Bhattacharyya
/// coefficient, 1 = the same) mean the split followed nothing the eye would see.
constexpr double kMostOverlap = 0.7;
/// GrabCut needs background to learn from: at least this many reduced pixels around the
/// rectangle.
constexpr int kLeastBackground = 200;
/// The reduced region has at least this many pixels (where the photo has them).
constexpr double kLeastRegionPixels = 120'000;
/// The edge refined at full resolution in tiles of this side, each with this much context.
constexpr int kTile = 96;
constexpr int kTileContext = 8;
/// The soft edge: a Gaussian of this sigma over the hard full-resolution mask.
constexpr double kEdgeSigma = 0.8;

/// The working copy at full resolution is BGR, as OpenCV wants it.
cv::Mat bgrOf(const QImage &photo, const QRect &region)
{
    const QImage part = photo.copy(region).convertToFormat(QImage::Format_RGB888);
    cv::Mat rgb(part.height(), part.width(), CV_8UC3, const_cast<uchar *>(part.constBits()), size_t(part.bytesPerLine()));
    cv::Mat bgr;
    cv::cvtColor(rgb, bgr, cv::COLOR_RGB2BGR);
    return bgr;
}

bool isSubject(uchar label)
{
    return label == cv::GC_FGD || label == cv::GC_PR_FGD;
}

/// 255 where the labels say subject (certain or probable), 0 elsewhere.
cv::Mat subjectOf(const cv::Mat &labels)
{
    return (labels == cv::GC_FGD) | (labels == cv::GC_PR_FGD);
}

/// How much two colour distributions overlap (Bhattacharyya coefficient on 8 levels a channel).
double colourOverlap(const cv::Mat &image, const cv::Mat &labels, const cv::Rect &inside)
{
    std::array<double, 512> fg{}, bg{};
    double nf = 0, nb = 0;
    for (int y = 0; y < image.rows; ++y) {
        const cv::Vec3b *row = image.ptr<cv::Vec3b>(y);
        const uchar *lab = labels.ptr<uchar>(y);
        for (int x = 0; x < image.cols; ++x) {
            const cv::Vec3b c = row[x];
            const int bin = (c[0] >> 5) << 6 | (c[1] >> 5) << 3 | (c[2] >> 5);
            if (isSubject(lab[x])) {
                fg[size_t(bin)] += 1;
                nf += 1;
            } else if (inside.contains(cv::Point(x, y)) || lab[x] == cv::GC_BGD) {
                bg[size_t(bin)] += 1;
                nb += 1;
            }
        }
    }
    if (nf == 0 || nb == 0)
        return 1;
    double sum = 0;
    for (size_t i = 0; i < fg.size(); ++i)
        sum += std::sqrt(fg[i] / nf * bg[i] / nb);
    return sum;
}

void paintStroke(cv::Mat &labels, const SubjectStroke &stroke, double scale, cv::Point2d origin)
{
    const uchar label = stroke.keep ? cv::GC_FGD : cv::GC_BGD;
    const double r = std::isfinite(stroke.radius) ? stroke.radius * scale : 1;
    const int radius = int(std::lround(std::clamp(r, 1.0, 1e4)));
    // Far-off points are held near the mask, so the conversion to int cannot overflow.
    auto at = [&](QPointF p) {
        auto coordinate = [&](double v, double from) {
            return std::isfinite(v) ? int(std::lround(std::clamp((v - from) * scale, -1e6, 1e6))) : 0;
        };
        return cv::Point(coordinate(p.x(), origin.x), coordinate(p.y(), origin.y));
    };
    for (size_t i = 0; i < stroke.points.size(); ++i) {
        const cv::Point a = at(stroke.points[i]);
        const cv::Point b = i + 1 < stroke.points.size() ? at(stroke.points[i + 1]) : a;
        cv::line(labels, a, b, cv::Scalar(label), 2 * radius, cv::LINE_8);
        cv::circle(labels, a, radius, cv::Scalar(label), cv::FILLED);
    }
}

} // namespace

struct SubjectCut::State
{
    cv::Mat full;    ///< the region (rectangle and margin) at full resolution, BGR
    cv::Mat reduced; ///< the region at the working size
    cv::Mat labels;  ///< GrabCut's labels over reduced
    cv::Mat bgdModel, fgdModel;
    QRect region;    ///< in photo pixels
    double scale = 1; ///< reduced pixels per photo pixel
    cv::Rect inside;  ///< the rectangle in reduced pixels
    std::vector<SubjectStroke> strokes;
    bool separable = false;
    cv::Mat hard; ///< the refined subject over the rectangle at full resolution, 0 or 255
};

namespace {

/// The full-resolution edge: a band a few reduced pixels wide either side of the scaled-up
/// mask is cut again on the full pixels, with the first pass's colour models held fixed, tile
/// by tile so the graph covers the band and not the whole rectangle.
void refineEdge(const SubjectCut::State &state, const cv::Rect &insideFull, cv::Mat &hard)
{
    const int band = int(std::ceil(2.0 / state.scale));
    const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * band + 1, 2 * band + 1));
    cv::Mat sure, maybe;
    cv::erode(hard, sure, kernel, cv::Point(-1, -1), 1, cv::BORDER_REPLICATE);
    cv::dilate(hard, maybe, kernel, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT, cv::Scalar(0));
    const cv::Mat edge = maybe & ~sure;
    cv::Mat labels(hard.size(), CV_8UC1, cv::Scalar(cv::GC_BGD));
    labels.setTo(cv::Scalar(cv::GC_FGD), sure);
    labels.setTo(cv::Scalar(cv::GC_PR_BGD), edge & ~hard);
    labels.setTo(cv::Scalar(cv::GC_PR_FGD), edge & hard);
    for (const SubjectStroke &stroke : state.strokes)
        paintStroke(labels, stroke, 1.0, cv::Point2d(state.region.x() + insideFull.x, state.region.y() + insideFull.y));

    const cv::Mat image = state.full(insideFull);
    const cv::Rect whole(0, 0, hard.cols, hard.rows);
    cv::Mat refined = hard.clone();
    for (int y = 0; y < hard.rows; y += kTile)
        for (int x = 0; x < hard.cols; x += kTile) {
            const cv::Rect tile = cv::Rect(x, y, kTile, kTile) & whole;
            if (cv::countNonZero(edge(tile)) == 0)
                continue;
            // A little context around the tile, so its edge pixels have neighbours in the graph.
            const cv::Rect around = cv::Rect(x - kTileContext, y - kTileContext, kTile + 2 * kTileContext,
                                             kTile + 2 * kTileContext) & whole;
            cv::Mat tileLabels = labels(around).clone();
            cv::Mat bgd = state.bgdModel.clone(), fgd = state.fgdModel.clone();
            cv::grabCut(image(around), tileLabels, cv::Rect(), bgd, fgd, 1, cv::GC_EVAL_FREEZE_MODEL);
            const cv::Rect inner(tile.x - around.x, tile.y - around.y, tile.width, tile.height);
            subjectOf(tileLabels(inner)).copyTo(refined(tile));
        }
    hard = refined;
}

} // namespace

double SubjectCut::coverage() const
{
    if (!m_state || m_state->hard.empty())
        return 0;
    return double(cv::countNonZero(m_state->hard)) / double(m_state->hard.total());
}

SubjectCut SubjectCut::find(const QImage &photo, const QRect &rect)
{
    SubjectCut cut;
    const QRect inside = rect.normalized() & photo.rect();
    cut.m_rect = inside;
    if (photo.isNull() || inside.width() < 4 || inside.height() < 4)
        return cut;

    auto state = std::make_shared<State>();
    // A margin of background around the rectangle: the background model learns from the
    // surroundings of the subject, not from the far side of the photo.
    const int margin = std::max(16, std::max(inside.width(), inside.height()) / 4);
    state->region = inside.adjusted(-margin, -margin, margin, margin) & photo.rect();
    state->full = bgrOf(photo, state->region);
    // The photo's reduced copy at about kWorkPixels, of which the region is taken; a small
    // rectangle keeps enough pixels to find a small subject in.
    const double pixels = double(state->region.width()) * state->region.height();
    const double photoPixels = double(photo.width()) * photo.height();
    state->scale = std::min(1.0, std::max(std::sqrt(double(kWorkPixels) / photoPixels),
                                          std::sqrt(double(kLeastRegionPixels) / pixels)));
    if (state->scale < 1)
        cv::resize(state->full, state->reduced,
                   cv::Size(std::max(1, int(std::lround(state->region.width() * state->scale))),
                            std::max(1, int(std::lround(state->region.height() * state->scale)))),
                   0, 0, cv::INTER_AREA);
    else
        state->reduced = state->full;

    const double sx = double(state->reduced.cols) / state->region.width();
    const double sy = double(state->reduced.rows) / state->region.height();
    const int x0 = int(std::floor((inside.x() - state->region.x()) * sx));
    const int y0 = int(std::floor((inside.y() - state->region.y()) * sy));
    const int x1 = std::min(state->reduced.cols, int(std::ceil((inside.right() + 1 - state->region.x()) * sx)));
    const int y1 = std::min(state->reduced.rows, int(std::ceil((inside.bottom() + 1 - state->region.y()) * sy)));
    state->inside = cv::Rect(x0, y0, x1 - x0, y1 - y0);
    state->labels = cv::Mat(state->reduced.size(), CV_8UC1, cv::Scalar(cv::GC_BGD));
    state->labels(state->inside).setTo(cv::Scalar(cv::GC_PR_FGD));

    const long long background = (long long)state->reduced.total() - state->inside.area();
    cut.m_state = state;
    if (background < kLeastBackground)
        return cut;
    cv::grabCut(state->reduced, state->labels, cv::Rect(), state->bgdModel, state->fgdModel, kFirstRounds,
                cv::GC_INIT_WITH_MASK);
    cut.settle();
    if (!cut.m_found)
        cut.m_alpha = QImage();
    return cut;
}

SubjectCut SubjectCut::touchedUp(const SubjectStroke &stroke) const
{
    if (!m_state || m_state->bgdModel.empty() || stroke.points.empty())
        return *this;
    auto state = std::make_shared<State>(*m_state);
    state->labels = m_state->labels.clone();
    state->bgdModel = m_state->bgdModel.clone();
    state->fgdModel = m_state->fgdModel.clone();
    state->strokes.push_back(stroke);
    paintStroke(state->labels, stroke, double(state->reduced.cols) / state->region.width(),
                cv::Point2d(state->region.x(), state->region.y()));
    // Only the rectangle is ever the subject: a keep stroke past it changes nothing.
    cv::Mat outside(state->labels.size(), CV_8UC1, cv::Scalar(255));
    outside(state->inside).setTo(cv::Scalar(0));
    state->labels.setTo(cv::Scalar(cv::GC_BGD), outside);

    SubjectCut cut;
    cut.m_rect = m_rect;
    cut.m_state = state;
    // Both kinds are needed to learn from; a stroke that leaves only one ends the cut there.
    if (cv::countNonZero(subjectOf(state->labels)) == 0)
        return cut;
    cv::grabCut(state->reduced, state->labels, cv::Rect(), state->bgdModel, state->fgdModel, kTouchUpRounds,
                cv::GC_EVAL);
    cut.settle();
    // The user said what the subject is: the cut stands even where colours alone would not.
    cut.m_found = m_found && cut.coverage() > 0;
    if (!cut.m_found)
        cut.m_alpha = QImage();
    return cut;
}

void SubjectCut::settle()
{
    auto *state = const_cast<State *>(m_state.get());
    const QRect &region = state->region;
    const cv::Rect insideFull(m_rect.x() - region.x(), m_rect.y() - region.y(), m_rect.width(), m_rect.height());

    cv::Mat subject = subjectOf(state->labels);
    const double share = double(cv::countNonZero(subject(state->inside))) / double(state->inside.area());
    const double overlap = colourOverlap(state->reduced, state->labels, state->inside);
    state->separable = share >= kLeastCoverage && share <= kMostCoverage && overlap <= kMostOverlap;

    // Full resolution: the reduced mask scaled up decides everywhere but along its edge, where
    // a graph cut on the full pixels (a band a few reduced pixels wide) places it exactly.
    cv::Mat up;
    if (state->reduced.size() != state->full.size())
        cv::resize(subject, up, state->full.size(), 0, 0, cv::INTER_LINEAR);
    else
        up = subject;
    cv::Mat hard = up(insideFull) >= 128;
    if (state->scale < 1 && cv::countNonZero(hard) > 0 && cv::countNonZero(hard) < int(hard.total()))
        refineEdge(*state, insideFull, hard);
    state->hard = hard;

    m_found = state->separable;
    cv::Mat soft;
    cv::GaussianBlur(hard, soft, cv::Size(0, 0), kEdgeSigma, kEdgeSigma, cv::BORDER_REPLICATE);
    m_alpha = QImage(soft.cols, soft.rows, QImage::Format_Alpha8);
    for (int y = 0; y < soft.rows; ++y)
        std::copy_n(soft.ptr<uchar>(y), soft.cols, m_alpha.scanLine(y));
}

Picture shapedPiece(const QImage &photo, const SubjectCut &cut)
{
    if (!cut.found() || cut.alpha().isNull())
        return {};
    QImage piece = photo.copy(cut.rect()).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (piece.size() != cut.alpha().size())
        return {};
    for (int y = 0; y < piece.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(piece.scanLine(y));
        const uchar *a = cut.alpha().constScanLine(y);
        for (int x = 0; x < piece.width(); ++x) {
            const unsigned k = a[x];
            const QRgb p = row[x];
            // Premultiplied: every sample scales by the coverage.
            row[x] = qRgba(int(qRed(p) * k + 127) / 255, int(qGreen(p) * k + 127) / 255, int(qBlue(p) * k + 127) / 255,
                           int(qAlpha(p) * k + 127) / 255);
        }
    }
    return Picture(piece);
}

namespace {
/// Whether every pixel's alpha passes test; a picture without alpha is opaque.
template <class Test> bool everyAlpha(const QImage &image, Test test)
{
    if (!image.hasAlphaChannel())
        return test(255);
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (!test(qAlpha(row[x])))
                return false;
    }
    return true;
}
} // namespace

Picture holeShape(const SubjectCut &cut)
{
    if (!cut.found() || cut.alpha().isNull())
        return {};
    QImage shape(cut.alpha().size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < shape.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(shape.scanLine(y));
        const uchar *a = cut.alpha().constScanLine(y);
        for (int x = 0; x < shape.width(); ++x)
            row[x] = qRgba(0, 0, 0, a[x]);
    }
    return Picture(shape);
}

Picture edgeBand(const QImage &picture, QSize size, int width, const QColor &colour)
{
    if (picture.isNull() || size.isEmpty() || width < 1)
        return {};
    const QImage scaled = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                              .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    cv::Mat alpha(scaled.height(), scaled.width(), CV_8UC1);
    for (int y = 0; y < scaled.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(scaled.constScanLine(y));
        uchar *a = alpha.ptr<uchar>(y);
        for (int x = 0; x < scaled.width(); ++x)
            a[x] = uchar(qAlpha(row[x]));
    }
    // Outside the picture is outside the subject: the border erodes too.
    cv::Mat inner;
    const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * width + 1, 2 * width + 1));
    cv::erode(alpha, inner, kernel, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT, cv::Scalar(0));
    const QRgb c = colour.rgba();
    QImage band(scaled.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < band.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(band.scanLine(y));
        const uchar *a = alpha.ptr<uchar>(y);
        const uchar *in = inner.ptr<uchar>(y);
        for (int x = 0; x < band.width(); ++x) {
            const unsigned k = unsigned(a[x] - in[x]) * unsigned(qAlpha(c)) / 255;
            row[x] = qRgba(int(qRed(c) * k + 127) / 255, int(qGreen(c) * k + 127) / 255, int(qBlue(c) * k + 127) / 255, int(k));
        }
    }
    return Picture(band);
}

bool hasTransparency(const QImage &image)
{
    return !image.isNull() && !everyAlpha(image, [](int a) { return a == 255; });
}

bool isWhollyTransparent(const QImage &image)
{
    return !image.isNull() && everyAlpha(image, [](int a) { return a == 0; });
}

Picture shapedHole(const Picture &photo, const SubjectCut &cut)
{
    if (photo.isNull())
        return {};
    QImage hole = photo.uprightBitmap().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRect r = cut.rect() & hole.rect();
    if (!cut.found() || cut.alpha().isNull() || r != cut.rect())
        return Picture(hole);
    for (int y = 0; y < r.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(hole.scanLine(r.y() + y)) + r.x();
        const uchar *a = cut.alpha().constScanLine(y);
        for (int x = 0; x < r.width(); ++x) {
            const unsigned keep = 255u - a[x];
            const QRgb p = row[x];
            // Black laid over by the subject's coverage.
            row[x] = qRgba(int(qRed(p) * keep + 127) / 255, int(qGreen(p) * keep + 127) / 255,
                           int(qBlue(p) * keep + 127) / 255, std::min(255, int(qAlpha(p) * keep + 127) / 255 + int(a[x])));
        }
    }
    return Picture(hole);
}

} // namespace vimora
