// The font chooser behind the font object's Dialog member.
#include <QFontDialog>
#include <QWidget>

#include <cmath>

#include "kinds/FontDialogLink.h"

namespace lumigra {

namespace {

// Qt names a face installed by two foundries "Face [foundry]"; the font
// keeps the face name alone.
QString faceName(const QFont& font)
{
    QString family = font.family();
    const qsizetype bracket = family.lastIndexOf(QStringLiteral(" ["));
    if (bracket > 0 && family.endsWith(QLatin1Char(']')))
        family.truncate(bracket);
    return family;
}

FontDialogResult chooseFont(FontChoice& font, int64_t ownerWindow)
{
    QWidget* owner = nullptr;
    if (ownerWindow != 0) {
        owner = QWidget::find(static_cast<WId>(ownerWindow));
        if (!owner)
            return FontDialogResult::NotAWindow;
    }
    QFont seed(QString::fromStdString(font.face));
    if (font.points > 0)
        seed.setPointSizeF(font.points);
    seed.setBold(font.bold);
    seed.setItalic(font.italic);
    seed.setUnderline(font.underline);
    seed.setStrikeOut(font.strikeOut);
    QFontDialog dialog(seed, owner);
    // The chooser shows a stored face or size by the nearest it offers; a
    // face or size left alone keeps the stored value.
    const QFont shown = dialog.currentFont();
    if (dialog.exec() != QDialog::Accepted)
        return FontDialogResult::Cancelled;
    const QFont chosen = dialog.currentFont();
    if (chosen.family() != shown.family())
        font.face = faceName(chosen).toStdString();
    if (chosen.pointSizeF() != shown.pointSizeF() && chosen.pointSizeF() > 0)
        font.points = chosen.pointSizeF();
    font.bold = chosen.bold();
    font.italic = chosen.italic();
    font.underline = chosen.underline();
    font.strikeOut = chosen.strikeOut();
    return FontDialogResult::Chosen;
}

struct FontDialogRegistration {
    FontDialogRegistration() { setFontDialogOpener(&chooseFont); }
} fontDialogRegistration;

} // namespace

} // namespace lumigra
