#pragma once

#include <cstdint>
#include <string>

namespace lumigra {

// MaxLoop of a new control, and the least value it accepts.
inline constexpr std::int32_t kDefaultMaxLoop = 20000;
inline constexpr std::int32_t kMinimumMaxLoop = 1000;

// Iteration budget of one paint and the overlay message it may end with.
// Tick, grid and scale loops add their iterations; once the total would
// reach MaxLoop the addition is refused and the element stops drawing.
class LoopBudget {
public:
    enum class Overlay { None = 0, MaxLoopExceeded = 1, Message = 2 };

    explicit LoopBudget(std::int32_t maxLoop = kDefaultMaxLoop);

    // Start of a paint: counter and overlay cleared.
    void reset();

    // Adds n iterations; false (and the overlay set) when refused.
    bool add(std::int32_t n = 1);

    // An element's own overlay message; only the first overlay of a paint
    // is kept.
    void report(const std::string& message);

    std::int32_t maxLoop() const { return maxLoop_; }
    std::int32_t count() const { return count_; }
    Overlay overlay() const { return overlay_; }
    // The text to show at the lower-left corner, empty when none.
    std::string overlayText() const;

private:
    std::int32_t maxLoop_;
    std::int32_t count_ = 0;
    Overlay overlay_ = Overlay::None;
    std::string message_;
};

} // namespace lumigra
