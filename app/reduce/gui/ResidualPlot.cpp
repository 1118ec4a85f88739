#include "reduce/gui/ResidualPlot.h"

#include "platform/Format.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace raylen {

namespace {
constexpr int margin = 6;          // pixels around the plot area
constexpr int pointRadius = 3;
constexpr double headroom = 1.2;   // the largest residual sits inside the frame
constexpr double flatLimit = 0.01; // Å, the range when every residual is zero
} // namespace

ResidualPlot::ResidualPlot(QWidget* parent) : QWidget(parent)
{
    setObjectName("picResidual");
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void ResidualPlot::setResiduals(const ResidualTable& table)
{
    rows_ = table.rows;
    if (rows_.empty()) {
        clear();
        return;
    }
    auto [lo, hi] = std::minmax_element(rows_.begin(), rows_.end(),
                                        [](const ResidualRow& a, const ResidualRow& b) { return a.pixel < b.pixel; });
    minPixel_ = lo->pixel;
    maxPixel_ = hi->pixel > lo->pixel ? hi->pixel : lo->pixel + 1.0;
    double largest = 0;
    for (const ResidualRow& r : rows_)
        if (std::isfinite(r.residual))
            largest = std::max(largest, std::abs(r.residual));
    limit_ = largest > 0 ? largest * headroom : flatLimit;
    update();
}

void ResidualPlot::clear()
{
    rows_.clear();
    update();
}

QRectF ResidualPlot::area() const
{
    const int text = fontMetrics().height();
    return QRectF(margin, margin + text, width() - 2 * margin, height() - 2 * margin - text);
}

QPointF ResidualPlot::place(double pixel, double residual) const
{
    const QRectF a = area();
    const double side = pointRadius + 1;
    const double x = a.left() + side + (pixel - minPixel_) / (maxPixel_ - minPixel_) * (a.width() - 2 * side);
    const double y = a.center().y() - residual / limit_ * a.height() / 2;
    return {x, y};
}

void ResidualPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF a = area();
    p.setPen(Qt::black);
    p.drawText(QPointF(margin, margin + fontMetrics().ascent()),
               QString::fromUtf8("残差 (Å)  ±") + QString::fromStdString(platform::Format(limit_, "0.000")));
    p.drawRect(a);
    p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    p.drawLine(QPointF(a.left(), a.center().y()), QPointF(a.right(), a.center().y()));
    p.setRenderHint(QPainter::Antialiasing);
    for (const ResidualRow& r : rows_) {
        if (!std::isfinite(r.residual))
            continue;
        const QPointF at = place(r.pixel, r.residual);
        if (r.excluded) {
            p.setPen(Qt::gray);
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(at, pointRadius, pointRadius);
        } else if (r.rejected) {
            p.setPen(QPen(Qt::red, 1.5));
            p.drawLine(at + QPointF(-pointRadius, -pointRadius), at + QPointF(pointRadius, pointRadius));
            p.drawLine(at + QPointF(-pointRadius, pointRadius), at + QPointF(pointRadius, -pointRadius));
        } else {
            p.setPen(Qt::black);
            p.setBrush(Qt::black);
            p.drawEllipse(at, pointRadius, pointRadius);
        }
    }
}

} // namespace raylen
