#pragma once
// The module's math object returned by GetMathObject: the scale functions
// the charts use, offered to the host.
#include "model/DispatchObject.h"

namespace lumigra {

using platform::com::Guid;
using platform::com::IDispatch;

class LgMath : public DispatchObject {
public:
    const MemberTable& members() const override;
    std::string errorSource() const override { return "LumigraMath"; }
};

// Standard normal quantile: the z with P(Z <= z) = p, 0 < p < 1.
double normalQuantile(double p);

} // namespace lumigra
