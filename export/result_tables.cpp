#include "export/result_tables.h"

#include <memory>
#include <utility>

#include "analysis/category_names.h"
#include "base/cp437.h"
#include "base/fixed_text.h"
#include "stats/chi_square_tail.h"

namespace marvist {
namespace {

// The UTF-8 texts that cells point into, shared by the tables' columns.
struct Texts {
    std::vector<std::string> rows, cols;  // the category names
    std::string row_variable, col_variable;
};
using SharedTexts = std::shared_ptr<const Texts>;

using CellOf = std::function<Cell(std::int64_t)>;

ResultColumn column(std::string name, FieldType type, std::string description, CellOf cell) {
    return {{std::move(name), type, std::move(description)}, std::move(cell)};
}

Cell optional_real(const std::optional<double>& value) { return value ? Cell(*value) : Cell(); }

// " (name)" after a description, when the variable has a name.
std::string naming(const std::string& variable) { return variable.empty() ? "" : " (" + variable + ")"; }

// Cells of an I x J grid column by column, as the matrices hold them (so
// that writing a large table reads its matrices in order): table row r is
// cell (r % I + 1, r / I + 1).
std::int64_t grid_i(std::int64_t r, std::int64_t I) { return r % I + 1; }
std::int64_t grid_j(std::int64_t r, std::int64_t I) { return r / I + 1; }

// The four columns that place a grid cell: row, row_label, column, column_label.
std::vector<ResultColumn> grid_place(const SharedTexts& t, std::int64_t I) {
    return {column("row", FieldType::Integer, "row number" + naming(t->row_variable),
                   [I](std::int64_t r) { return Cell(grid_i(r, I)); }),
            column("row_label", FieldType::String, "row name (its full name, or its label)",
                   [t, I](std::int64_t r) { return Cell(std::string_view(t->rows[static_cast<std::size_t>(r % I)])); }),
            column("column", FieldType::Integer, "column number" + naming(t->col_variable),
                   [I](std::int64_t r) { return Cell(grid_j(r, I)); }),
            column("column_label", FieldType::String, "column name (its full name, or its label)",
                   [t, I](std::int64_t r) { return Cell(std::string_view(t->cols[static_cast<std::size_t>(r / I)])); })};
}

CellOf grid_cells(const Matrix<double>& m, std::int64_t I) {
    return [&m, I](std::int64_t r) { return Cell(m(grid_i(r, I), grid_j(r, I))); };
}

// Rows first, then columns: the three columns that name a category.
std::vector<ResultColumn> category_place(const SharedTexts& t, std::int64_t I) {
    return {column("margin", FieldType::String, "row" + naming(t->row_variable) + " or column" + naming(t->col_variable),
                   [I](std::int64_t r) { return Cell(std::string_view(r < I ? "row" : "column")); }),
            column("index", FieldType::Integer, "number of the row or column",
                   [I](std::int64_t r) { return Cell(r < I ? r + 1 : r - I + 1); }),
            column("label", FieldType::String, "its name (its full name, or its label)", [t, I](std::int64_t r) {
                return Cell(std::string_view(r < I ? t->rows[static_cast<std::size_t>(r)]
                                                   : t->cols[static_cast<std::size_t>(r - I)]));
            })};
}

// One category value of rows (Vector of I) then columns (Vector of J).
CellOf category_cells(const Vector<double>& rows, const Vector<double>& cols, std::int64_t I) {
    return [&rows, &cols, I](std::int64_t r) { return Cell(r < I ? rows(r + 1) : cols(r - I + 1)); };
}

ResultTable table_of_counts(const JobTable& table, const SharedTexts& t) {
    const std::int64_t I = table.I, J = table.J;
    ResultTable out{"table", "Table", I * (J + table.n_supp), {}};
    out.columns = {
        column("row", FieldType::Integer, "row number" + naming(t->row_variable),
               [I](std::int64_t r) { return Cell(grid_i(r, I)); }),
        column("row_label", FieldType::String, "row name (its full name, or its label)",
               [t, I](std::int64_t r) { return Cell(std::string_view(t->rows[static_cast<std::size_t>(r % I)])); }),
        column("column", FieldType::Integer,
               "column number" + naming(t->col_variable) + "; supplementary columns follow the table's",
               [I](std::int64_t r) { return Cell(grid_j(r, I)); }),
        column("column_label", FieldType::String, "column name (its full name, or its label; none for a supplementary column)",
               [t, I, J](std::int64_t r) {
                   const std::int64_t j = grid_j(r, I);
                   return j <= J ? Cell(std::string_view(t->cols[static_cast<std::size_t>(j - 1)])) : Cell();
               }),
        column("count", FieldType::Integer, "the count",
               [&table, I, J](std::int64_t r) {
                   const std::int64_t i = grid_i(r, I), j = grid_j(r, I);
                   return Cell(std::int64_t{j <= J ? table.counts(i, j) : table.supp_counts(i, j - J)});
               }),
        column("supplementary", FieldType::Boolean, "a supplementary predictor column, outside every statistic",
               [I, J](std::int64_t r) { return Cell(grid_j(r, I) > J); }),
    };
    return out;
}

ResultTable margins_table(const JobResults& results, const SharedTexts& t) {
    const Marginals& m = results.marginals;
    const std::int64_t I = results.table.I;
    ResultTable out{"margins", "Margins", I + results.table.J, category_place(t, I)};
    out.columns.push_back(column("total", FieldType::Integer, "total count of the row or column", [&m, I](std::int64_t r) {
        return Cell(r < I ? m.row_totals(r + 1) : m.col_totals(r - I + 1));
    }));
    out.columns.push_back(column("proportion", FieldType::Number, "total divided by N",
                                 category_cells(m.row_margins, m.col_margins, I)));
    return out;
}

ResultTable profiles_table(const JobResults& results, const SharedTexts& t) {
    const std::int64_t I = results.table.I, J = results.table.J;
    ResultTable out{"profiles", "Profiles", I * J, grid_place(t, I)};
    out.columns.push_back(column("row_profile", FieldType::Number, "count divided by its row total",
                                 grid_cells(results.marginals.row_profiles, I)));
    out.columns.push_back(column("column_profile", FieldType::Number, "count divided by its column total",
                                 grid_cells(results.marginals.col_profiles, I)));
    if (results.dependence)
        out.columns.push_back(column("centred_column_profile", FieldType::Number,
                                     "column profile minus the row's proportion of N",
                                     grid_cells(results.dependence->centred_profiles, I)));
    return out;
}

// Tau_a, Tau_b, Pearson's X^2 and the total inertia; the permutation test's
// columns when there is one.
ResultTable dependence_table(const DependenceResult& d, const std::optional<PermutationResult>& permutation) {
    struct Measure {
        std::string_view name;
        double value;
        std::optional<double> statistic;
        const MonteCarloPValue* test;
    };
    auto measures = std::make_shared<std::vector<Measure>>();
    const PermutationResult* p = permutation ? &*permutation : nullptr;
    measures->push_back({"tau_a", d.tau_a, d.chi_tau_a, p ? &p->tau_a : nullptr});
    measures->push_back({"tau_b", d.tau_b, d.chi_tau_b, p ? &p->tau_b : nullptr});
    measures->push_back({"pearson_x2", d.chi_square, d.chi_square, p ? &p->pearson : nullptr});
    measures->push_back({"total_inertia", d.total_inertia, std::nullopt, nullptr});
    const long long df = d.df;
    auto at = [measures](std::int64_t r) -> const Measure& { return (*measures)[static_cast<std::size_t>(r)]; };

    ResultTable out{"dependence", "Dependence", static_cast<std::int64_t>(measures->size()), {}};
    out.columns = {
        column("measure", FieldType::String, "tau_a (rows dependent), tau_b (columns dependent), pearson_x2, total_inertia (X2/N)",
               [at](std::int64_t r) { return Cell(at(r).name); }),
        column("value", FieldType::Number, "the measure", [at](std::int64_t r) { return Cell(at(r).value); }),
        column("statistic", FieldType::Number, "chi-square statistic: (N-1)(I-1) Tau_a, (N-1)(J-1) Tau_b, X2",
               [at](std::int64_t r) { return optional_real(at(r).statistic); }),
        column("df", FieldType::Integer, "degrees of freedom (I-1)(J-1)",
               [at, df](std::int64_t r) { return at(r).statistic ? Cell(std::int64_t{df}) : Cell(); }),
        column("p_value", FieldType::Number, "upper-tail chi-square probability of the statistic",
               [at, df](std::int64_t r) {
                   return at(r).statistic ? optional_real(chi_square_upper_tail(*at(r).statistic, df)) : Cell();
               }),
    };
    if (p != nullptr) {
        const std::int64_t draws = p->permutations;
        const std::uint64_t seed = p->seed;
        out.columns.push_back(column("permutation_p_value", FieldType::Number,
                                     "Monte-Carlo p-value (1 + draws at least as extreme) / (permutations + 1)",
                                     [at](std::int64_t r) { return at(r).test ? Cell(at(r).test->p_value) : Cell(); }));
        out.columns.push_back(column("at_least_as_extreme", FieldType::Integer,
                                     "random tables whose statistic is at least the observed one",
                                     [at](std::int64_t r) {
                                         return at(r).test ? Cell(at(r).test->at_least_as_extreme) : Cell();
                                     }));
        out.columns.push_back(column("permutations", FieldType::Integer, "random tables drawn with the observed margins",
                                     [at, draws](std::int64_t r) { return at(r).test ? Cell(draws) : Cell(); }));
        out.columns.push_back(column("seed", FieldType::Integer, "seed of the random stream",
                                     [at, seed](std::int64_t r) { return at(r).test ? Cell(seed) : Cell(); }));
    }
    return out;
}

ResultTable contributions_table(const JobResults& results, const SharedTexts& t) {
    const DependenceResult& d = *results.dependence;
    const std::int64_t I = results.table.I;
    ResultTable out{"tau_contributions", "Contributions to Tau_a", I + results.table.J, category_place(t, I)};
    out.columns.push_back(column("share", FieldType::Number, "proportional contribution to Tau_a (the shares sum to 1)",
                                 category_cells(d.row_shares, d.col_shares, I)));
    out.columns.push_back(column("part", FieldType::Number, "its part of Tau_a's numerator: share times Tau_a times S_r",
                                 category_cells(d.row_parts, d.col_parts, I)));
    return out;
}

ResultTable anova_table(const DependenceResult& d) {
    auto line = [&d](std::int64_t r) -> const AnovaLine& { return r == 0 ? d.rows_dependent : d.cols_dependent; };
    ResultTable out{"anova", "Analysis of variance", 2, {}};
    out.columns = {
        column("dependent", FieldType::String, "rows or columns dependent",
               [](std::int64_t r) { return Cell(std::string_view(r == 0 ? "rows" : "columns")); }),
        column("ms_total", FieldType::Number, "MS(Total)", [line](std::int64_t r) { return Cell(line(r).ms_total); }),
        column("ms_between", FieldType::Number, "MS(Between)", [line](std::int64_t r) { return Cell(line(r).ms_between); }),
        column("ms_within", FieldType::Number, "MS(Within)", [line](std::int64_t r) { return Cell(line(r).ms_within); }),
        column("tau", FieldType::Number, "MS(Between)/MS(Total)", [line](std::int64_t r) { return Cell(line(r).tau); }),
    };
    return out;
}

ResultTable axes_table(const NscaResult& n) {
    const InertiaTable& t = n.inertias;
    auto value = [](const std::vector<double>& v) {
        return [&v](std::int64_t r) { return Cell(v[static_cast<std::size_t>(r)]); };
    };
    ResultTable out{"nsca_axes", "NSCA axes", t.usable_axes, {}};
    out.columns = {
        column("axis", FieldType::Integer, "axis number", [](std::int64_t r) { return Cell(r + 1); }),
        column("in_solution", FieldType::Boolean, "one of the axes of the solution",
               [&n](std::int64_t r) { return Cell(r < n.n_axes); }),
        column("singular_value", FieldType::Number, "singular value",
               [&n](std::int64_t r) { return Cell(n.singular_values(r + 1)); }),
        column("inertia", FieldType::Number, "principal inertia: the singular value squared", value(t.inertias)),
        column("proportion", FieldType::Number, "proportion of the total inertia", value(t.proportions)),
        column("cumulative", FieldType::Number, "cumulative proportion", value(t.cumulative)),
    };
    return out;
}

ResultTable row_coordinates_table(const JobResults& results, const SharedTexts& t) {
    const NscaResult& n = *results.nsca;
    const std::int64_t K = n.n_axes;
    ResultTable out{"row_coordinates", "Row coordinates", std::int64_t{results.table.I} * K, {}};
    out.columns = {
        column("row", FieldType::Integer, "row number" + naming(t->row_variable), [K](std::int64_t r) { return Cell(r / K + 1); }),
        column("row_label", FieldType::String, "row name (its full name, or its label)",
               [t, K](std::int64_t r) { return Cell(std::string_view(t->rows[static_cast<std::size_t>(r / K)])); }),
        column("axis", FieldType::Integer, "axis number", [K](std::int64_t r) { return Cell(r % K + 1); }),
        column("standard", FieldType::Number, "standard coordinate (left singular vector)",
               [&n, K](std::int64_t r) { return Cell(n.row_standard(r / K + 1, r % K + 1)); }),
        column("contribution", FieldType::Number, "the axis's part of the row's increase in predictability",
               [&n, K](std::int64_t r) { return Cell(n.row_axis_shares(r / K + 1, r % K + 1)); }),
    };
    return out;
}

ResultTable column_coordinates_table(const JobResults& results, const SharedTexts& t) {
    const NscaResult& n = *results.nsca;
    const std::int64_t K = n.n_axes, J = results.table.J;
    const std::int64_t columns = J + (n.supp_principal.empty() ? 0 : results.table.n_supp);
    ResultTable out{"column_coordinates", "Column coordinates", columns * K, {}};
    out.columns = {
        column("column", FieldType::Integer, "column number" + naming(t->col_variable) + "; supplementary columns follow",
               [K](std::int64_t r) { return Cell(r / K + 1); }),
        column("column_label", FieldType::String, "column name (its full name, or its label; none for a supplementary column)",
               [t, K, J](std::int64_t r) {
                   return r / K < J ? Cell(std::string_view(t->cols[static_cast<std::size_t>(r / K)])) : Cell();
               }),
        column("supplementary", FieldType::Boolean, "a supplementary predictor column, placed after the fact",
               [K, J](std::int64_t r) { return Cell(r / K >= J); }),
        column("axis", FieldType::Integer, "axis number", [K](std::int64_t r) { return Cell(r % K + 1); }),
        column("standard", FieldType::Number, "standard coordinate (right singular vector)",
               [&n, K, J](std::int64_t r) { return r / K < J ? Cell(n.col_standard(r / K + 1, r % K + 1)) : Cell(); }),
        column("principal", FieldType::Number, "principal coordinate",
               [&n, K, J](std::int64_t r) {
                   const std::int64_t j = r / K + 1, k = r % K + 1;
                   return Cell(j <= J ? n.col_principal(j, k) : n.supp_principal(j - J, k));
               }),
        column("contribution", FieldType::Number, "the column's share of the axis's principal inertia",
               [&n, K, J](std::int64_t r) { return r / K < J ? Cell(n.col_axis_shares(r / K + 1, r % K + 1)) : Cell(); }),
    };
    return out;
}

ResultTable categories_table(const JobResults& results, const SharedTexts& t) {
    const NscaResult& n = *results.nsca;
    const std::int64_t I = results.table.I;
    ResultTable out{"nsca_categories", "NSCA categories", I + results.table.J, category_place(t, I)};
    out.columns.push_back(column("explained", FieldType::Number,
                                 "part of the category's contribution to tau that the axes account for",
                                 category_cells(n.row_explained, n.col_explained, I)));
    out.columns.push_back(column("length", FieldType::Number, "length of a column's principal coordinates over the axes",
                                 [&n, I](std::int64_t r) { return r < I ? Cell() : Cell(n.col_lengths(r - I + 1)); }));
    return out;
}

ResultTable nsca_fit_table(const NscaResult& n) {
    ResultTable out{"nsca_fit", "NSCA fit", 2, {}};
    out.columns = {
        column("measure", FieldType::String, "g2 (log-likelihood ratio of the fitted counts) or rms (of the residuals)",
               [](std::int64_t r) { return Cell(std::string_view(r == 0 ? "g2" : "rms")); }),
        column("value", FieldType::Number, "the measure", [&n](std::int64_t r) { return Cell(r == 0 ? n.g2 : n.rms); }),
        column("df", FieldType::Integer, "degrees of freedom (J-K-1)(I-K-1)",
               [&n](std::int64_t r) { return r == 0 ? Cell(std::int64_t{n.df}) : Cell(); }),
        column("p_value", FieldType::Number, "upper-tail chi-square probability of G2",
               [&n](std::int64_t r) { return r == 0 ? optional_real(chi_square_upper_tail(n.g2, n.df)) : Cell(); }),
    };
    return out;
}

ResultTable implied_table(const JobResults& results, const SharedTexts& t) {
    const NscaResult& n = *results.nsca;
    const std::int64_t I = results.table.I;
    ResultTable out{"nsca_residuals", "Implied profiles and residuals", I * results.table.J, grid_place(t, I)};
    out.columns.push_back(column("implied", FieldType::Number, "implied centred column profile of the solution",
                                 grid_cells(n.implied, I)));
    out.columns.push_back(column("residual", FieldType::Number, "centred column profile minus the implied one",
                                 grid_cells(n.residuals, I)));
    return out;
}

ResultTable homogenised_table(const JobResults& results, const SharedTexts& t) {
    const HomogenisationResult& h = *results.homogenisation;
    const std::int64_t I = results.table.I, J = results.table.J;
    const double average = h.row_target / static_cast<double>(J);
    ResultTable out{"homogenised", "Homogenised table", I * J, grid_place(t, I)};
    out.columns.push_back(column("fitted", FieldType::Number, "the table with every row total N/I and column total N/J",
                                 grid_cells(h.fitted, I)));
    out.columns.push_back(column("rounded", FieldType::Integer, "fitted, rounded (halves up)",
                                 [&h, I](std::int64_t r) { return Cell(h.rounded(grid_i(r, I), grid_j(r, I))); }));
    out.columns.push_back(column("interaction", FieldType::Number, "fitted minus the average entry N/(IJ)",
                                 [&h, I, average](std::int64_t r) { return Cell(h.fitted(grid_i(r, I), grid_j(r, I)) - average); }));
    return out;
}

ResultTable sweeps_table(const HomogenisationResult& h) {
    auto sweep = [&h](std::int64_t r) -> const HomogenisationSweep& { return h.sweeps[static_cast<std::size_t>(r)]; };
    const auto last = static_cast<std::int64_t>(h.sweeps.size()) - 1;
    ResultTable out{"homogenisation", "Homogenisation sweeps", last + 1, {}};
    out.columns = {
        column("sweep", FieldType::Integer, "sweep number (a row step and a column step)",
               [](std::int64_t r) { return Cell(r + 1); }),
        column("row_deviation", FieldType::Number, "sum of |row total - N/I| after the sweep",
               [sweep](std::int64_t r) { return Cell(sweep(r).row_deviation); }),
        column("column_deviation", FieldType::Number, "sum of |column total - N/J| after its row step",
               [sweep](std::int64_t r) { return Cell(sweep(r).col_deviation); }),
        column("converged", FieldType::Boolean, "the iteration converged with this sweep",
               [&h, last](std::int64_t r) { return Cell(h.converged && r == last); }),
    };
    return out;
}

ResultTable symmetry_table(const JobResults& results, const SharedTexts& t) {
    const SymmetryResult& s = *results.symmetry;
    const std::int64_t I = results.table.I;
    ResultTable out{"symmetry", "Symmetric and skew-symmetric parts", I * results.table.J, grid_place(t, I)};
    out.columns.push_back(column("symmetric", FieldType::Number, "(count + mirrored count)/2", grid_cells(s.symmetric, I)));
    out.columns.push_back(column("skew_symmetric", FieldType::Number, "(count - mirrored count)/2", grid_cells(s.skew, I)));
    return out;
}

ResultTable symmetric_margins_table(const JobResults& results, const SharedTexts& t) {
    const SymmetryResult& s = *results.symmetry;
    ResultTable out{"symmetric_margins", "Margins of the symmetric part", results.table.I, {}};
    out.columns = {
        column("category", FieldType::Integer, "row and column number", [](std::int64_t r) { return Cell(r + 1); }),
        column("row_label", FieldType::String, "row name (its full name, or its label)",
               [t](std::int64_t r) { return Cell(std::string_view(t->rows[static_cast<std::size_t>(r)])); }),
        column("column_label", FieldType::String, "column name (its full name, or its label)",
               [t](std::int64_t r) { return Cell(std::string_view(t->cols[static_cast<std::size_t>(r)])); }),
        column("total", FieldType::Number, "row total of the symmetric part, equal to its column total",
               [&s](std::int64_t r) { return Cell(s.marginals(r + 1)); }),
    };
    return out;
}

}  // namespace

std::string text_of(std::string_view cp437) { return cp437_to_utf8(trimmed(cp437)); }

std::vector<ResultTable> result_tables(const JobResults& results, const std::optional<PermutationResult>& permutation) {
    std::vector<ResultTable> tables;
    const JobTable& table = results.table;
    if (table.I <= 0 || table.J <= 0 || table.counts.empty()) return tables;
    auto texts = std::make_shared<Texts>();
    // Full category names where the job has them (an imported table), else the labels.
    for (int i = 1; i <= table.I; ++i) texts->rows.push_back(row_name(table, i));
    for (int j = 1; j <= table.J; ++j) texts->cols.push_back(col_name(table, j));
    texts->row_variable = text_of(table.row_variable);
    texts->col_variable = text_of(table.col_variable);
    const SharedTexts t = texts;

    tables.push_back(table_of_counts(table, t));
    const bool profiles = !results.marginals.row_profiles.empty();
    if (profiles) {
        tables.push_back(margins_table(results, t));
        tables.push_back(profiles_table(results, t));
    }
    if (results.dependence) {
        tables.push_back(dependence_table(*results.dependence, permutation));
        tables.push_back(contributions_table(results, t));
        tables.push_back(anova_table(*results.dependence));
    }
    if (results.nsca && results.nsca->failure == NscaFailure::None) {
        const NscaResult& n = *results.nsca;
        tables.push_back(axes_table(n));
        tables.push_back(row_coordinates_table(results, t));
        tables.push_back(column_coordinates_table(results, t));
        tables.push_back(categories_table(results, t));
        tables.push_back(nsca_fit_table(n));
        tables.push_back(implied_table(results, t));
    }
    if (results.homogenisation) {
        tables.push_back(homogenised_table(results, t));
        tables.push_back(sweeps_table(*results.homogenisation));
    }
    if (results.symmetry) {
        tables.push_back(symmetry_table(results, t));
        tables.push_back(symmetric_margins_table(results, t));
    }
    return tables;
}

std::optional<PermutationResult> permutation_test_of(const JobResults& results, const PermutationOptions& options) {
    const JobTable& table = results.table;
    if (options.permutations <= 0 || !results.dependence) return std::nullopt;
    Matrix<std::int64_t> counts(table.I, table.J);
    for (std::int64_t j = 1; j <= table.J; ++j)
        for (std::int64_t i = 1; i <= table.I; ++i) counts(i, j) = table.counts(i, j);
    return permutation_test(counts, options);
}

}  // namespace marvist
