#include "axis/LoopBudget.h"

namespace lumigra {

LoopBudget::LoopBudget(std::int32_t maxLoop)
    : maxLoop_(maxLoop)
{
}

void LoopBudget::reset()
{
    count_ = 0;
    overlay_ = Overlay::None;
    message_.clear();
}

bool LoopBudget::add(std::int32_t n)
{
    if (n < 0)
        n = 0;
    // Compared in 64 bits: the counter plus a large request must not wrap.
    if (static_cast<std::int64_t>(count_) + n >= maxLoop_) {
        if (overlay_ == Overlay::None)
            overlay_ = Overlay::MaxLoopExceeded;
        return false;
    }
    count_ += n;
    return true;
}

void LoopBudget::report(const std::string& message)
{
    if (overlay_ != Overlay::None)
        return;
    overlay_ = Overlay::Message;
    message_ = message;
}

std::string LoopBudget::overlayText() const
{
    switch (overlay_) {
    case Overlay::MaxLoopExceeded:
        return "中止:最大計算回数(MaxLoop=" + std::to_string(maxLoop_) + ")を超えたので描画を中止しました。";
    case Overlay::Message:
        return message_;
    case Overlay::None:
        break;
    }
    return {};
}

} // namespace lumigra
