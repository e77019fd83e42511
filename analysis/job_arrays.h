// The arrays of one job: labels, the table, and the marginals and profiles
// the analyses start from. All are sized from the job and released when the
// object goes out of scope.
//
//   job_storage_fits         the whole job's storage, checked before anything is allocated
//   obtain_labels            row_labels, col_labels (six blanks each)
//   obtain_table             counts, supp_counts
//   obtain_analysis_arrays   freq, totals, margins, profiles, work arrays
//   compute_marginals        freq, totals, total_n, margins as totals
//   compute_profiles         profiles; margins become proportions
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/matrix.h"

namespace marvist {

struct JobArrays {
    // Declared in the order of allocation, so that they are released in the
    // reverse order.
    Vector<std::string> row_labels, col_labels;       // M = max(I, J) entries of six characters
    Matrix<std::int32_t> supp_counts;                 // I x n_supp_dim
    Matrix<std::int32_t> counts;                      // I x J
    Vector<double> col_margins;                       // J: totals as reals, then proportions
    Matrix<double> freq;                              // I x J: counts as reals
    Matrix<double> row_profiles, col_profiles;        // I x J
    Vector<std::int64_t> col_totals, row_totals;      // J, I
    Vector<double> work_rows, work_cols;              // I, J
    Matrix<double> work_matrix;                       // I x J
    Vector<double> row_margins;                       // I
    std::int64_t total_n = 0;                         // N
};

// I, J        table size after the optional transposition
// n_supp_dim  columns of supp_counts (n_supp, or 1 when there are none)
// read_width  values of one read operation of the data file
// True when all arrays of the job, and the read buffer, fit the storage limit
// together (no size arithmetic overflows; negative sizes do not fit).
bool job_storage_fits(std::int64_t I, std::int64_t J, std::int64_t n_supp_dim, std::int64_t read_width);

// Each returns false when an array cannot be obtained (the memory error).
bool obtain_labels(JobArrays& a, std::int64_t M);
bool obtain_table(JobArrays& a, std::int64_t I, std::int64_t J, std::int64_t n_supp_dim);
bool obtain_analysis_arrays(JobArrays& a, std::int64_t I, std::int64_t J);

// Exchanges row_labels(k) and col_labels(k) for every k: the table has been
// transposed.
void exchange_labels(JobArrays& a);

// freq = counts; row and column totals, total_n; row_margins and col_margins
// hold the totals as reals.
void compute_marginals(JobArrays& a, std::int64_t I, std::int64_t J);

// Row and column profiles; then the margins become proportions of N.
// Every total must be positive.
void compute_profiles(JobArrays& a, std::int64_t I, std::int64_t J);

// The first n labels, as the printers and analyses take them.
std::span<const std::string> first_labels(const Vector<std::string>& labels, std::int64_t n);

}  // namespace marvist
