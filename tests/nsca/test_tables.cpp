#include "test_tables.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace marvist::test {
namespace {

using Table = Matrix<std::int32_t>;

// Puts a count into every empty row and column.
void fill_empty(Table& t, std::mt19937_64& gen) {
    const int I = static_cast<int>(t.rows()), J = static_cast<int>(t.cols());
    for (int i = 1; i <= I; ++i) {
        int sum = 0;
        for (int j = 1; j <= J; ++j) sum += t(i, j);
        if (sum == 0) t(i, 1 + static_cast<int>(gen() % J)) = 1;
    }
    for (int j = 1; j <= J; ++j) {
        int sum = 0;
        for (int i = 1; i <= I; ++i) sum += t(i, j);
        if (sum == 0) t(1 + static_cast<int>(gen() % I), j) = 1;
    }
}

int count(std::mt19937_64& gen, int lo, int hi) {
    return lo + static_cast<int>(gen() % static_cast<unsigned>(hi - lo + 1));
}

}  // namespace

const char* kind_name(TableKind kind) {
    switch (kind) {
        case TableKind::Random:
            return "random";
        case TableKind::BlockDiagonal:
            return "block-diagonal";
        case TableKind::EqualMargins:
            return "equal-margins";
        case TableKind::NearTie:
            return "near-tie";
        case TableKind::Circulant:
            return "circulant";
        case TableKind::Symmetric:
            return "symmetric";
        case TableKind::Centrosymmetric:
            return "centrosymmetric";
        case TableKind::Duplicates:
            return "duplicates";
    }
    return "?";
}

Table make_table(TableKind kind, int I, int J, unsigned seed) {
    std::mt19937_64 gen(seed);
    const bool square = kind == TableKind::EqualMargins || kind == TableKind::Circulant || kind == TableKind::Symmetric;
    if (square) J = I;
    Table t(I, J);
    switch (kind) {
        case TableKind::Random:
        case TableKind::Duplicates:
            for (int j = 1; j <= J; ++j)
                for (int i = 1; i <= I; ++i) t(i, j) = count(gen, 0, 20);
            if (kind == TableKind::Duplicates && J >= 2 && I >= 3) {
                for (int i = 1; i <= I; ++i) t(i, 2) = t(i, 1);
                for (int j = 1; j <= J; ++j) t(3, j) = t(1, j);
            }
            break;
        case TableKind::BlockDiagonal: {
            const int blocks = std::min({I, J, count(gen, 2, 3)});
            for (int j = 1; j <= J; ++j)
                for (int i = 1; i <= I; ++i)
                    if ((i - 1) * blocks / I == (j - 1) * blocks / J) t(i, j) = count(gen, 1, 30);
            break;
        }
        case TableKind::EqualMargins: {
            std::vector<int> p(static_cast<std::size_t>(I));
            std::iota(p.begin(), p.end(), 1);
            for (int k = count(gen, 2, 6); k > 0; --k) {
                std::shuffle(p.begin(), p.end(), gen);
                for (int i = 1; i <= I; ++i) t(i, p[static_cast<std::size_t>(i - 1)]) += 3;
            }
            break;
        }
        case TableKind::NearTie: {
            // Rows and columns in two halves; the second block is the first
            // with one count raised by 1 in a million.
            const int hi = I / 2, hj = J / 2;
            for (int j = 1; j <= hj; ++j)
                for (int i = 1; i <= hi; ++i) t(i, j) = t(hi + i, hj + j) = 1000000 * count(gen, 1, 9);
            t(I, J) += 1;
            if (I % 2 == 1 || J % 2 == 1) t(I, J) += 1000000;
            break;
        }
        case TableKind::Circulant: {
            std::vector<int> v(static_cast<std::size_t>(I));
            for (int& x : v) x = count(gen, 1, 20);
            for (int j = 1; j <= J; ++j)
                for (int i = 1; i <= I; ++i) t(i, j) = v[static_cast<std::size_t>(((j - i) % I + I) % I)];
            break;
        }
        case TableKind::Symmetric:
            for (int j = 1; j <= J; ++j)
                for (int i = 1; i <= j; ++i) t(i, j) = t(j, i) = count(gen, 0, 20);
            break;
        case TableKind::Centrosymmetric:
            for (int j = 1; j <= J; ++j)
                for (int i = 1; i <= I; ++i) {
                    if ((j - 1) * I + i <= (J - j) * I + (I + 1 - i))
                        t(i, j) = t(I + 1 - i, J + 1 - j) = count(gen, 0, 20);
                }
            break;
    }
    fill_empty(t, gen);
    return t;
}

std::string table_text(const Table& counts) {
    std::string text;
    for (int i = 1; i <= counts.rows(); ++i) {
        for (int j = 1; j <= counts.cols(); ++j) text += std::to_string(counts(i, j)) + " ";
        text += "\n";
    }
    return text;
}

Matrix<double> nsca_matrix(const Table& counts) {
    const int I = static_cast<int>(counts.rows()), J = static_cast<int>(counts.cols());
    std::vector<double> row(static_cast<std::size_t>(I)), col(static_cast<std::size_t>(J));
    double N = 0.0;
    for (int j = 1; j <= J; ++j)
        for (int i = 1; i <= I; ++i) {
            row[static_cast<std::size_t>(i - 1)] += counts(i, j);
            col[static_cast<std::size_t>(j - 1)] += counts(i, j);
            N += counts(i, j);
        }
    Matrix<double> A(std::max(I, J), J);
    for (int j = 1; j <= J; ++j) {
        const double cj = col[static_cast<std::size_t>(j - 1)];
        for (int i = 1; i <= I; ++i)
            A(i, j) = (counts(i, j) / cj - row[static_cast<std::size_t>(i - 1)] / N) * std::sqrt(cj / N);
    }
    return A;
}

}  // namespace marvist::test
