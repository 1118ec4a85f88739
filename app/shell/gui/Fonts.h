#pragma once
// The Windows font names the windows ask for, mapped to installed faces, and
// the twips of the window sizes.
class QFont;

namespace raylen {

// Maps "ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝", "Century" and
// "Terminal" to installed faces; call once after the application starts.
void installFontSubstitutions();

// The fixed-pitch face of the read-outs and the header viewer.
QFont gothicFont(int pointSize = 9);

// 1440 twips per inch at the screen's logical resolution.
inline constexpr double twipsPerInch = 1440.0;
int twipsToPixelsX(int twips);
int twipsToPixelsY(int twips);

} // namespace raylen
