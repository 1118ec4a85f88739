#include "shell/gui/Fonts.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace raylen {

void installFontSubstitutions()
{
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ ゴシック"), {"IPAGothic", "IPAゴシック", "DejaVu Sans Mono"});
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ Ｐゴシック"), {"IPAPGothic", "IPAPゴシック"});
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ 明朝"), {"IPAMincho", "IPA明朝"});
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ Ｐ明朝"), {"IPAPMincho", "IPAP明朝"});
    QFont::insertSubstitutions("Century", {"C059", "Century Schoolbook L"});
    QFont::insertSubstitutions("Terminal", {"DejaVu Sans Mono", "Nimbus Mono PS", "IPAGothic"});
}

QFont gothicFont(int pointSize)
{
    QFont font(QString::fromUtf8("ＭＳ ゴシック"), pointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

namespace {

double dpi(bool horizontal)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return 96.0;
    return horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
}

} // namespace

int twipsToPixelsX(int twips) { return static_cast<int>(std::lround(twips * dpi(true) / twipsPerInch)); }
int twipsToPixelsY(int twips) { return static_cast<int>(std::lround(twips * dpi(false) / twipsPerInch)); }

} // namespace raylen
