#pragma once
// Two-dimensional arrays indexed (x, y) with lower and upper bounds per
// dimension, as the Basic arrays they stand for. Storage is row by row
// (x fastest), which is also the order of image data in a FITS file, so a
// whole image converts and renders in one linear pass.
#include "numeric/LargeBuffer.h"
#include "platform/BasicError.h"

#include <cstdint>
#include <vector>

namespace raylen {

template <class T>
class Array2D {
public:
    Array2D() = default;
    // Bounds 0 … width − 1, 0 … height − 1.
    Array2D(int32_t width, int32_t height) { redim(0, width - 1, 0, height - 1); }

    // ReDim (lowerX To upperX, lowerY To upperY); contents become zero.
    // An upper bound below its lower bound raises the subscript error.
    void redim(int32_t lowerX, int32_t upperX, int32_t lowerY, int32_t upperY)
    {
        if (upperX < lowerX || upperY < lowerY)
            platform::raise(platform::errSubscript);
        LargeVector<T> fresh(static_cast<size_t>(static_cast<int64_t>(upperX) - lowerX + 1) *
                             static_cast<size_t>(static_cast<int64_t>(upperY) - lowerY + 1));
        data_.swap(fresh);
        lowerX_ = lowerX;
        upperX_ = upperX;
        lowerY_ = lowerY;
        upperY_ = upperY;
    }

    bool empty() const { return data_.empty(); }
    int32_t lowerX() const { return lowerX_; }
    int32_t upperX() const { return upperX_; }
    int32_t lowerY() const { return lowerY_; }
    int32_t upperY() const { return upperY_; }
    int32_t width() const { return empty() ? 0 : upperX_ - lowerX_ + 1; }
    int32_t height() const { return empty() ? 0 : upperY_ - lowerY_ + 1; }
    bool sameBounds(const Array2D& other) const
    {
        return lowerX_ == other.lowerX_ && upperX_ == other.upperX_ && lowerY_ == other.lowerY_ &&
               upperY_ == other.upperY_ && empty() == other.empty();
    }
    bool contains(int64_t x, int64_t y) const
    {
        return !empty() && x >= lowerX_ && x <= upperX_ && y >= lowerY_ && y <= upperY_;
    }

    // Unchecked element access for inner loops.
    T& operator()(int32_t x, int32_t y) { return data_[offset(x, y)]; }
    const T& operator()(int32_t x, int32_t y) const { return data_[offset(x, y)]; }
    // Checked access: the subscript error outside the bounds.
    T& at(int64_t x, int64_t y)
    {
        if (!contains(x, y))
            platform::raise(platform::errSubscript);
        return data_[offset(static_cast<int32_t>(x), static_cast<int32_t>(y))];
    }
    const T& at(int64_t x, int64_t y) const { return const_cast<Array2D*>(this)->at(x, y); }

    // Row y as a contiguous run of width() values.
    T* row(int32_t y) { return data_.data() + offset(lowerX_, y); }
    const T* row(int32_t y) const { return data_.data() + offset(lowerX_, y); }
    T* data() { return data_.data(); }
    const T* data() const { return data_.data(); }
    size_t size() const { return data_.size(); }
    void swap(Array2D& other) noexcept
    {
        data_.swap(other.data_);
        std::swap(lowerX_, other.lowerX_);
        std::swap(upperX_, other.upperX_);
        std::swap(lowerY_, other.lowerY_);
        std::swap(upperY_, other.upperY_);
    }

private:
    size_t offset(int32_t x, int32_t y) const
    {
        return static_cast<size_t>(y - lowerY_) * static_cast<size_t>(upperX_ - lowerX_ + 1) +
               static_cast<size_t>(x - lowerX_);
    }

    LargeVector<T> data_;
    int32_t lowerX_ = 0, upperX_ = -1, lowerY_ = 0, upperY_ = -1;
};

using SingleImage = Array2D<float>;

} // namespace raylen
