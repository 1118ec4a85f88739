#include "draw/SymbolProgram.h"

#include <cmath>
#include <vector>

namespace lumigra {

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Turned partners: 0→1, 1→3, 2→0, 3→2, 4→6, 5→7, 6→5, 7→4, a→b, b→d, c→a, d→c.
char turned(char name)
{
    switch (name) {
    case '0': return '1';
    case '1': return '3';
    case '2': return '0';
    case '3': return '2';
    case '4': return '6';
    case '5': return '7';
    case '6': return '5';
    case '7': return '4';
    case 'a': return 'b';
    case 'b': return 'd';
    case 'c': return 'a';
    case 'd': return 'c';
    default: return name;
    }
}

// Reads named points from position i on; stops at the first other
// character or after the limit, leaving i there.
std::vector<QPointF> readPoints(std::string_view program, std::size_t& i, const SymbolBox& box, bool quarterTurn)
{
    std::vector<QPointF> points;
    while (i < program.size() && points.size() < static_cast<std::size_t>(SymbolProgram::kMaxPoints)) {
        const auto p = SymbolProgram::namedPoint(program[i], box, quarterTurn);
        if (!p)
            break;
        points.push_back(*p);
        ++i;
    }
    return points;
}

} // namespace

std::optional<QPointF> SymbolProgram::namedPoint(char name, const SymbolBox& box, bool quarterTurn)
{
    char c = lowerAscii(name);
    if (quarterTurn)
        c = turned(c);
    const double x = box.cx, y = box.cy, hx = box.hx, hy = box.hy;
    switch (c) {
    case '0': return QPointF(x - hx, y + hy);
    case '1': return QPointF(x + hx, y + hy);
    case '2': return QPointF(x - hx, y - hy);
    case '3': return QPointF(x + hx, y - hy);
    case '4': return QPointF(x - hx, y);
    case '5': return QPointF(x + hx, y);
    case '6': return QPointF(x, y + hy);
    case '7': return QPointF(x, y - hy);
    case '8': return QPointF(x, y);
    case 'a': return QPointF(x - hx / 2, y + hy / 2);
    case 'b': return QPointF(x + hx / 2, y + hy / 2);
    case 'c': return QPointF(x - hx / 2, y - hy / 2);
    case 'd': return QPointF(x + hx / 2, y - hy / 2);
    default: return std::nullopt;
    }
}

void SymbolProgram::run(std::string_view program, const SymbolBox& box, bool quarterTurn, PrimitiveSink& sink)
{
    const double width = 2 * box.hx;
    const double height = 2 * box.hy;
    if (!std::isfinite(box.cx) || !std::isfinite(box.cy) || !std::isfinite(width) || !std::isfinite(height))
        return;
    if (!(width * width >= kMinSquaredSize) || !(height * height >= kMinSquaredSize))
        return;

    std::size_t i = 0;
    while (i < program.size()) {
        const char command = program[i++];
        switch (command) {
        case 'L':
        case 'l': {
            const auto points = readPoints(program, i, box, quarterTurn);
            if (points.size() >= 2)
                sink.polyline(points);
            break;
        }
        case 'P':
        case 'p': {
            const auto points = readPoints(program, i, box, quarterTurn);
            if (points.size() >= 3)
                sink.polygon(points);
            break;
        }
        case 'E':
        case 'e': {
            if (i >= program.size())
                return;
            const char which = lowerAscii(program[i++]);
            // "E" fills the box (or a quadrant for a-d); "e" is the inner
            // ellipse at half that size.
            const double scale = command == 'E' ? 1.0 : 0.5;
            if (which == '8') {
                sink.ellipse(QPointF(box.cx, box.cy), box.hx * scale, box.hy * scale);
            } else if (which >= 'a' && which <= 'd') {
                const auto centre = namedPoint(which, box, quarterTurn);
                sink.ellipse(*centre, box.hx / 2 * scale, box.hy / 2 * scale);
            }
            break;
        }
        case 'I':
        case 'i':
            sink.picture(box);
            break;
        default:
            break;
        }
    }
}

} // namespace lumigra
