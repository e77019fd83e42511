// Working storage for a job. Every array whose size comes from the user's
// table goes through obtain(), which refuses requests whose size arithmetic
// overflows or that exceed the storage limit, and catches std::bad_alloc.
// A refusal is the memory error (code 37) of the caller.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <new>

#include "base/matrix.h"

namespace marvist {

// Bytes a job may hold at once. Defaults to half of the physical memory.
std::uint64_t storage_limit();
// Tests lower the limit to reach the memory-error paths; 0 restores the default.
void set_storage_limit(std::uint64_t bytes);

// Bytes of count elements of elem_size bytes each; false on overflow.
bool storage_bytes(std::int64_t count, std::uint64_t elem_size, std::uint64_t& bytes);
// Bytes of rows x cols elements; false on a negative size or overflow.
bool storage_bytes(std::int64_t rows, std::int64_t cols, std::uint64_t elem_size, std::uint64_t& bytes);
// True when the sum of the given byte counts fits the storage limit (no overflow).
bool storage_fits(std::initializer_list<std::uint64_t> byte_counts);

template <class T>
bool obtain(Matrix<T>& m, std::int64_t rows, std::int64_t cols) {
    std::uint64_t bytes = 0;
    if (!storage_bytes(rows, cols, sizeof(T), bytes) || !storage_fits({bytes})) return false;
    try {
        m = Matrix<T>(rows, cols);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

template <class T>
bool obtain(Vector<T>& v, std::int64_t n) {
    std::uint64_t bytes = 0;
    if (!storage_bytes(n, sizeof(T), bytes) || !storage_fits({bytes})) return false;
    try {
        v = Vector<T>(n);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace marvist
