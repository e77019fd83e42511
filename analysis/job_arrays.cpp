#include "analysis/job_arrays.h"

#include <algorithm>
#include <utility>

#include "analysis/job_record.h"
#include "base/storage.h"

namespace marvist {

bool job_storage_bytes(std::int64_t I, std::int64_t J, std::int64_t n_supp_dim, std::int64_t read_width,
                       std::uint64_t& bytes) {
    const std::int64_t M = std::max(I, J);
    std::uint64_t labels = 0, counts = 0, supp = 0, matrices = 0, rows = 0, cols = 0, buffer = 0;
    // Per row and per column of the analyses: two reals of margins and
    // contributions, and one 64-bit total.
    constexpr std::uint64_t kPerCategory = 2 * sizeof(double) + sizeof(std::int64_t);
    if (!(storage_bytes(M, 2 * sizeof(std::string), labels) && storage_bytes(I, J, sizeof(std::int32_t), counts) &&
          storage_bytes(I, n_supp_dim, sizeof(std::int32_t), supp) &&
          storage_bytes(I, J, 4 * sizeof(double), matrices) &&  // both profiles, centred and weighted
          storage_bytes(I, kPerCategory, rows) && storage_bytes(J, kPerCategory, cols) &&
          storage_bytes(read_width, sizeof(std::int64_t), buffer))) {
        return false;
    }
    bytes = 0;
    for (const std::uint64_t b : {labels, counts, supp, matrices, rows, cols, buffer}) {
        if (__builtin_add_overflow(bytes, b, &bytes)) return false;
    }
    return true;
}

bool job_storage_fits(std::int64_t I, std::int64_t J, std::int64_t n_supp_dim, std::int64_t read_width) {
    std::uint64_t bytes = 0;
    return job_storage_bytes(I, J, n_supp_dim, read_width, bytes) && storage_fits({bytes});
}

bool obtain_labels(JobTable& t, std::int64_t M) {
    if (!obtain(t.row_labels, M) || !obtain(t.col_labels, M)) return false;
    std::fill(t.row_labels.begin(), t.row_labels.end(), std::string(kLabelLength, ' '));
    std::fill(t.col_labels.begin(), t.col_labels.end(), std::string(kLabelLength, ' '));
    return true;
}

bool obtain_table(JobTable& t, std::int64_t I, std::int64_t J, std::int64_t n_supp_dim) {
    return obtain(t.supp_counts, I, n_supp_dim) && obtain(t.counts, I, J);
}

void exchange_labels(JobTable& t) {
    for (std::int64_t k = 1; k <= t.row_labels.size(); ++k) std::swap(t.row_labels(k), t.col_labels(k));
}

}  // namespace marvist
