#pragma once
// The identification's residuals (table wavelength − fit) against pixel,
// drawn on the fit page so that a bad line stands out before the solution
// is applied: fitted lines black, rejected red crosses, excluded grey rings.
#include "reduce/DispersionResiduals.h"

#include <QPointF>
#include <QWidget>

#include <vector>

namespace raylen {

class ResidualPlot : public QWidget {
public:
    explicit ResidualPlot(QWidget* parent = nullptr);
    void setResiduals(const ResidualTable& table);
    void clear();
    const std::vector<ResidualRow>& rows() const { return rows_; }
    // Where a point is drawn (widget pixels).
    QPointF place(double pixel, double residual) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF area() const;
    std::vector<ResidualRow> rows_;
    double minPixel_ = 0, maxPixel_ = 1, limit_ = 1;
};

} // namespace raylen
