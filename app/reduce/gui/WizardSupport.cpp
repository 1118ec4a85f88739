#include "reduce/gui/WizardSupport.h"

#include "shell/gui/Fonts.h"

#include <QFrame>

namespace raylen {

namespace {
constexpr int pageLeft = 120, pageTop = 120;
} // namespace

void bringToFront(const std::vector<QFrame*>& pages, size_t index)
{
    QFrame* page = pages.at(index);
    page->move(twipsToPixelsX(pageLeft), twipsToPixelsY(pageTop));
    page->raise();
    for (QFrame* other : pages)
        other->setVisible(other == page);
}

} // namespace raylen
