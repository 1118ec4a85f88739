#pragma once
// Names that unexpected faults of the fits carry in their messages. The
// fits run when the user presses a wizard's fit button, and the message
// names that button's handler, whichever front end ran the fit.

namespace raylen {

inline constexpr const char kFitButtonLabel[] = "cmdFit_Click";

} // namespace raylen
