#pragma once
// The font object's Dialog member asks a font chooser that lives in a layer
// with widgets; that layer registers it here when the library loads.
#include <cstdint>
#include <string>

namespace lumigra {

// What the chooser shows and gives back; the size in points.
struct FontChoice {
    std::string face;
    double points = 0;
    bool bold = false, italic = false, underline = false, strikeOut = false;
};

enum class FontDialogResult { Chosen, Cancelled, NotAWindow, Unavailable };

// ownerWindow is a window handle (0: no owner).
using FontDialogOpener = FontDialogResult (*)(FontChoice& font, int64_t ownerWindow);

void setFontDialogOpener(FontDialogOpener opener);
FontDialogResult openFontDialog(FontChoice& font, int64_t ownerWindow);

} // namespace lumigra
