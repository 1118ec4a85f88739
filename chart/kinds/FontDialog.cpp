// The font object's Dialog member: the chooser seeded from the font, the
// choice written back on OK.
#include <cmath>

#include "kinds/FontDialogLink.h"
#include "kinds/Resources.h"
#include "model/Builders.h"

namespace lumigra {

namespace {

FontDialogOpener registeredOpener = nullptr;

constexpr double kPointsPerMillimetre = 72.0 / 25.4;
// Sizes that went through the chooser unchanged keep their exact millimetres.
constexpr double kSameSize = 1e-6;

} // namespace

void setFontDialogOpener(FontDialogOpener opener) { registeredOpener = opener; }

FontDialogResult openFontDialog(FontChoice& font, int64_t ownerWindow)
{
    if (!registeredOpener)
        return FontDialogResult::Unavailable;
    return registeredOpener(font, ownerWindow);
}

Member fontDialogMember()
{
    return {"Dialog", dispid::font::Dialog, MemberKind::Method, VT_BOOL, false,
            [](Dispatchable& d, Args& a) {
                auto& f = static_cast<LgFontHolder&>(d);
                int64_t owner = isOmitted(a, 0) ? 0 : argI4(a[0]);
                FontChoice choice{f.typeFace_, f.size_ * kPointsPerMillimetre, f.bold_, f.italic_, f.underline_,
                                  f.strikeThrough_};
                const double seeded = choice.points;
                switch (openFontDialog(choice, owner)) {
                case FontDialogResult::NotAWindow: raiseError(lgErrNotWindow);
                case FontDialogResult::Chosen: break;
                default: return Variant::fromBool(false);
                }
                f.assign(f.typeFace_, choice.face);
                if (std::abs(choice.points - seeded) > kSameSize)
                    f.assign(f.size_, choice.points / kPointsPerMillimetre);
                f.assign(f.bold_, choice.bold);
                f.assign(f.italic_, choice.italic);
                f.assign(f.underline_, choice.underline);
                f.assign(f.strikeThrough_, choice.strikeOut);
                return Variant::fromBool(true);
            },
            nullptr, 0, 1};
}

} // namespace lumigra
