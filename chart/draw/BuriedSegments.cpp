#include "draw/BuriedSegments.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace lumigra {

// Why no pixel changes: the raster's rounding moves no edge by the slack, so every centre that a dropped
// segment or its joins might fill, or that lies near a flat end where a kept run stops, lies in a kept
// rectangle shrunk by the slack, which the whole line and the kept runs both fill; elsewhere a kept run
// has the whole line's own edges, so each pixel centre falls on the same side in both drawings.

namespace {

// The raster puts vertices on a 1/64 pixel grid and steps edges row by
// row with 16.16 slopes: under 1/90 pixel, plus 2^-16 for every row.
constexpr double kBaseSlack = 1.0 / 32;
constexpr double kRowSlack = 1.0 / 65536;
// Near the sides of the clip the scan converter replaces edges by the
// side, which may shift a crossing within one row: segments there stay.
constexpr double kSideGuard = 3;
// Shorter segments may come out of the raster's rounding turned over.
constexpr double kShortestEnd = 1.0 / 8;
// Covered rows remembered per pixel column; forgetting some only keeps more.
constexpr int kRunsPerColumn = 4;
// Segments are tried longest first (by whole pixels, longer ones together).
constexpr int kLengthClasses = 64;

constexpr double kParallel = 1e-9;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A rectangle: centre, unit axis u, half lengths along u and across it.
struct Box {
    double cx, cy, ux, uy, along, across;
    double halfX() const { return along * std::abs(ux) + across * std::abs(uy); }
    double halfY() const { return along * std::abs(uy) + across * std::abs(ux); }
    Box grown(double by) const { return {cx, cy, ux, uy, along + by, across + by}; }
};

// Where vertical lines cross a box: a point at height cy + r on the line
// at x = cx + q lies at s = q ux + r uy along the axis and t = r ux - q uy
// across it, so |s| <= along and |t| <= across each bound r to an interval
// about a centre proportional to q. An axis parallel to x or y leaves one
// bound to the columns the box spans; nearly parallel is parallel, which
// moves the bounds by far less than the slack.
class BoxSpans {
public:
    explicit BoxSpans(const Box& box) : cx_(box.cx), cy_(box.cy)
    {
        if (std::abs(box.uy) > kParallel) {
            const double inverse = 1 / box.uy;
            alongCentre_ = -box.ux * inverse;
            alongHalf_ = box.along * std::abs(inverse);
        }
        if (std::abs(box.ux) > kParallel) {
            const double inverse = 1 / box.ux;
            acrossCentre_ = box.uy * inverse;
            acrossHalf_ = box.across * std::abs(inverse);
        }
    }

    // The y range on the line at x (empty when lo > hi).
    void at(double x, double& lo, double& hi) const
    {
        const double q = x - cx_;
        const double a = q * alongCentre_, b = q * acrossCentre_;
        lo = cy_ + std::max(a - alongHalf_, b - acrossHalf_);
        hi = cy_ + std::min(a + alongHalf_, b + acrossHalf_);
    }

private:
    double cx_, cy_;
    double alongCentre_ = 0, alongHalf_ = kInfinity;
    double acrossCentre_ = 0, acrossHalf_ = kInfinity;
};

// floor and ceil for the device's range, without a library call.
int floorInt(double v)
{
    const int t = static_cast<int>(v);
    return t > v ? t - 1 : t;
}
int ceilInt(double v)
{
    const int t = static_cast<int>(v);
    return t < v ? t + 1 : t;
}

double cross(QPointF a, QPointF b) { return a.x() * b.y() - a.y() * b.x(); }

int firstCentre(double from) { return ceilInt(from - 0.5); }
int lastCentre(double to) { return floorInt(to - 0.5); }

// Rows of pixel centres certainly filled, per column.
class Coverage {
public:
    explicit Coverage(const QRect& area)
        : area_(area), runs_(static_cast<size_t>(area.width()) * kRunsPerColumn, Run{1, 0})
    {
    }

    bool covers(int column, int lo, int hi) const
    {
        const Run* r = at(column);
        for (int k = 0; k < kRunsPerColumn; ++k)
            if (r[k].lo <= lo && hi <= r[k].hi)
                return true;
        return false;
    }

    void add(int column, int lo, int hi)
    {
        Run* r = at(column);
        // Merge every run the new one touches, then store it in a free slot
        // or over the shortest run when it is longer.
        for (int k = 0; k < kRunsPerColumn; ++k)
            if (r[k].lo <= r[k].hi && r[k].lo <= hi + 1 && lo <= r[k].hi + 1) {
                lo = std::min(lo, r[k].lo);
                hi = std::max(hi, r[k].hi);
                r[k] = Run{1, 0};
            }
        int slot = 0;
        for (int k = 1; k < kRunsPerColumn; ++k)
            if (r[k].hi - r[k].lo < r[slot].hi - r[slot].lo)
                slot = k;
        if (r[slot].lo > r[slot].hi || r[slot].hi - r[slot].lo < hi - lo)
            r[slot] = Run{lo, hi};
    }

    const QRect& area() const { return area_; }

private:
    struct Run {
        int lo, hi; // empty when lo > hi
    };
    Run* at(int column) { return &runs_[static_cast<size_t>(column - area_.left()) * kRunsPerColumn]; }
    const Run* at(int column) const { return &runs_[static_cast<size_t>(column - area_.left()) * kRunsPerColumn]; }

    QRect area_;
    std::vector<Run> runs_;
};

// Calls visit(column, firstRow, lastRow) for the pixel centres inside the
// box within the area; stops when visit returns false.
template <class Visit>
bool forCentres(const Box& box, const QRect& area, Visit visit)
{
    const double hx = box.halfX();
    const int c0 = std::max(area.left(), firstCentre(box.cx - hx));
    const int c1 = std::min(area.right(), lastCentre(box.cx + hx));
    const BoxSpans spans(box);
    for (int c = c0; c <= c1; ++c) {
        double lo, hi;
        spans.at(c + 0.5, lo, hi);
        if (lo > hi)
            continue;
        const int r0 = std::max(area.top(), firstCentre(lo));
        const int r1 = std::min(area.bottom(), lastCentre(hi));
        if (r0 <= r1 && !visit(c, r0, r1))
            return false;
    }
    return true;
}

struct Scratch {
    std::vector<Box> body;
    std::vector<QPointF> normal;
    std::vector<int> lengthClass, order, pending;
};

} // namespace

std::vector<std::uint8_t> keptSegments(const std::vector<QPointF>& points, double halfWidth,
                                       const StrokeBounds& bounds)
{
    const int segments = static_cast<int>(points.size()) - 1;
    std::vector<std::uint8_t> keep(static_cast<size_t>(std::max(segments, 0)), 1);
    if (segments < 2)
        return keep;
    const QRect& area = bounds.paintable;
    if (area.isEmpty()) {
        std::fill(keep.begin(), keep.end(), 0);
        return keep;
    }
    const double slack = kBaseSlack + (std::max(bounds.deviceHeight, 0) + 2) * kRowSlack;
    const double h = halfWidth;

    // Reused: fresh large blocks each call cost page faults.
    thread_local Scratch scratch;
    std::vector<Box>& body = scratch.body;
    std::vector<QPointF>& normal = scratch.normal;
    std::vector<int>& lengthClass = scratch.lengthClass;
    std::vector<int>& order = scratch.order;
    std::vector<int>& pending = scratch.pending;
    body.resize(static_cast<size_t>(segments));
    normal.resize(static_cast<size_t>(segments));
    lengthClass.resize(static_cast<size_t>(segments));
    order.resize(static_cast<size_t>(segments));
    pending.clear();
    std::array<int, kLengthClasses + 1> classStart{};
    for (int s = 0; s < segments; ++s) {
        const QPointF a = points[static_cast<size_t>(s)], b = points[static_cast<size_t>(s) + 1];
        const QPointF d = b - a;
        const double length = std::sqrt(QPointF::dotProduct(d, d));
        const QPointF u = d * (1 / length);
        body[static_cast<size_t>(s)] = {(a.x() + b.x()) / 2, (a.y() + b.y()) / 2, u.x(), u.y(), length / 2, h};
        normal[static_cast<size_t>(s)] = QPointF(-u.y(), u.x());
        const int k = kLengthClasses - 1 - static_cast<int>(std::min(length, double(kLengthClasses - 1)));
        lengthClass[static_cast<size_t>(s)] = k;
        ++classStart[static_cast<size_t>(k) + 1];
    }
    for (int k = 0; k < kLengthClasses; ++k)
        classStart[static_cast<size_t>(k) + 1] += classStart[static_cast<size_t>(k)];
    for (int s = 0; s < segments; ++s)
        order[static_cast<size_t>(classStart[static_cast<size_t>(lengthClass[static_cast<size_t>(s)])]++)] = s;

    // A segment's rectangle with the bevel joins at its ends: a join's
    // corners p ± h n lie within h |sin| of the turn beyond the flat end.
    auto footprint = [&](int s) {
        const size_t i = static_cast<size_t>(s);
        const Box& b = body[i];
        const QPointF n = normal[i];
        const double before = s > 0 ? h * std::abs(cross(normal[i - 1], n)) : 0;
        const double after = s + 1 < segments ? h * std::abs(cross(n, normal[i + 1])) : 0;
        const double shift = (after - before) / 2;
        return Box{b.cx + b.ux * shift, b.cy + b.uy * shift, b.ux, b.uy, b.along + (before + after) / 2, h};
    };
    const double left = area.left(), right = area.right() + 1.0;
    const double top = area.top(), bottom = area.bottom() + 1.0;
    Coverage coverage(area);
    // Whether the pixel centres in a box are all filled for certain, or the
    // box is too far outside for any to matter.
    auto buried = [&](const Box& box) {
        const double hx = box.halfX(), hy = box.halfY();
        const double x0 = box.cx - hx, x1 = box.cx + hx, y0 = box.cy - hy, y1 = box.cy + hy;
        if (x1 < left - kSideGuard || x0 > right + kSideGuard || y1 < top - kSideGuard || y0 > bottom + kSideGuard)
            return true;
        if (!(x0 > left + kSideGuard && x1 < right - kSideGuard))
            return false;
        // Its bounding box first: mostly enough, and cheaper than each column's span.
        const int c0 = std::max(area.left(), firstCentre(x0)), c1 = std::min(area.right(), lastCentre(x1));
        const int r0 = std::max(area.top(), firstCentre(y0)), r1 = std::min(area.bottom(), lastCentre(y1));
        bool all = true;
        for (int c = c0; all && c <= c1; ++c)
            all = r0 > r1 || coverage.covers(c, r0, r1);
        return all || forCentres(box, area, [&](int c, int lo, int hi) { return coverage.covers(c, lo, hi); });
    };
    // A kept segment's rectangle shrunk by the slack is filled for certain.
    auto cover = [&](int s) {
        const Box& b = body[static_cast<size_t>(s)];
        const Box inner{b.cx, b.cy, b.ux, b.uy, b.along - slack, h - slack};
        if (inner.along > 0 && inner.across > 0)
            forCentres(inner, area, [&](int c, int r0, int r1) {
                coverage.add(c, r0, r1);
                return true;
            });
    };
    for (int s : order) {
        const size_t i = static_cast<size_t>(s);
        if (buried(footprint(s).grown(slack)))
            keep[i] = 0;
        else
            cover(s);
    }
    // Where a kept run ends at a dropped neighbour, its flat end stands in
    // for the join the whole line has there; the two differ only within the
    // slack of that end, so pixel centres there must be covered anyway, or
    // the neighbour is kept (and its own far end checked in turn). A run
    // never ends in a segment the raster's rounding may turn inside out.
    for (int s = 0; s < segments; ++s)
        if (keep[static_cast<size_t>(s)])
            pending.push_back(s);
    auto endCovered = [&](int s, int at) {
        const QPointF n = normal[static_cast<size_t>(s)];
        const QPointF p = points[static_cast<size_t>(at)];
        return buried(Box{p.x(), p.y(), n.x(), n.y(), h + slack, slack});
    };
    while (!pending.empty()) {
        const int s = pending.back();
        pending.pop_back();
        for (const int neighbour : {s - 1, s + 1}) {
            if (neighbour < 0 || neighbour >= segments || keep[static_cast<size_t>(neighbour)])
                continue;
            if (body[static_cast<size_t>(s)].along >= kShortestEnd / 2 && endCovered(s, neighbour < s ? s : s + 1))
                continue;
            keep[static_cast<size_t>(neighbour)] = 1;
            cover(neighbour);
            pending.push_back(neighbour);
        }
    }
    return keep;
}

} // namespace lumigra
