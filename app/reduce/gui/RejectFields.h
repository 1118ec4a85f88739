#pragma once
// The three boxes of the opt-in sigma rejection (low σ, high σ,
// iterations) shared by the fitting dialogs; empty boxes leave it off.
#include "numeric/SigmaReject.h"

#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QWidget;

namespace raylen {

struct RejectFields {
    QLabel* label = nullptr;
    std::array<QLineEdit*, 3> boxes{};

    // Named prefix + "RejectLow", "RejectHigh", "RejectIter".
    void create(QWidget* parent, const std::string& objectPrefix);
    // Label 1200 twips wide, then the boxes side by side.
    void place(int left, int top);
    // False (after telling the user) when a box holds no valid value.
    bool read(RejectOptions& options, const std::string& caption) const;
};

} // namespace raylen
