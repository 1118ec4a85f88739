#pragma once
// The cursor over the chart: twips of the control to page millimetres and to
// data units, and the read-out texts of the main window.
#include "plot/PlotChart.h"

#include <string>

namespace raylen {

struct CursorState {
    float sngCursorXmm = 0, sngCursorYmm = 0;
    float sngCursorX = 0, sngCursorY = 0;
    bool onPage = false; // a mouse move has placed it
};

// Twips of the control (y growing downwards) to page millimetres, by the
// control's own layout of its page: a fixed or the window's current height
// would put the read-out off the drawn data once the window is resized.
void cursorToPage(double xTwips, double yTwips, const PageFrame& page, CursorState& cursor);

// Page millimetres to data units, linear on both axes (also on a log axis).
// False, and the data values unchanged, when the frame cannot map (a plot
// area of zero size, or values beyond the Single range).
bool cursorToData(const PlotFrame& frame, CursorState& cursor);

// "y " and "x " read-outs; the Y format depends on the largest Y plotted.
std::string readOutX(float sngCursorX);
std::string readOutY(float sngCursorY, double dataMaxY);

// The two-press state of the keys a, k, e, s and d: state 1 waits for the
// first press, any other value makes the next press the second one.
struct TwoPress {
    int16_t state = 1;
    float x[2] = {0, 0};
    float y[2] = {0, 0};

    // Stores the mark; true on the second press, which resets the state.
    bool press(float atX, float atY)
    {
        if (state == 1) {
            x[0] = atX;
            y[0] = atY;
            state = 2;
            return false;
        }
        x[1] = atX;
        y[1] = atY;
        state = 1;
        return true;
    }
};

} // namespace raylen
