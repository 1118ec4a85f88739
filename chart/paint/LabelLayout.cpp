#include "paint/LabelLayout.h"

#include <algorithm>
#include <cmath>

#include "kinds/Resources.h"
#include "kinds/Text.h"
#include "paint/TextDrawing.h"

namespace lumigra {

namespace {

constexpr int kMaxBlanks = 1000;
constexpr double kHeightMeasure = 0.2;

bool onBaseline(int16_t align) { return align == lgFontAlignTop || align == lgFontAlignBottom; }

QString blanks(int16_t count) { return QString(std::clamp<int>(count, 0, kMaxBlanks), QLatin1Char(' ')); }

} // namespace

LabelLayout layoutLabel(const LgLabel& label, const DeviceUnits& units)
{
    LabelLayout out;
    out.angle = label.angle_;
    out.common = true;
    for (int i = 1; i < 5; ++i)
        if (!onBaseline(label.alignY_[static_cast<size_t>(i)]))
            out.common = false;
    for (double s : label.heightShift_)
        if (s != 0)
            out.common = false;

    struct Local {
        PlacedRun run;
        double x;     // along the baseline
        double shift; // across it
    };
    std::vector<Local> local;
    double x = 0, top = 0, bottom = 0;
    bool any = false;
    double prevSize = 0, prevDescent = 0;
    for (size_t i = 0; i < 5; ++i) {
        if (label.strings_[i].empty())
            continue;
        const LgObject* f = label.fonts_[i].get();
        DeviceFont font = f && f->objectId() == lgxFontHolder
            ? makeDeviceFont(static_cast<const LgFontHolder*>(f), units)
            : DeviceFont{};
        if (!font.draws)
            continue; // a run without a usable font shows nothing and takes no room
        const auto* holder = static_cast<const LgFontHolder*>(f);
        QString text = blanks(label.leadingSpace_[i]) + QString::fromStdString(label.strings_[i])
            + blanks(label.trailingSpace_[i]);
        const TextMetrics m = measureText(font, text, units);
        const int16_t align = label.alignY_[i];
        const double shift = std::isfinite(label.heightShift_[i]) ? label.heightShift_[i] : 0;
        double s = 0;
        bool centred = align == lgFontAlignCenter;
        bool hanging = false;
        if (!out.common) {
            const double size = holder->size_;
            if (align == lgFontAlignSuperscript) {
                // The run's baseline is lifted over the preceding run, whose
                // height measure is a fifth of its size.
                s = size / 2 + kHeightMeasure * prevSize + shift;
            } else if (align == lgFontAlignSubscript) {
                // The run hangs from this line: its top edge is there.
                s = size / 2 - prevDescent + shift;
                hanging = true;
            } else if (align == lgFontAlignCenter) {
                s = m.ascent / 2 + shift;
            } else {
                s = shift;
            }
        }
        double baseline = s;
        if (centred)
            baseline = s - (m.ascent - m.descent) / 2;
        else if (hanging)
            baseline = s - m.ascent;
        const double runTop = baseline + m.ascent;
        const double runBottom = baseline - m.descent;
        top = any ? std::max(top, runTop) : runTop;
        bottom = any ? std::min(bottom, runBottom) : runBottom;
        any = true;
        local.push_back(Local{PlacedRun{text, font, QPointF()}, x, baseline});
        x += m.width;
        prevSize = holder->size_;
        prevDescent = m.descent;
    }
    out.width = x;
    out.height = any ? top - bottom : 0;
    out.bottom = any ? bottom : 0;

    const double theta = out.angle / 180.0 * M_PI;
    const double c = std::cos(theta), sn = std::sin(theta);
    out.start = label.alignX_ == lgFontAlignRight ? -out.width : 0;
    for (Local& l : local) {
        const double along = out.start + l.x;
        l.run.at = QPointF(label.orgX_ + along * c - l.shift * sn, label.orgY_ + along * sn + l.shift * c);
        out.runs.push_back(std::move(l.run));
    }
    return out;
}

QPointF labelExtent(const LgLabel& label)
{
    // Fonts are sized in whole device units: measure at a hundred per millimetre.
    DeviceUnits fine;
    fine.perMmX = fine.perMmY = 100;
    LabelLayout l = layoutLabel(label, fine);
    return QPointF(l.width, l.height);
}

} // namespace lumigra
