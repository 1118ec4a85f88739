#pragma once
// Building charts for the drawing tests through the objects' typed members.
#include <QImage>

#include <string>
#include <vector>

#include "control/LumigraCtrl.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Data.h"
#include "kinds/Resources.h"
#include "kinds/Shapes.h"
#include "kinds/Strokes.h"
#include "kinds/Text.h"
#include "model/Collection.h"
#include "paint/PaintPass.h"

namespace scene {

using namespace lumigra;

// A control of w x h pixels at 96 dpi, white background.
struct Control {
    explicit Control(int w = 600, int h = 450);
    ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    LumigraCtrl* c;
    LumigraCtrl& operator*() { return *c; }
    LumigraCtrl* operator->() { return c; }
};

template <class T>
T* add(LumigraCtrl& c, int collection, const std::string& name = "")
{
    return static_cast<T*>(c.collection(collection)->addNamed(name));
}

LgPen* pen(LumigraCtrl& c, int32_t colour = 0, double width = 0);
LgBrush* solidBrush(LumigraCtrl& c, int32_t colour);
LgFontHolder* font(LumigraCtrl& c, const std::string& face = "Century", double size = 3.0);
// A solid line (one dash longer than any piece) in a pen.
LgLine* solidLine(LumigraCtrl& c, LgPen* pen);
void setSlot(LgData& data, int32_t slot, const std::vector<double>& values, int32_t lower = 0);

// An XY chart like the plot window's: plot area 120 x 80 at (13, 10),
// axes with ticks, labels in Century 3 mm, a solid black line.
struct PlotChart {
    LgXyChart* chart;
    LgData* data;
    LgXyAxis* x;
    LgXyAxis* y;
    LgRectangle* area;
};
PlotChart plotWindowChart(LumigraCtrl& c, const std::vector<double>& xs, const std::vector<double>& ys);

// The chart drawn at 96 dpi into an image of the control's size.
QImage render(LumigraCtrl& c, PaintResult* result = nullptr);

// Device pixel of a drawing point on an image from render() (no origin shift, scale 1).
QPoint pixelOf(const LumigraCtrl& c, double xMm, double yMm, int imageHeight);

bool dark(QRgb p);
int countColour(const QImage& image, QRgb colour, QRect area = {});

} // namespace scene
