#include "draw/RecordingSink.h"

#include <sstream>

namespace lumigra {

namespace {

void putPoint(std::ostringstream& out, QPointF p)
{
    out << " (" << p.x() << ',' << p.y() << ')';
}

void putBox(std::ostringstream& out, const SymbolBox& b)
{
    out << " [" << b.cx << ',' << b.cy << ' ' << b.hx << 'x' << b.hy << ']';
}

} // namespace

void RecordingPrimitiveSink::polyline(const std::vector<QPointF>& points)
{
    calls_.push_back(Call{Kind::Polyline, points});
}

void RecordingPrimitiveSink::polygon(const std::vector<QPointF>& points)
{
    calls_.push_back(Call{Kind::Polygon, points});
}

void RecordingPrimitiveSink::ellipse(QPointF centre, double rx, double ry)
{
    calls_.push_back(Call{Kind::Ellipse, {centre}, rx, ry});
}

void RecordingPrimitiveSink::picture(const SymbolBox& box)
{
    calls_.push_back(Call{Kind::Picture, {}, 0, 0, box});
}

void RecordingPrimitiveSink::fillRectangle(const SymbolBox& box)
{
    calls_.push_back(Call{Kind::FillRectangle, {}, 0, 0, box});
}

void RecordingPrimitiveSink::outlineRectangle(const SymbolBox& box)
{
    calls_.push_back(Call{Kind::OutlineRectangle, {}, 0, 0, box});
}

std::string RecordingPrimitiveSink::text() const
{
    std::ostringstream out;
    for (const Call& c : calls_) {
        switch (c.kind) {
        case Kind::Polyline:
            out << "polyline";
            for (QPointF p : c.points)
                putPoint(out, p);
            break;
        case Kind::Polygon:
            out << "polygon";
            for (QPointF p : c.points)
                putPoint(out, p);
            break;
        case Kind::Ellipse:
            out << "ellipse";
            putPoint(out, c.points.front());
            out << ' ' << c.rx << 'x' << c.ry;
            break;
        case Kind::Picture:
            out << "picture";
            putBox(out, c.box);
            break;
        case Kind::FillRectangle:
            out << "fill";
            putBox(out, c.box);
            break;
        case Kind::OutlineRectangle:
            out << "outline";
            putBox(out, c.box);
            break;
        }
        out << '\n';
    }
    return out.str();
}

void RecordingDashSink::dash(int penIndex, QPointF from, QPointF to)
{
    dashes_.push_back(Dash{penIndex, from, to});
}

} // namespace lumigra
