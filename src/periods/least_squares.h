// Linear least squares by Householder QR: the coefficients b that minimise
// |X b - y|^2 and that minimum. QR works on X itself, so its error grows
// with the condition of X, not with its square as the normal equations'
// would.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace varisift {

struct LeastSquaresFit {
  std::vector<double> coefficients;
  double residual_sum_of_squares = 0;
};

// X has `rows` rows and is given column by column (column j at
// columns[j * rows]); y has `rows` values. None when there are not more rows
// than columns or the columns are linearly dependent within rounding.
std::optional<LeastSquaresFit> least_squares(std::vector<double> columns, std::size_t rows, std::vector<double> y);

}  // namespace varisift
