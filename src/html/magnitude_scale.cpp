// Which magnitudes a plot shows at their place and which go to a strip.
#include "html/magnitude_scale.h"

#include <algorithm>
#include <cstddef>

namespace varisift {

namespace {

constexpr double min_mags_shown = 0.1;
constexpr double margin_share = 0.06;
// A group at an end is far outside when its gap to the others exceeds this
// many times their span.
constexpr double far_gap_spans = 2;
// At most this share of the measurements goes to each strip (at least one).
constexpr std::size_t measurements_per_off_scale = 20;
constexpr std::size_t min_left_on_scale = 3;
constexpr double strip_share = 0.1;

// Whether the `bright` lowest and the `faint` highest of the sorted values
// are far outside the values between them.
bool far_outside(const std::vector<double>& sorted, std::size_t bright, std::size_t faint) {
  const double low = sorted[bright];
  const double high = sorted[sorted.size() - 1 - faint];
  const double span = std::max(high - low, min_mags_shown);
  const bool bright_far = bright == 0 || low - sorted[bright - 1] > far_gap_spans * span;
  const bool faint_far = faint == 0 || sorted[sorted.size() - faint] - high > far_gap_spans * span;
  return bright_far && faint_far;
}

}  // namespace

double MagnitudeScale::place(double mag) const {
  const double strip = (shown.high - shown.low) * strip_share;
  if (bright_strip && mag < shown.low) return shown.low - strip / 2;
  if (faint_strip && mag > shown.high) return shown.high + strip / 2;
  return mag;
}

Beyond MagnitudeScale::beyond(double mag) const {
  if (mag < shown.low) return Beyond::bright;
  if (mag > shown.high) return Beyond::faint;
  return Beyond::none;
}

MagnitudeScale magnitude_scale(std::vector<double> magnitudes) {
  MagnitudeScale scale;
  if (magnitudes.empty()) {
    scale.axis = scale.shown = padded_range(0, 0, margin_share, min_mags_shown);
    return scale;
  }
  std::sort(magnitudes.begin(), magnitudes.end());
  const std::size_t count = magnitudes.size();
  const std::size_t max_off = std::max<std::size_t>(1, count / measurements_per_off_scale);
  std::size_t bright = 0;
  std::size_t faint = 0;
  for (std::size_t b = 0; b <= max_off; ++b)
    for (std::size_t f = 0; f <= max_off; ++f)
      if (b + f > bright + faint && b + f + min_left_on_scale <= count && far_outside(magnitudes, b, f)) {
        bright = b;
        faint = f;
      }
  scale.shown = padded_range(magnitudes[bright], magnitudes[count - 1 - faint], margin_share, min_mags_shown);
  scale.bright_strip = bright > 0;
  scale.faint_strip = faint > 0;
  const double strip = (scale.shown.high - scale.shown.low) * strip_share;
  scale.axis = {scale.bright_strip ? scale.shown.low - strip : scale.shown.low,
                scale.faint_strip ? scale.shown.high + strip : scale.shown.high};
  return scale;
}

}  // namespace varisift
