#include "Scene.h"

#include <QPainter>

#include <cmath>

namespace scene {

using platform::com::Variant;

Control::Control(int w, int h) : c(new LumigraCtrl)
{
    c->setExtent(w, h, 96, 96);
    c->backMode_ = 1;
    c->backColor_ = 0xFFFFFF;
}

Control::~Control() { c->Release(); }

LgPen* pen(LumigraCtrl& c, int32_t colour, double width)
{
    auto* p = add<LgPen>(c, cidPens);
    p->color_ = colour;
    p->width_ = width;
    return p;
}

LgBrush* solidBrush(LumigraCtrl& c, int32_t colour)
{
    auto* b = add<LgBrush>(c, cidBrushes);
    b->style_ = lgBrushSolid;
    b->foreColor_ = colour;
    return b;
}

LgFontHolder* font(LumigraCtrl& c, const std::string& face, double size)
{
    auto* f = add<LgFontHolder>(c, cidFontHolders);
    f->typeFace_ = face;
    f->size_ = size;
    return f;
}

LgLine* solidLine(LumigraCtrl& c, LgPen* p)
{
    auto* l = add<LgLine>(c, cidLines);
    l->pen1_.reset(p);
    l->length1_ = 1000;
    return l;
}

void setSlot(LgData& data, int32_t slot, const std::vector<double>& values, int32_t lower)
{
    Variant a = Variant::makeArray(platform::com::VT_R8, lower, static_cast<int32_t>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        a.at(i) = Variant::fromR8(values[i]);
    data.setData(slot, a);
}

PlotChart plotWindowChart(LumigraCtrl& c, const std::vector<double>& xs, const std::vector<double>& ys)
{
    PlotChart p;
    p.chart = add<LgXyChart>(c, cidXyCharts, "Graph1");
    p.chart->markerSymbolInterval_ = 1;
    p.area = add<LgRectangle>(c, cidRectangles);
    p.area->orgX_ = 13;
    p.area->orgY_ = 10;
    p.area->width_ = 120;
    p.area->height_ = 80;
    p.area->paintTool_ = lgPaintBrush;
    p.area->pen_.reset(pen(c));
    p.chart->plotArea_.reset(p.area);
    p.x = add<LgXyAxis>(c, cidXyAxes);
    p.y = add<LgXyAxis>(c, cidXyAxes);
    p.chart->xAxis_.reset(p.x);
    p.chart->yAxis_.reset(p.y);
    LgFontHolder* labels = font(c, "Century", 3.0);
    for (LgXyAxis* a : {p.x, p.y}) {
        a->orgX_ = 13;
        a->orgY_ = 10;
        a->pen_.reset(pen(c));
        LgXyTick* t = a->tick();
        t->labelFont_.reset(labels);
        t->pen_.reset(pen(c));
        t->markLength_ = 1.0;
        t->markStyle_ = lgTickMarkBoth;
    }
    p.x->orientation_ = lgXyAxisX;
    p.x->length_ = 120;
    p.x->tick()->labelLocation_ = lgTickLabelRightAbove;
    p.y->orientation_ = lgXyAxisY;
    p.y->length_ = 80;
    p.y->tick()->labelLocation_ = lgTickLabelLeftAbove;
    p.data = add<LgData>(c, cidDataCollection);
    setSlot(*p.data, 1, xs);
    setSlot(*p.data, 2, ys);
    p.chart->data_.reset(p.data);
    p.chart->entry(p.chart->lines_, lgMarkerLine).reset(solidLine(c, pen(c, 0, 0.2)));
    return p;
}

QImage render(LumigraCtrl& c, PaintResult* result)
{
    QImage image(c.cx_, c.cy_, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    PaintResult r = paintChart(c, p, PaintFrame{QRectF(0, 0, c.cx_, c.cy_), 96, 96});
    p.end();
    if (result)
        *result = r;
    return image;
}

QPoint pixelOf(const LumigraCtrl& c, double xMm, double yMm, int imageHeight)
{
    (void)c;
    const double k = 96 / 25.4;
    return QPoint(static_cast<int>(std::floor(xMm * k)), static_cast<int>(std::floor(imageHeight - yMm * k)));
}

bool dark(QRgb p) { return qGray(p) < 100; }

int countColour(const QImage& image, QRgb colour, QRect area)
{
    if (area.isNull())
        area = image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                ++n;
    return n;
}

} // namespace scene
