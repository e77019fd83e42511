// The storage of a job's table: labels, counts and supplementary predictors,
// sized from the job; and the check that the whole job fits before anything
// is allocated.
//
//   job_storage_fits   the whole job's storage, checked before anything is allocated
//   obtain_labels      row_labels, col_labels (six blanks each)
//   obtain_table       counts, supp_counts
//   exchange_labels    row and column labels of a transposed table
#pragma once

#include <cstdint>

#include "analysis/job_results.h"

namespace marvist {

// I, J        table size after the optional transposition
// n_supp_dim  columns of supp_counts (n_supp, or 1 when there are none)
// read_width  values of one read operation of the data file
// bytes       all arrays of the job and the read buffer together
// False when a size is negative or the arithmetic overflows. Besides these
// a job holds only what does not grow with it: a record of the data file
// (at most 64 MiB) and the buffers of its files.
bool job_storage_bytes(std::int64_t I, std::int64_t J, std::int64_t n_supp_dim, std::int64_t read_width,
                       std::uint64_t& bytes);
// True when those bytes fit the storage limit.
bool job_storage_fits(std::int64_t I, std::int64_t J, std::int64_t n_supp_dim, std::int64_t read_width);

// Each returns false when an array cannot be obtained (the memory error).
bool obtain_labels(JobTable& t, std::int64_t M);
bool obtain_table(JobTable& t, std::int64_t I, std::int64_t J, std::int64_t n_supp_dim);

// Exchanges row_labels(k) and col_labels(k) for every k: the table has been
// transposed.
void exchange_labels(JobTable& t);

}  // namespace marvist
