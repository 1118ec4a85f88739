#pragma once

#include "draw/PrimitiveSink.h"

#include <optional>
#include <string_view>

namespace lumigra {

// The symbol drawing language: L (polyline), P (polygon) and E/e (ellipse)
// followed by named points, I (picture); anything else is skipped. Points
// are named 0-8 and a-d (either case) within the box; with quarterTurn each
// named point is replaced by its turned partner first.
class SymbolProgram {
public:
    static constexpr int kMaxPoints = 40;
    // Below this squared width or height nothing is drawn.
    static constexpr double kMinSquaredSize = 0.00001;

    // The point a name stands for, empty for a character that names none.
    static std::optional<QPointF> namedPoint(char name, const SymbolBox& box, bool quarterTurn);

    static void run(std::string_view program, const SymbolBox& box, bool quarterTurn, PrimitiveSink& sink);
};

} // namespace lumigra
