// The sampling facts of a variable; see sampling.h.
#include "sampling.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "calendar.h"
#include "light_curve.h"

namespace varisift::simulate {

namespace {

constexpr double julian_date_of_1970 = 2440587.5;

// Days of each image after the first, as the measurements use them.
std::vector<double> image_days(const Series& series) {
  std::vector<double> days;
  days.reserve(series.images.size());
  for (const Image& image : series.images) {
    days.push_back(static_cast<double>(image.time_tenths - series.images.front().time_tenths) /
                   static_cast<double>(tenths_per_day));
  }
  return days;
}

// The epoch phase's cycle nearest the middle of the images (a tie takes the
// later one), as days after the first image.
double epoch_days(const SkyObject& star, double middle_days) {
  const double cycles_to_first_epoch = epoch_phase(star) - star.phase;
  const double cycle = std::floor(middle_days / star.period_days - cycles_to_first_epoch + 0.5);
  return (cycle + cycles_to_first_epoch) * star.period_days;
}

double sampled_span(const SkyObject& star, const std::vector<double>& days) {
  double lowest = variability_offset(star, days.front());
  double highest = lowest;
  for (double d : days) {
    const double offset = variability_offset(star, d);
    lowest = std::min(lowest, offset);
    highest = std::max(highest, offset);
  }
  return highest - lowest;
}

double phase_coverage(const SkyObject& star, const std::vector<double>& days) {
  std::vector<char> filled(coverage_phase_bins, 0);
  for (double d : days) {
    const double cycles = cycle_count(star, d);
    const double phase = cycles - std::floor(cycles);
    const int bin = std::min(static_cast<int>(phase * coverage_phase_bins), coverage_phase_bins - 1);
    filled[static_cast<std::size_t>(bin)] = 1;
  }
  return static_cast<double>(std::count(filled.begin(), filled.end(), 1)) / coverage_phase_bins;
}

// The eclipse an image falls in, numbered along the series: 2n for the
// primary eclipse at cycle n, 2n + 1 for the secondary after it; -1 between
// eclipses. The windows are those of the light curve: closer than the
// half-width to mid-eclipse.
constexpr long long between_eclipses = -1;

long long eclipse_at(const SkyObject& star, double days) {
  const double cycles = cycle_count(star, days);
  const double whole = std::floor(cycles);
  const double phase = cycles - whole;
  const auto cycle = static_cast<long long>(whole);
  if (phase < star.shape) {
    return 2 * cycle;
  }
  if (1.0 - phase < star.shape) {
    return 2 * (cycle + 1);
  }
  if (std::fabs(phase - 0.5) < star.shape) {
    return 2 * cycle + 1;
  }
  return between_eclipses;
}

// The images of one eclipse follow one another in time, so each run of
// images in the same eclipse is one eclipse.
int counted_eclipses(const SkyObject& star, const std::vector<double>& days) {
  int counted = 0;
  long long current = between_eclipses;
  int images = 0;
  for (double d : days) {
    const long long eclipse = eclipse_at(star, d);
    images = eclipse == current ? images + 1 : 1;
    current = eclipse;
    if (current != between_eclipses && images == images_per_counted_eclipse) {
      ++counted;
    }
  }
  return counted;
}

}  // namespace

double julian_date(std::int64_t tenths) {
  const std::int64_t whole_days = tenths / tenths_per_day;
  const std::int64_t rest = tenths % tenths_per_day;
  return julian_date_of_1970 + static_cast<double>(whole_days) +
         static_cast<double>(rest) / static_cast<double>(tenths_per_day);
}

Sampling sampling_of(const Series& series, const SkyObject& star) {
  Sampling s;
  if (series.images.empty() || star.period_days <= 0.0) {
    return s;
  }
  const std::vector<double> days = image_days(series);
  const double span_days = days.back();
  s.epoch_jd = julian_date(series.images.front().time_tenths) + epoch_days(star, span_days / 2.0);
  s.span_mag = sampled_span(star, days);
  s.cycles = span_days / star.period_days;
  s.phase_coverage = phase_coverage(star, days);
  s.eclipses = star.kind == VariableKind::eclipsing ? counted_eclipses(star, days) : 0;
  return s;
}

}  // namespace varisift::simulate
