#pragma once
// Small pieces shared by the page-by-page task dialogs.
#include <QRect>
#include <QString>

#include <string>
#include <vector>

class QFrame;

namespace raylen {

QString qt(const std::string& text);
// The file-name and folder parts of a path (the path itself when it has no "/").
std::string namePart(const std::string& path);
std::string directoryPart(const std::string& path);
QRect twipsRect(int left, int top, int width, int height);
// Shows one of the stacked pages at left 120, top 120 twips, in front.
void bringToFront(const std::vector<QFrame*>& pages, size_t index);

} // namespace raylen
