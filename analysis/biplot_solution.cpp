#include "analysis/biplot_solution.h"

#include "base/cp437.h"
#include "base/fixed_text.h"

namespace marvist {
namespace {

// A fixed-length field as shown in a picture: without blanks on either side.
std::string text(std::string_view cp437) { return cp437_to_utf8(without_leading_blanks(trimmed(cp437))); }

// The k-th name: the full name, else the label, else prefix and number.
std::string name(const std::vector<std::string>& full, const Vector<std::string>& labels, int k, const char* prefix) {
    if (static_cast<std::size_t>(k) <= full.size() && !full[k - 1].empty()) return full[k - 1];
    if (k <= labels.size()) {
        std::string label = text(labels(k));
        if (!label.empty()) return label;
    }
    std::string fallback(prefix);
    fallback.append(std::to_string(k));
    return fallback;
}

std::vector<double> row_of(const Matrix<double>& m, int i, int K) {
    std::vector<double> values(static_cast<std::size_t>(K));
    for (int k = 1; k <= K; ++k) values[k - 1] = m(i, k);
    return values;
}

}  // namespace

std::optional<BiplotSolution> biplot_solution(const JobResults& results, const CategoryNames& names) {
    if (!results.nsca || results.nsca->failure != NscaFailure::None || results.nsca->n_axes < 1) return std::nullopt;
    const NscaResult& r = *results.nsca;
    const JobTable& t = results.table;
    const int K = r.n_axes;
    BiplotSolution s{.title = text(results.job.title),
                     .row_variable = text(t.row_variable),
                     .column_variable = text(t.col_variable)};
    s.inertia_shares.assign(r.inertias.proportions.begin(), r.inertias.proportions.begin() + K);
    // Names given here, else the job's own full names (a table imported
    // with its full-names file).
    const std::vector<std::string>& rows = names.rows.empty() ? t.row_names : names.rows;
    const std::vector<std::string>& columns = names.columns.empty() ? t.col_names : names.columns;
    for (int i = 1; i <= t.I; ++i) {
        PlotCategory row{.name = name(rows, t.row_labels, i, "R"), .coordinates = row_of(r.row_standard, i, K)};
        // Standard coordinates have unit length on every axis: a row's share
        // of an axis's inertia is the square of its coordinate.
        for (double u : row.coordinates) row.contributions.push_back(u * u);
        s.rows.push_back(std::move(row));
    }
    for (int j = 1; j <= t.J; ++j) {
        s.columns.push_back({.name = name(columns, t.col_labels, j, "C"),
                             .coordinates = row_of(r.col_principal, j, K),
                             .contributions = row_of(r.col_axis_shares, j, K)});
    }
    for (int k = 1; k <= t.n_supp; ++k) {
        std::string label = t.n_supp == 1 ? std::string("Suppl") : "Suppl " + std::to_string(k);
        s.supplementary.push_back({.name = std::move(label), .coordinates = row_of(r.supp_principal, k, K)});
    }
    return s;
}

}  // namespace marvist
