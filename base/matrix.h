// Column-major matrices and vectors with 1-based accessors, as the numerical
// routines index them: element (i,j) of an m-row matrix is data()[(j-1)*m + i-1].
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace marvist {

template <class T>
class Matrix {
public:
    Matrix() = default;
    // rows x cols elements, value-initialised. Sizes must already have been
    // checked (see obtain() in listing/storage.h).
    Matrix(std::int64_t rows, std::int64_t cols)
        : rows_(rows), cols_(cols), v_(static_cast<std::size_t>(rows * cols)) {}

    T& operator()(std::int64_t i, std::int64_t j) { return v_[static_cast<std::size_t>((j - 1) * rows_ + (i - 1))]; }
    const T& operator()(std::int64_t i, std::int64_t j) const { return v_[static_cast<std::size_t>((j - 1) * rows_ + (i - 1))]; }

    std::int64_t rows() const { return rows_; }
    std::int64_t cols() const { return cols_; }
    bool empty() const { return v_.empty(); }
    T* data() { return v_.data(); }
    const T* data() const { return v_.data(); }
    // Pointer to the first element of column j (1-based).
    T* column(std::int64_t j) { return v_.data() + (j - 1) * rows_; }
    const T* column(std::int64_t j) const { return v_.data() + (j - 1) * rows_; }
    void release() { std::vector<T>().swap(v_); rows_ = cols_ = 0; }

private:
    std::int64_t rows_ = 0;
    std::int64_t cols_ = 0;
    std::vector<T> v_;
};

template <class T>
class Vector {
public:
    Vector() = default;
    explicit Vector(std::int64_t n) : v_(static_cast<std::size_t>(n)) {}

    T& operator()(std::int64_t i) { return v_[static_cast<std::size_t>(i - 1)]; }
    const T& operator()(std::int64_t i) const { return v_[static_cast<std::size_t>(i - 1)]; }

    std::int64_t size() const { return static_cast<std::int64_t>(v_.size()); }
    bool empty() const { return v_.empty(); }
    T* data() { return v_.data(); }
    const T* data() const { return v_.data(); }
    auto begin() { return v_.begin(); }
    auto end() { return v_.end(); }
    auto begin() const { return v_.begin(); }
    auto end() const { return v_.end(); }
    void release() { std::vector<T>().swap(v_); }

private:
    std::vector<T> v_;
};

}  // namespace marvist
