#pragma once
// The chart rendered into a new picture (CreatePicture) or onto the
// clipboard (CopyToClipboard): a replayable drawing record (29), a bitmap
// of the screen (30) or an SVG document (91).
#include <QByteArray>
#include <QPicture>
#include <QPixmap>
#include <QSize>

#include <optional>

#include "paint/DrawContext.h"

namespace lumigra {

class ChartDocument;

struct ChartPicture {
    int type = 0;
    double widthMm = 0;  // dx and dy in force
    double heightMm = 0;
    QSize deviceSize;    // screen pixels of dx x dy
    QPicture picture;    // 29
    QPixmap pixmap;      // 30
    QByteArray svg;      // 91
};

// Empty for an unknown type or when the picture cannot be made (an empty
// size, or a bitmap without a screen).
// Custom axes are placed through hook, as on the screen.
std::optional<ChartPicture> createPicture(ChartDocument& control, int type, double dx, double dy, bool exact,
                                          AxisTransformHook hook = {});

// The MIME type under which a type 29 picture goes on the clipboard.
inline constexpr const char* kPictureMimeType = "application/x-qt-picture";

// Empties the clipboard, then places the picture; an unknown type only
// empties it and succeeds. False when there is no clipboard or rendering fails.
bool copyToClipboard(ChartDocument& control, int type, double dx, double dy, bool exact,
                     AxisTransformHook hook = {});

} // namespace lumigra
