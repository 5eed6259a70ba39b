// The design matrix of the harmonic model and its evaluation.
#include "periods/harmonic_fit.h"

#include <cmath>
#include <numbers>

#include "periods/least_squares.h"

namespace varisift {

namespace {

// cos and sin of k x for k = 1, 2, ... from those of x by the angle sum,
// one trigonometric call for all harmonics; for the few harmonics of a
// model the error stays within a few units of rounding.
class Harmonics {
 public:
  explicit Harmonics(double angle) : cos_1_(std::cos(angle)), sin_1_(std::sin(angle)), cos_(cos_1_), sin_(sin_1_) {}
  double cos() const { return cos_; }
  double sin() const { return sin_; }
  void next() {
    const double c = cos_ * cos_1_ - sin_ * sin_1_;
    sin_ = sin_ * cos_1_ + cos_ * sin_1_;
    cos_ = c;
  }

 private:
  double cos_1_, sin_1_, cos_, sin_;
};

}  // namespace

double HarmonicModel::magnitude_at_phase(double phase) const {
  double m = constant;
  Harmonics h(2 * std::numbers::pi * phase);
  for (std::size_t k = 0; k < cos_terms.size(); ++k, h.next()) m += cos_terms[k] * h.cos() + sin_terms[k] * h.sin();
  return m;
}

double HarmonicModel::magnitude_at(double julian_date) const {
  return magnitude_at_phase(frequency * (julian_date - reference_time));
}

std::optional<HarmonicFit> fit_harmonics(const CentredSeries& series, double frequency, int harmonics) {
  const std::size_t rows = series.size();
  const std::size_t terms = static_cast<std::size_t>(harmonics);
  // Columns: the constant, then cos and sin of each harmonic.
  std::vector<double> columns(rows * (1 + 2 * terms));
  for (std::size_t i = 0; i < rows; ++i) {
    columns[i] = 1;
    Harmonics h(2 * std::numbers::pi * frequency * series.t[i]);
    for (std::size_t k = 1; k <= terms; ++k, h.next()) {
      columns[(2 * k - 1) * rows + i] = h.cos();
      columns[2 * k * rows + i] = h.sin();
    }
  }
  std::optional<LeastSquaresFit> solved = least_squares(std::move(columns), rows, series.y);
  if (!solved) return std::nullopt;

  HarmonicFit fit;
  fit.model.frequency = frequency;
  fit.model.reference_time = series.reference_time;
  fit.model.constant = series.mean_magnitude + solved->coefficients[0];
  for (std::size_t k = 1; k <= terms; ++k) {
    fit.model.cos_terms.push_back(solved->coefficients[2 * k - 1]);
    fit.model.sin_terms.push_back(solved->coefficients[2 * k]);
  }
  fit.residual_sum_of_squares = solved->residual_sum_of_squares;
  fit.power = series.sum_of_squares > 0 ? 1 - fit.residual_sum_of_squares / series.sum_of_squares : 0;
  return fit;
}

}  // namespace varisift
