// Contingency tables of counts for the tests of the decomposition's two
// paths: the kinds that stress the replayed vectors, and the NSCA matrix
// of a table.
#pragma once

#include <cstdint>
#include <string>

#include "base/matrix.h"

namespace marvist::test {

enum class TableKind {
    Random,           // counts 0..20, no empty row or column
    BlockDiagonal,    // two or three blocks of counts, zeros elsewhere
    EqualMargins,     // a sum of permutation matrices: every margin equal (square)
    NearTie,          // two blocks alike but for one count in a million: values 1e-7 apart
    Circulant,        // c(i, j) = v((j - i) mod n): values in exactly equal pairs (square)
    Symmetric,        // c(i, j) = c(j, i) (square)
    Centrosymmetric,  // c(i, j) = c(I+1-i, J+1-j)
    Duplicates,       // random, with column 2 equal to column 1 and row 3 to row 1
};
inline constexpr TableKind kAllKinds[] = {TableKind::Random,          TableKind::BlockDiagonal, TableKind::EqualMargins,
                                          TableKind::NearTie,         TableKind::Circulant,     TableKind::Symmetric,
                                          TableKind::Centrosymmetric, TableKind::Duplicates};
const char* kind_name(TableKind kind);

// An I x J table of the kind (square kinds use I for both), from the seed.
Matrix<std::int32_t> make_table(TableKind kind, int I, int J, unsigned seed);

// The table in free format, one row a line.
std::string table_text(const Matrix<std::int32_t>& counts);

// A(i, j) = (n_ij / n_.j - p_i.)·sqrt(p_.j) in an array of max(I, J) rows,
// the rows below I zero, as the NSCA hands it to the decomposition.
Matrix<double> nsca_matrix(const Matrix<std::int32_t>& counts);

}  // namespace marvist::test
