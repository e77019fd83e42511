// Random two-way tables with given margins (Patefield's algorithm): every
// table with these row and column totals, drawn with its probability under
// independence given the margins (the multiple hypergeometric distribution).
#pragma once

#include <cstdint>
#include <span>

#include "base/matrix.h"
#include "stats/random_stream.h"

namespace marvist {

// row_totals   I totals >= 0;  col_totals  J totals >= 0, same sum N < 2^53
// table        I x J, overwritten with the draw
// Cell by cell, row by row: cell (i,j) is the hypergeometric number of row
// i's remaining observations that fall into column j among those left in
// columns j ... J of rows i ... I. The last column and the last row take
// what is left. Time grows with I x J, not with N.
void draw_random_table(RandomStream& stream, std::span<const std::int64_t> row_totals,
                       std::span<const std::int64_t> col_totals, Matrix<std::int64_t>& table);

}  // namespace marvist
