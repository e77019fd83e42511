#include "analysis/job_arrays.h"

#include <algorithm>
#include <utility>

#include "analysis/job_record.h"
#include "base/storage.h"

namespace marvist {

bool job_storage_fits(std::int64_t I, std::int64_t J, std::int64_t n_supp_dim, std::int64_t read_width) {
    const std::int64_t M = std::max(I, J);
    std::uint64_t labels = 0, counts = 0, supp = 0, matrices = 0, rows = 0, cols = 0, buffer = 0;
    // Per row and per column of the analyses: two reals of margins and work
    // space, and one 64-bit total.
    constexpr std::uint64_t kPerCategory = 2 * sizeof(double) + sizeof(std::int64_t);
    return storage_bytes(M, 2 * sizeof(std::string), labels) &&
           storage_bytes(I, J, sizeof(std::int32_t), counts) &&
           storage_bytes(I, n_supp_dim, sizeof(std::int32_t), supp) &&
           storage_bytes(I, J, 4 * sizeof(double), matrices) &&  // freq, both profiles, work_matrix
           storage_bytes(I, kPerCategory, rows) && storage_bytes(J, kPerCategory, cols) &&
           storage_bytes(read_width, sizeof(std::int64_t), buffer) &&
           storage_fits({labels, counts, supp, matrices, rows, cols, buffer});
}

bool obtain_labels(JobArrays& a, std::int64_t M) {
    if (!obtain(a.row_labels, M) || !obtain(a.col_labels, M)) return false;
    std::fill(a.row_labels.begin(), a.row_labels.end(), std::string(kLabelLength, ' '));
    std::fill(a.col_labels.begin(), a.col_labels.end(), std::string(kLabelLength, ' '));
    return true;
}

bool obtain_table(JobArrays& a, std::int64_t I, std::int64_t J, std::int64_t n_supp_dim) {
    return obtain(a.supp_counts, I, n_supp_dim) && obtain(a.counts, I, J);
}

bool obtain_analysis_arrays(JobArrays& a, std::int64_t I, std::int64_t J) {
    return obtain(a.col_margins, J) && obtain(a.freq, I, J) && obtain(a.row_profiles, I, J) &&
           obtain(a.col_profiles, I, J) && obtain(a.col_totals, J) && obtain(a.row_totals, I) &&
           obtain(a.work_rows, I) && obtain(a.work_cols, J) && obtain(a.work_matrix, I, J) &&
           obtain(a.row_margins, I);
}

void exchange_labels(JobArrays& a) {
    for (std::int64_t k = 1; k <= a.row_labels.size(); ++k) std::swap(a.row_labels(k), a.col_labels(k));
}

void compute_marginals(JobArrays& a, std::int64_t I, std::int64_t J) {
    std::fill(a.row_margins.begin(), a.row_margins.end(), 0.0);
    std::fill(a.row_totals.begin(), a.row_totals.end(), std::int64_t{0});
    std::fill(a.col_margins.begin(), a.col_margins.end(), 0.0);
    std::fill(a.col_totals.begin(), a.col_totals.end(), std::int64_t{0});
    a.total_n = 0;
    for (std::int64_t i = 1; i <= I; ++i) {
        for (std::int64_t j = 1; j <= J; ++j) {
            const std::int32_t f = a.counts(i, j);
            a.freq(i, j) = f;
            a.total_n += f;
            a.row_totals(i) += f;
            a.col_totals(j) += f;
            a.row_margins(i) += a.freq(i, j);
            a.col_margins(j) += a.freq(i, j);
        }
    }
}

void compute_profiles(JobArrays& a, std::int64_t I, std::int64_t J) {
    const double N = static_cast<double>(a.total_n);
    for (std::int64_t j = 1; j <= J; ++j) {
        for (std::int64_t i = 1; i <= I; ++i) {
            a.row_profiles(i, j) = a.freq(i, j) / a.row_margins(i);
            a.col_profiles(i, j) = a.freq(i, j) / a.col_margins(j);
        }
    }
    for (std::int64_t i = 1; i <= I; ++i) a.row_margins(i) /= N;
    for (std::int64_t j = 1; j <= J; ++j) a.col_margins(j) /= N;
}

std::span<const std::string> first_labels(const Vector<std::string>& labels, std::int64_t n) {
    return {labels.data(), static_cast<std::size_t>(std::clamp<std::int64_t>(n, 0, labels.size()))};
}

}  // namespace marvist
