#include "resources/DeviceFont.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <mutex>

#include "kinds/Resources.h"
#include "resources/DeviceColour.h"

namespace lumigra {

void installFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const struct {
            const char* face;
            const char* installed;
        } table[] = {
            {"ＭＳ 明朝", "IPAMincho"},
            {"ＭＳ Ｐ明朝", "IPAPMincho"},
            {"ＭＳ ゴシック", "IPAGothic"},
            {"ＭＳ Ｐゴシック", "IPAPGothic"},
            {"Century", "C059"},
            {"Terminal", "DejaVu Sans Mono"},
        };
        for (const auto& s : table)
            QFont::insertSubstitution(QString::fromUtf8(s.face), QString::fromUtf8(s.installed));
    });
}

DeviceFont makeDeviceFont(const LgFontHolder* holder, const DeviceUnits& units)
{
    DeviceFont d;
    if (!holder || !holder->enabled_)
        return d;
    installFontSubstitutions();
    double height = holder->size_ * units.perMmY;
    if (!std::isfinite(height) || height < 1)
        return d; // too small to show on this device
    QFont font(QString::fromStdString(holder->typeFace_));
    font.setPixelSize(static_cast<int>(std::lround(std::min(height, 100000.0))));
    font.setBold(holder->bold_);
    font.setItalic(holder->italic_);
    font.setStrikeOut(holder->strikeThrough_);
    font.setUnderline(holder->underline_);
    if ((holder->pitchAndFamily_ & 3) == lgPitchFixed)
        font.setFixedPitch(true);
    double width = holder->width_ * units.perMmX;
    if (std::isfinite(width) && width >= 1) {
        // Width is the average character width; stretch the face to it.
        double natural = QFontMetricsF(font).averageCharWidth();
        if (natural > 0)
            font.setStretch(std::clamp(static_cast<int>(std::lround(100 * width / natural)), 1, 4000));
    }
    d.draws = true;
    d.font = font;
    d.colour = deviceColour(holder->textColor_, units.monochrome);
    d.box = holder->bkColorEnabled_;
    d.boxColour = deviceColour(holder->bkColor_, units.monochrome);
    return d;
}

} // namespace lumigra
