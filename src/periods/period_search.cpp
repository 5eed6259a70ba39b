// The steps of the search, in order.
#include "periods/period_search.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "periods/centred_series.h"
#include "periods/false_alarm.h"
#include "periods/gls_periodogram.h"
#include "periods/harmonic_refinement.h"
#include "periods/heliocentric_time.h"
#include "periods/least_squares.h"
#include "periods/model_extremes.h"
#include "periods/peak_choice.h"
#include "periods/peak_refinement.h"
#include "periods/phase_dispersion.h"

namespace varisift {

namespace {

// Peaks of the periodogram refined and ranked.
constexpr std::size_t peaks_refined = 5;
// A peak within this many grid steps of f/2 or f/3 of another counts as its
// subharmonic: the refined tops are far more precise, and distinct peaks lie
// at least a peak width, five steps, apart.
constexpr double subharmonic_steps = 2;

// Parameters of the parabola in time and of the three-harmonic model.
constexpr double parabola_parameters = 3;
constexpr double harmonic_parameters = 2 * ranking_harmonics + 1;
// The slow periodic models tried: so many cycles over the span.
constexpr double slow_cycles_per_span[] = {0.2, 0.4, 0.6, 0.8};

// The residual sum of squares of a parabola in time through the series; the
// times are mapped onto -1..1 so that the columns stay well conditioned.
double parabola_residuals(const CentredSeries& series) {
  const std::size_t n = series.size();
  std::vector<double> columns(3 * n);
  for (std::size_t i = 0; i < n; ++i) {
    const double u = series.span > 0 ? 2 * series.t[i] / series.span - 1 : 0;
    columns[i] = 1;
    columns[n + i] = u;
    columns[2 * n + i] = u * u;
  }
  const std::optional<LeastSquaresFit> fit = least_squares(std::move(columns), n, series.y);
  return fit ? fit->residual_sum_of_squares : series.sum_of_squares;
}

// Whether the curve changes slower than the periods the grid holds, whose
// longest is T: a change that slow puts its power below the grid's lowest
// frequency, and its aliases one cycle per day higher then rise above
// everything in the grid (on three nights an eclipsing binary seen in one
// eclipse, on ten nights a wave of weeks). It is slower when a parabola in
// time explains the curve as well as the three-harmonic model at the chosen
// peak by the Bayesian information criterion, which charges each parameter
// ln N, or when a three-harmonic model of less than a cycle over the span
// fits at least as well; and the slow model explains the curve better than
// its mean, by the same criterion, so that noise stays noise. No threshold
// is tuned.
bool slower_than_the_grid(const CentredSeries& series, double harmonic_residuals) {
  const double n = static_cast<double>(series.size());
  // A model explains the curve better than its mean when the information
  // criterion says so; only such a slow change can stand for the star's.
  auto beats_the_mean = [&](double residuals, double parameters) {
    return residuals > 0 && n * std::log(series.sum_of_squares / residuals) > (parameters - 1) * std::log(n);
  };
  // Three-harmonic models of less than a cycle over the span have as many
  // parameters as the chosen one: the better fit wins.
  for (double cycles : slow_cycles_per_span) {
    const std::optional<HarmonicFit> fit = fit_harmonics(series, cycles / series.span, ranking_harmonics);
    if (fit && fit->residual_sum_of_squares <= harmonic_residuals &&
        beats_the_mean(fit->residual_sum_of_squares, harmonic_parameters))
      return true;
  }
  const double parabola = parabola_residuals(series);
  if (!(harmonic_residuals > 0) || !beats_the_mean(parabola, parabola_parameters)) return false;
  return n * std::log(parabola / harmonic_residuals) <= (harmonic_parameters - parabola_parameters) * std::log(n);
}

bool all_finite(std::span<const double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

struct Peaks {
  std::vector<RefinedPeak> tops;
  std::vector<PeakCandidate> candidates;
  double highest_power = 0;
  double highest_frequency = 0;
};

// The highest peaks of the grid, refined and fitted with the ranking model.
Peaks refined_peaks(const CentredSeries& series, const FrequencyGrid& grid, const FineSteps& fine,
                    const std::vector<double>& power, PeriodResult& result) {
  Peaks peaks;
  for (std::size_t k : highest_peaks(power, peaks_refined)) {
    const RefinedPeak top = refine_peak(series, grid, fine, k);
    result.point_frequencies += top.frequencies_evaluated * series.size();
    if (top.power > peaks.highest_power) {
      peaks.highest_power = top.power;
      peaks.highest_frequency = top.frequency;
    }
    const std::optional<HarmonicFit> fit = fit_harmonics(series, top.frequency, ranking_harmonics);
    ++result.model_fits;
    peaks.tops.push_back(top);
    peaks.candidates.push_back(
        {top.frequency, fit ? fit->power : 0, fit ? fit->residual_sum_of_squares : series.sum_of_squares});
  }
  return peaks;
}

// The error, model, amplitude and epoch of a period that is not `long`.
void describe_period(const CentredSeries& series, const FineSteps& fine, const RefinedPeak& top, double ra_deg,
                     double dec_deg, PeriodResult& result) {
  const PeakWidth width = peak_half_width(series, top, fine);
  result.point_frequencies += width.frequencies_evaluated * series.size();
  // P = m / f for m = 1 or 2, so dP = P df / f.
  if (width.half_width > 0) result.period_err_d = result.period_d * width.half_width / result.peak_frequency;

  std::optional<HarmonicFit> fit = fit_harmonics(series, 1 / result.period_d, ranking_harmonics);
  ++result.model_fits;
  if (!fit) return;
  const ModelExtremes extremes = model_extremes(fit->model);
  result.amplitude_mag = extremes.peak_to_peak();
  const double phase = result.eclipsing ? extremes.faintest.phase : extremes.brightest.phase;
  const double middle = series.reference_time + series.span / 2;
  result.epoch_jd = time_of_phase_nearest(fit->model, phase, middle);
  result.epoch_hjd = heliocentric_julian_date(*result.epoch_jd, ra_deg, dec_deg);
  result.model = std::move(fit->model);
}

}  // namespace

std::optional<PeriodResult> search_period(std::span<const double> times, std::span<const double> magnitudes,
                                          double ra_deg, double dec_deg, const PeriodSettings& settings) {
  if (times.size() != magnitudes.size() || times.size() < min_search_points) return std::nullopt;
  if (!all_finite(times) || !all_finite(magnitudes)) return std::nullopt;
  const CentredSeries series = centred_series(times, magnitudes);
  std::vector<double> sorted = series.t;
  std::sort(sorted.begin(), sorted.end());
  const std::optional<FrequencyGrid> grid = frequency_grid(series.span, median_time_step(sorted), settings.range);
  if (!grid) return std::nullopt;

  PeriodResult result;
  result.span_d = series.span;
  result.points = series.size();
  result.grid = *grid;
  std::vector<double> power = gls_powers(series, grid->first, grid->step, grid->count);
  result.point_frequencies = grid->count * series.size();

  const FineSteps fine = fine_steps(series, *grid);
  const Peaks peaks = refined_peaks(series, *grid, fine, power, result);
  result.log10_fap =
      log_false_alarm(peaks.highest_power, series.size(), time_variance(series.t), grid->last()) / std::numbers::ln10;
  const std::size_t chosen =
      chosen_peak(peaks.candidates, series.size(), subharmonic_steps * grid->step, settings.subharmonic_margin);
  const RefinedPeak& top = peaks.tops[chosen];
  // The peaks are ranked by the model at the periodogram's tops, where it
  // cannot wander off to a frequency whose harmonics happen to catch
  // aliases of another peak's; the chosen one's period is that of the
  // model's own top, and the periodogram's power there marks it.
  const std::optional<HarmonicPeak> best = refine_harmonic_peak(series, *grid, top.frequency, ranking_harmonics);
  if (best) result.model_fits += best->fits;
  const double frequency = best ? best->frequency : top.frequency;
  result.highest_frequency = peaks.highest_frequency;
  result.peak_frequency = frequency;
  result.peak_power = gls_powers(series, frequency, grid->step, 1).front();
  result.point_frequencies += series.size();

  const double period = 1 / frequency;
  result.eclipsing = phase_dispersion(series, 2 * period, dispersion_bins) <
                     settings.doubling_ratio * phase_dispersion(series, period, dispersion_bins);
  const double found = result.eclipsing ? 2 * period : period;
  result.cycles = series.span / found;
  result.flag = period_flag(found, series.span, result.log10_fap, frequency);
  // A user who bounds the periods asks about those only; the test below is
  // about periods beyond the span, the grid's own longest.
  const bool grid_reaches_the_span = !settings.range.max_d || *settings.range.max_d >= series.span;
  if (grid_reaches_the_span && slower_than_the_grid(series, peaks.candidates[chosen].residual_sum_of_squares)) {
    // The period found is then an alias: what is known is that fewer than
    // two cycles were seen.
    result.flag = PeriodFlag::long_period;
    result.cycles = std::min(result.cycles, min_cycles_for_a_period);
  }
  if (result.flag == PeriodFlag::long_period) {
    result.period_d = series.span / 2;
  } else {
    result.period_d = found;
    describe_period(series, fine, top, ra_deg, dec_deg, result);
  }
  if (settings.keep_periodogram) result.power = std::move(power);
  return result;
}

}  // namespace varisift
