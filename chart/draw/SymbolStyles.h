#pragma once

#include "draw/PrimitiveSink.h"

#include <span>
#include <string_view>

namespace lumigra {

// One entry of the symbol style table. A style runs program, then
// secondProgram when it has one; doubleWidth styles draw in a box twice
// as wide (the arrow heads, whose tip is the centre).
struct SymbolStyleInfo {
    int value;
    std::string_view name;
    std::string_view caption; // as shown in the property sheet
    std::string_view program;
    std::string_view secondProgram;
    bool doubleWidth;
};

inline constexpr int kSymbolStyleCustom = 74;
inline constexpr int kSymbolStylePicture = 75;

// The table in the order of the style numbers; custom and picture entries
// have no program of their own.
std::span<const SymbolStyleInfo> symbolStyles();
const SymbolStyleInfo* findSymbolStyle(int style);

// Draws a symbol of a style at (cx, cy) with the given size; the custom
// style runs customProgram. Unknown styles draw nothing.
void drawSymbol(int style, std::string_view customProgram, double cx, double cy, double width, double height,
                bool quarterTurn, PrimitiveSink& sink);

} // namespace lumigra
