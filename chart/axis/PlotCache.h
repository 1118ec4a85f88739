#pragma once
// The answers of the container's Transform event kept per custom axis, so
// that a slow container is asked once per value while the cache is on.
// SetPlotCache: 0 stops using it, 1 starts, 2 empties it.
#include <cmath>
#include <cstddef>
#include <optional>
#include <unordered_map>

namespace lumigra {

class PlotCache {
public:
    // False for a flag other than 0, 1 and 2.
    bool set(int flag)
    {
        switch (flag) {
        case 0: enabled_ = false; return true;
        case 1: enabled_ = true; return true;
        case 2: values_.clear(); return true;
        default: return false;
        }
    }
    bool enabled() const { return enabled_; }
    std::size_t size() const { return values_.size(); }

    // The cached answer for value, or the one ask() gives (kept while on).
    template <class Ask>
    std::optional<double> lookup(double value, Ask&& ask)
    {
        // NaN never equals itself, so it could never be found again.
        if (!enabled_ || std::isnan(value))
            return ask(value);
        if (auto it = values_.find(value); it != values_.end())
            return it->second;
        std::optional<double> answer = ask(value);
        // Bounded so that endless new values cannot exhaust memory; beyond
        // the bound values are simply asked again.
        if (enabled_ && values_.size() < kMaxValues)
            values_.emplace(value, answer);
        return answer;
    }

    static constexpr std::size_t kMaxValues = std::size_t(1) << 20;

private:
    bool enabled_ = false;
    std::unordered_map<double, std::optional<double>> values_;
};

} // namespace lumigra
