#include "stats/dependence.h"

#include <cmath>

#include "analysis/report_error.h"
#include "listing/matrix_print.h"

namespace marvist {
namespace {

// Absolute values below this count as zero.
constexpr double kZero = 1e-06;

// The integer product (N - 1) * (k - 1) as a real, formed in 64 bits so that
// tables of more than 2^31 observations keep their figures.
double count_product(std::int64_t total_n, int k) {
    std::int64_t product = 0;
    if (!__builtin_mul_overflow(total_n - 1, static_cast<std::int64_t>(k - 1), &product))
        return static_cast<double>(product);
    return static_cast<double>(total_n - 1) * static_cast<double>(k - 1);
}

// Writes one result block to the standard output copy (when there is one),
// then to the listing.
void write_both(RecordSink& listing, RunState& rs, std::string_view layout, std::initializer_list<Value> values) {
    if (rs.standard_output != nullptr) write_records(*rs.standard_output, layout, values);
    write_records(listing, layout, values);
}

// Turns raw contributions into proportions of Tau_a, prints them as one row
// with the given captions, then restores the raw values.
void print_contributions(Vector<double>& work, int n, double s_r, double tau_a,
                         std::span<const std::string> row_labels, std::span<const std::string> captions,
                         RecordSink& listing, RunState& rs) {
    for (int k = 1; k <= n; ++k) {
        work(k) = std::fabs(s_r) < kZero ? 0.0 : work(k) / s_r;
        work(k) = std::fabs(tau_a) < kZero ? 0.0 : work(k) / tau_a;
    }
    if (!print_labelled_matrix(work.data(), row_labels, captions, 1, n, ColumnLabels::Shown, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
    for (int k = 1; k <= n; ++k) work(k) = work(k) * tau_a * s_r;
}

}  // namespace

void compute_dependence(const Matrix<double>& freq, Matrix<double>& work_matrix,
                        const Matrix<double>& row_profiles, const Matrix<double>& col_profiles,
                        const Vector<double>& row_margins, const Vector<double>& col_margins,
                        std::span<const std::string> row_labels, std::span<const std::string> col_labels,
                        int I, int J, std::int64_t total_n, Vector<double>& work_rows,
                        Vector<double>& work_cols, RecordSink& listing, RunState& rs) {
    const double n = static_cast<double>(total_n);

    double s_c = 1.0;
    for (int j = 1; j <= J; ++j) {
        s_c -= col_margins(j) * col_margins(j);
        work_cols(j) = 0.0;
    }

    // Pearson's chi-square, the centred column profiles, the raw contributions
    // to Tau_a's numerator and Tau_b's numerator, in one pass.
    double chi_square = 0.0;
    double b_b = 0.0;
    double s_r = 1.0;
    for (int i = 1; i <= I; ++i) {
        work_rows(i) = 0.0;
        s_r -= row_margins(i) * row_margins(i);
        for (int j = 1; j <= J; ++j) {
            const double expected = col_margins(j) * row_margins(i) * n;
            const double d = freq(i, j) - expected;
            chi_square += d * d / expected;
            const double pi = col_profiles(i, j) - row_margins(i);
            work_matrix(i, j) = pi;
            const double contribution = pi * pi * col_margins(j);
            work_cols(j) += contribution;
            work_rows(i) += contribution;
            const double dev = row_profiles(i, j) - col_margins(j);
            b_b += dev * dev * row_margins(i);
        }
    }

    write_records(listing, "(/,' Centred column profiles',/,' (Mean = Marginal row proportions)')");
    if (!print_labelled_matrix_with_summary(work_matrix.data(), row_margins.data(), row_labels, col_labels, I, J, SummaryKind::Mean, ColumnLabels::Shown, listing)) fail(rs, ErrorCode::Memory);

    // The matrix that the correspondence analysis decomposes.
    for (int j = 1; j <= J; ++j) {
        const double weight = std::sqrt(col_margins(j));
        for (int i = 1; i <= I; ++i) work_matrix(i, j) = work_matrix(i, j) * weight;
    }

    const double total_inertia = chi_square / n;

    // Columns dependent.
    const double ms_between_b = b_b * 0.5;
    const double ms_total_b = s_c * 0.5;
    const double ms_within_b = ms_total_b - ms_between_b;
    const double tau_b = std::fabs(s_c) < kZero ? 0.0 : b_b / s_c;
    const double chi_tau_b = count_product(total_n, J) * tau_b;

    // Rows dependent.
    double b_a = 0.0;
    for (int j = 1; j <= J; ++j) b_a += work_cols(j);
    const double ms_between_a = b_a * 0.5;
    const double ms_total_a = s_r * 0.5;
    const double ms_within_a = ms_total_a - ms_between_a;
    const double tau_a = std::fabs(s_r) < kZero ? 0.0 : b_a / s_r;
    const double chi_tau_a = count_product(total_n, I) * tau_a;

    const long long df = static_cast<long long>(J - 1) * (I - 1);

    write_both(listing, rs,
               "(/,' Tau_a (Rows dependent)     ',F10.3,/,' Asympt. approx. chi square ',F25.3,' with df ',I3)",
               {tau_a, chi_tau_a, df});

    write_records(listing, "(/,' Proportional contribution to Tau_a of each column')");
    print_contributions(work_cols, J, s_r, tau_a, row_labels, col_labels, listing, rs);
    write_records(listing, "(/,' Proportional contribution to Tau_a of each row')");
    print_contributions(work_rows, I, s_r, tau_a, row_labels, row_labels, listing, rs);

    write_both(listing, rs,
               "(/,' Tau_b (Columns dependent)  ',F10.3,/,' Asympt. approx. chi square ',F25.3,' with df ',I3,/,"
               "' Note: Tau_b is only relevent if the data were column-','dependent data.',/,"
               "' Its value is supplied for informational purposes only.')",
               {tau_b, chi_tau_b, df});

    write_both(listing, rs,
               "(/,' Pearson X² (chi-square) ',F25.3,' with df ',I3,/,' Total inertia (X²/n)            ',F25.3,/)",
               {chi_square, df, total_inertia});

    static constexpr std::string_view kAnovaHeading =
        "(/,'        Analysis of Variance (Light & Margolin)',/,/,"
        "'                    MS(Total)   MS(Between)   MS(Within)   Tau',/,' ',63('─'))";
    static constexpr std::string_view kAnovaLines =
        "(' Rows dependent ',4F12.4,/,' Cols dependent ',4F12.4,/,/,' Tau = MS(Between)/MS(Total)',/)";
    const std::initializer_list<Value> anova = {ms_total_a, ms_between_a, ms_within_a, tau_a,
                                                ms_total_b, ms_between_b, ms_within_b, tau_b};
    if (rs.standard_output != nullptr) {
        write_records(*rs.standard_output, kAnovaHeading);
        write_records(*rs.standard_output, kAnovaLines, anova);
    }
    write_records(listing, kAnovaHeading);
    write_records(listing, kAnovaLines, anova);

    if (std::fabs(tau_a) < kZero) {
        warn(rs, ErrorCode::TauZero);
        rs.fatal_state = kFatalSkipNsca;
    }
}

}  // namespace marvist
