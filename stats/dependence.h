// Tau both ways with chi-square approximations, the contributions to Tau_a,
// Pearson's chi-square and the Light & Margolin analysis of variance; and
// the matrix that the correspondence analysis decomposes.
#pragma once

#include <cstdint>
#include <optional>

#include "base/matrix.h"
#include "stats/marginals.h"

namespace marvist {

// Absolute values below this count as zero.
inline constexpr double kDependenceZero = 1e-06;

// One line of the analysis of variance.
struct AnovaLine {
    double ms_total = 0.0;
    double ms_between = 0.0;
    double ms_within = 0.0;
    double tau = 0.0;  // ms_between / ms_total
};

struct DependenceResult {
    Matrix<double> centred_profiles;   // I x J, pi(i,j) = f(i,j)/f(.,j) - r(i)
    // I x J, pi(i,j) * sqrt(c(j)): what NSCA decomposes. A job hands its
    // storage on to NSCA (or releases it): empty in a job's results.
    Matrix<double> weighted_profiles;
    double s_r = 0.0;                  // 1 - sum r(i)^2
    double s_c = 0.0;                  // 1 - sum c(j)^2
    double numerator_a = 0.0;          // B_a = sum_j c(j) sum_i pi(i,j)^2
    double numerator_b = 0.0;          // B_b = sum_i r(i) sum_j (f(i,j)/f(i,.) - c(j))^2
    double tau_a = 0.0;                // rows dependent: B_a / S_r (0 when S_r is zero)
    double tau_b = 0.0;                // columns dependent: B_b / S_c
    double chi_tau_a = 0.0;            // (N - 1)(I - 1) Tau_a
    double chi_tau_b = 0.0;            // (N - 1)(J - 1) Tau_b
    long long df = 0;                  // (I - 1)(J - 1)
    double chi_square = 0.0;           // Pearson's X^2
    double total_inertia = 0.0;        // X^2 / N
    AnovaLine rows_dependent, cols_dependent;
    // Proportional contributions of each column and row to Tau_a (sum 1
    // unless Tau_a is zero; all 0 then).
    Vector<double> col_shares, row_shares;
    // Each column's and row's part of Tau_a's numerator, as the correspondence
    // analysis takes it: share * Tau_a * S_r.
    Vector<double> col_parts, row_parts;
    bool tau_a_zero = false;  // |Tau_a| below kDependenceZero: NSCA is skipped
};

// counts     I x J table, every row and column total positive
// marginals  totals, margins as proportions, and profiles of counts
// Empty when the storage for the result cannot be obtained (the memory error).
std::optional<DependenceResult> compute_dependence(const Matrix<std::int32_t>& counts, const Marginals& marginals,
                                                   int I, int J);

}  // namespace marvist
