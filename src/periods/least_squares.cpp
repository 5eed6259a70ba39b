// Householder reflections column by column, then back substitution.
#include "periods/least_squares.h"

#include <algorithm>
#include <cmath>

namespace varisift {

namespace {

// A column whose part outside the span of the columns before it is smaller
// than this share of the largest column is taken as dependent on them.
constexpr double dependence_share = 1e-10;

double column_norm(const double* column, std::size_t from, std::size_t rows) {
  double sum = 0;
  for (std::size_t i = from; i < rows; ++i) sum += column[i] * column[i];
  return std::sqrt(sum);
}

// Applies the reflection I - 2 v v^T / (v^T v), v stored in rows from..rows
// of v, to the same rows of x.
void reflect(const double* v, double v_square, double* x, std::size_t from, std::size_t rows) {
  double dot = 0;
  for (std::size_t i = from; i < rows; ++i) dot += v[i] * x[i];
  const double factor = 2 * dot / v_square;
  for (std::size_t i = from; i < rows; ++i) x[i] -= factor * v[i];
}

}  // namespace

std::optional<LeastSquaresFit> least_squares(std::vector<double> columns, std::size_t rows, std::vector<double> y) {
  if (rows == 0 || columns.size() % rows != 0) return std::nullopt;
  const std::size_t cols = columns.size() / rows;
  if (rows <= cols || y.size() != rows) return std::nullopt;

  double largest = 0;
  for (std::size_t j = 0; j < cols; ++j) largest = std::max(largest, column_norm(&columns[j * rows], 0, rows));
  if (!(largest > 0)) return std::nullopt;

  std::vector<double> diagonal(cols);
  for (std::size_t j = 0; j < cols; ++j) {
    double* a = &columns[j * rows];
    const double norm = column_norm(a, j, rows);
    if (!(norm > dependence_share * largest)) return std::nullopt;
    // The reflection takes the column below the diagonal to alpha e_j; the
    // sign of alpha opposite to a_jj avoids cancellation in v_j.
    const double alpha = a[j] > 0 ? -norm : norm;
    a[j] -= alpha;
    const double v_norm = column_norm(a, j, rows);
    const double v_square = v_norm * v_norm;
    for (std::size_t k = j + 1; k < cols; ++k) reflect(a, v_square, &columns[k * rows], j, rows);
    reflect(a, v_square, y.data(), j, rows);
    diagonal[j] = alpha;
  }

  LeastSquaresFit fit;
  fit.coefficients.assign(cols, 0.0);
  for (std::size_t j = cols; j-- > 0;) {
    double sum = y[j];
    for (std::size_t k = j + 1; k < cols; ++k) sum -= columns[k * rows + j] * fit.coefficients[k];
    fit.coefficients[j] = sum / diagonal[j];
  }
  for (std::size_t i = cols; i < rows; ++i) fit.residual_sum_of_squares += y[i] * y[i];
  return fit;
}

}  // namespace varisift
