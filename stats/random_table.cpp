#include "stats/random_table.h"

#include <stdexcept>
#include <vector>

#include "stats/hypergeometric.h"

namespace marvist {

void draw_random_table(RandomStream& stream, std::span<const std::int64_t> row_totals,
                       std::span<const std::int64_t> col_totals, Matrix<std::int64_t>& table) {
    const auto I = static_cast<std::int64_t>(row_totals.size());
    const auto J = static_cast<std::int64_t>(col_totals.size());
    // What is left of each column total for the rows not yet drawn, and of
    // all of them together.
    std::vector<std::int64_t> left(col_totals.begin(), col_totals.end());
    std::int64_t left_total = 0, row_sum = 0;
    bool negative = false;
    for (const std::int64_t c : col_totals) {
        negative = negative || c < 0;
        left_total += c;
    }
    for (const std::int64_t r : row_totals) {
        negative = negative || r < 0;
        row_sum += r;
    }
    if (negative || row_sum != left_total) throw std::invalid_argument("draw_random_table: inconsistent margins");
    if (I == 0 || J == 0) return;

    for (std::int64_t i = 1; i < I; ++i) {
        std::int64_t row_left = row_totals[static_cast<std::size_t>(i - 1)];
        std::int64_t population = left_total;  // left in columns j ... J
        left_total -= row_left;
        for (std::int64_t j = 1; j < J; ++j) {
            std::int64_t& column = left[static_cast<std::size_t>(j - 1)];
            const std::int64_t x = draw_hypergeometric(stream, column, population - column, row_left);
            table(i, j) = x;
            population -= column;
            column -= x;
            row_left -= x;
        }
        table(i, J) = row_left;
        left[static_cast<std::size_t>(J - 1)] -= row_left;
    }
    for (std::int64_t j = 1; j <= J; ++j) table(I, j) = left[static_cast<std::size_t>(j - 1)];
}

}  // namespace marvist
