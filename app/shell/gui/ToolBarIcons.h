#pragma once
// The 16 × 16 tool bar images, drawn in the 16 colours of the Windows palette.
#include <QIcon>
#include <QString>

namespace raylen {

// The image of the button with this key (an empty icon for an unknown key).
QIcon toolBarIcon(const QString& key);
// The program's icon (About box and window icon).
QIcon programIcon();

} // namespace raylen
