#pragma once
// Small pieces every window and dialog uses: texts, twips geometry and the
// message of a failed step.
#include <QRect>
#include <QString>

#include <string>

namespace raylen {

QString qt(const std::string& text);
// A rectangle given in twips, in pixels of the screen.
QRect twipsRect(int left, int top, int width, int height);
// Shows a failure message with the critical icon; nothing for an empty one.
void showCritical(const std::string& message);

} // namespace raylen
