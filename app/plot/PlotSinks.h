#pragma once
// Where the measurement routines send their results: the result window.
// Their overlay goes through the spectrum view. Kept small so the routines
// run without widgets (CLI, tests).
#include "view/SpectrumView.h"

#include <string>

namespace raylen {

struct ResultWriter {
    virtual ~ResultWriter() = default;
    virtual std::string sfMessage(const std::string& strMessage) = 0;
};

} // namespace raylen
