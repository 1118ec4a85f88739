#include "reduce/gui/WizardSupport.h"

#include "files/FileAccess.h"
#include "shell/gui/Fonts.h"

#include <QFrame>

namespace raylen {

namespace {
constexpr int pageLeft = 120, pageTop = 120;
} // namespace

QString qt(const std::string& text) { return QString::fromStdString(text); }

std::string namePart(const std::string& path)
{
    std::string name = path, directory;
    sfExtrFileName(path, name, directory);
    return name;
}

std::string directoryPart(const std::string& path)
{
    std::string name, directory;
    sfExtrFileName(path, name, directory);
    return directory;
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(width), twipsToPixelsY(height));
}

void bringToFront(const std::vector<QFrame*>& pages, size_t index)
{
    QFrame* page = pages.at(index);
    page->move(twipsToPixelsX(pageLeft), twipsToPixelsY(pageTop));
    page->raise();
    for (QFrame* other : pages)
        other->setVisible(other == page);
}

} // namespace raylen
