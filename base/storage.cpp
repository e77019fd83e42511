#include "base/storage.h"

#include <unistd.h>


namespace marvist {
namespace {

std::uint64_t g_limit = 0;  // 0: not yet set, use the default

std::uint64_t default_limit() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page_size <= 0) return std::uint64_t{1} << 31;
    return static_cast<std::uint64_t>(pages) / 2 * static_cast<std::uint64_t>(page_size);
}

}  // namespace

std::uint64_t storage_limit() {
    if (g_limit == 0) g_limit = default_limit();
    return g_limit;
}

void set_storage_limit(std::uint64_t bytes) { g_limit = bytes; }

bool storage_bytes(std::int64_t count, std::uint64_t elem_size, std::uint64_t& bytes) {
    if (count < 0) return false;
    return !__builtin_mul_overflow(static_cast<std::uint64_t>(count), elem_size, &bytes);
}

bool storage_bytes(std::int64_t rows, std::int64_t cols, std::uint64_t elem_size, std::uint64_t& bytes) {
    if (rows < 0 || cols < 0) return false;
    std::uint64_t count = 0;
    if (__builtin_mul_overflow(static_cast<std::uint64_t>(rows), static_cast<std::uint64_t>(cols), &count)) return false;
    return !__builtin_mul_overflow(count, elem_size, &bytes);
}

bool storage_fits(std::initializer_list<std::uint64_t> byte_counts) {
    const std::uint64_t limit = storage_limit();
    std::uint64_t total = 0;
    for (std::uint64_t b : byte_counts) {
        if (b > limit - total) return false;
        total += b;
    }
    return true;
}

}  // namespace marvist
