#include "shell/gui/ToolBarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

#include <functional>
#include <map>

namespace raylen {

namespace {

// The 16-colour palette.
const QColor black(0, 0, 0), navy(0, 0, 128), green(0, 128, 0), teal(0, 128, 128), maroon(128, 0, 0),
    purple(128, 0, 128), olive(128, 128, 0), silver(192, 192, 192), grey(128, 128, 128), blue(0, 0, 255),
    red(255, 0, 0), yellow(255, 255, 0), white(255, 255, 255);

using Drawing = std::function<void(QPainter&)>;

QPixmap draw(const Drawing& body)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    body(p);
    return pixmap;
}

void page(QPainter& p, int x, int y, int w, int h)
{
    p.setPen(black);
    p.setBrush(white);
    p.drawRect(x, y, w, h);
}

void axes(QPainter& p)
{
    p.setPen(black);
    p.drawLine(2, 1, 2, 13);
    p.drawLine(2, 13, 14, 13);
}

const std::map<QString, Drawing>& drawings()
{
    static const std::map<QString, Drawing> table{
        {"Open", [](QPainter& p) {
             p.setPen(black);
             p.setBrush(olive);
             p.drawRect(1, 5, 12, 8);
             p.setBrush(yellow);
             p.drawPolygon(QPolygon({QPoint(3, 8), QPoint(15, 8), QPoint(13, 13), QPoint(1, 13)}));
             p.setPen(navy);
             p.drawLine(9, 1, 12, 1);
             p.drawLine(12, 1, 13, 3);
         }},
        {"SaveAs", [](QPainter& p) {
             p.setPen(black);
             p.setBrush(navy);
             p.drawRect(1, 1, 13, 13);
             p.setBrush(white);
             p.drawRect(3, 1, 9, 6);
             p.setBrush(silver);
             p.drawRect(4, 9, 7, 5);
             p.fillRect(5, 10, 2, 3, navy);
         }},
        {"Print", [](QPainter& p) {
             page(p, 4, 1, 8, 6);
             p.setPen(black);
             p.setBrush(silver);
             p.drawRect(1, 7, 14, 6);
             p.fillRect(12, 9, 2, 1, green);
             page(p, 4, 11, 8, 3);
         }},
        {"Plot", [](QPainter& p) {
             axes(p);
             p.setPen(QPen(blue, 1));
             p.drawPolyline(QPolygon({QPoint(3, 10), QPoint(5, 9), QPoint(7, 4), QPoint(8, 3), QPoint(9, 6),
                                      QPoint(11, 9), QPoint(14, 10)}));
         }},
        {"Scan", [](QPainter& p) {
             p.fillRect(1, 1, 14, 14, grey);
             p.fillRect(1, 6, 14, 3, white);
             p.setPen(red);
             p.drawRect(2, 4, 11, 6);
         }},
        {"DarkFlat", [](QPainter& p) {
             p.fillRect(1, 1, 7, 14, black);
             p.fillRect(8, 1, 7, 14, silver);
             p.setPen(white);
             p.drawLine(3, 8, 6, 8);
             p.setPen(black);
             p.drawLine(10, 8, 13, 8);
             p.drawLine(11, 6, 12, 6);
             p.drawLine(11, 10, 12, 10);
         }},
        {"Header", [](QPainter& p) {
             page(p, 2, 1, 11, 14);
             p.setPen(navy);
             for (int y = 4; y <= 12; y += 2)
                 p.drawLine(4, y, y % 4 == 0 ? 11 : 9, y);
         }},
        {"Axis", [](QPainter& p) {
             axes(p);
             p.setPen(black);
             for (int x = 5; x <= 14; x += 3)
                 p.drawLine(x, 13, x, 14);
             for (int y = 3; y <= 12; y += 3)
                 p.drawLine(1, y, 2, y);
             p.setPen(red);
             p.drawLine(4, 11, 13, 3);
         }},
        {"Ident", [](QPainter& p) {
             axes(p);
             p.setPen(teal);
             p.drawLine(5, 12, 5, 3);
             p.drawLine(9, 12, 9, 7);
             p.drawLine(12, 12, 12, 5);
             p.setPen(red);
             p.drawLine(4, 2, 6, 2);
         }},
        {"Dispcor", [](QPainter& p) {
             axes(p);
             p.setPen(purple);
             p.drawLine(4, 11, 14, 2);
             p.setPen(black);
             p.drawLine(10, 11, 14, 11);
             p.drawLine(13, 10, 14, 11);
             p.drawLine(13, 12, 14, 11);
         }},
        {"Fluxcalib", [](QPainter& p) {
             axes(p);
             p.setPen(maroon);
             QPainterPath path(QPointF(3, 12));
             path.cubicTo(QPointF(6, 2), QPointF(9, 2), QPointF(14, 8));
             p.setBrush(Qt::NoBrush);
             p.drawPath(path);
         }},
        {"Normalize", [](QPainter& p) {
             axes(p);
             p.setPen(QPen(grey, 1, Qt::DotLine));
             p.drawLine(3, 5, 14, 5);
             p.setPen(green);
             p.drawPolyline(QPolygon({QPoint(3, 5), QPoint(6, 5), QPoint(7, 10), QPoint(8, 5), QPoint(14, 5)}));
         }},
        {"FFT", [](QPainter& p) {
             axes(p);
             p.setPen(blue);
             int heights[] = {10, 6, 3, 2, 4, 2, 1};
             for (int i = 0; i < 7; ++i)
                 p.drawLine(4 + i * 1 + i, 12, 4 + 2 * i, 12 - heights[i]);
         }},
        {"Result", [](QPainter& p) {
             page(p, 2, 1, 11, 14);
             p.setPen(black);
             p.drawLine(4, 4, 10, 4);
             p.setPen(red);
             p.drawLine(4, 7, 11, 7);
             p.setPen(black);
             p.drawLine(4, 10, 9, 10);
         }},
        {"Help", [](QPainter& p) {
             p.setPen(navy);
             p.setBrush(yellow);
             p.drawEllipse(1, 1, 13, 13);
             QFont font("DejaVu Sans", 9);
             font.setBold(true);
             p.setFont(font);
             p.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, "?");
         }},
    };
    return table;
}

} // namespace

QIcon toolBarIcon(const QString& key)
{
    auto found = drawings().find(key);
    if (found == drawings().end())
        return {};
    return QIcon(draw(found->second));
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        p.setPen(Qt::NoPen);
        p.setBrush(navy);
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
        // A slit spectrum: a bright band crossed by dark lines.
        QLinearGradient band(0, 0, 16, 0);
        band.setColorAt(0, blue);
        band.setColorAt(0.5, QColor(0, 200, 0));
        band.setColorAt(1, red);
        p.setBrush(band);
        p.drawRect(QRectF(1.5, 6, 13, 4));
        p.setPen(QPen(black, 0.8));
        p.drawLine(QPointF(5, 6), QPointF(5, 10));
        p.drawLine(QPointF(10.5, 6), QPointF(10.5, 10));
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace raylen
