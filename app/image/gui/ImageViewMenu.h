#pragma once
// The image window's view menu: zoom steps, the stretch curve and the
// display limits. The design's display (1:1, linear between the main
// window's limits) is where it starts.
#include "display/Stretch.h"

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace raylen {

// The limits a stretch uses: 0 for the main window's 最大 and 最小, else
// the central percentage of the pixel values.
constexpr double mainWindowLimits = 0.0;
constexpr std::array<double, 5> limitPercents{99.9, 99.5, 99.0, 98.0, 95.0};
// The zoom factors offered; the wheel reaches the powers of two between.
constexpr std::array<double, 4> menuZooms{0.5, 1.0, 2.0, 4.0};

struct ViewChoice {
    bool fit = false;
    double zoom = 1.0;
    StretchCurve curve = StretchCurve::Linear;
    double percent = mainWindowLimits;
    // The design's own picture: the render bytes as they are.
    bool rendered() const { return curve == StretchCurve::Linear && percent == mainWindowLimits; }
};

class ImageViewMenu : public QObject {
public:
    explicit ImageViewMenu(QWidget* owner);

    QMenu* menu = nullptr;
    QAction* mnuZoomFit = nullptr;
    std::array<QAction*, menuZooms.size()> mnuZoom{};
    std::array<QAction*, 4> mnuCurve{};
    QAction* mnuLimitsMain = nullptr;
    std::array<QAction*, limitPercents.size()> mnuLimits{};

    // The user picked a zoom (fit or a factor).
    std::function<void(bool fit, double factor)> onZoom;
    // The user picked a curve or limits.
    std::function<void(StretchCurve curve, double percent)> onStretch;

    // Check marks for the view shown (a zoom the menu does not offer leaves
    // none of its zoom items checked).
    void showChoice(const ViewChoice& choice);

private:
    void stretchPicked();

    QActionGroup* zooms_ = nullptr;
    QActionGroup* curves_ = nullptr;
    QActionGroup* limits_ = nullptr;
};

} // namespace raylen
