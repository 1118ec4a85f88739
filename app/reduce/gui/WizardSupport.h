#pragma once
// Small pieces shared by the page-by-page task dialogs.
#include <cstddef>
#include <vector>

class QFrame;

namespace raylen {

// Shows one of the stacked pages at left 120, top 120 twips, in front.
void bringToFront(const std::vector<QFrame*>& pages, size_t index);

} // namespace raylen
