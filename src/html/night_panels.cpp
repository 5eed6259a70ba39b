// How the width of a light curve's frame is shared among the nights.
#include "html/night_panels.h"

#include <algorithm>
#include <cstddef>

#include "store/time_keys.h"

namespace varisift {

namespace {

constexpr double hours_per_day = 24;
constexpr double panel_gap = 8;
constexpr double max_gap_share = 0.25;
// A panel is at least this share of an equal share of the width: on three
// nights each keeps more than a fifth of the width however short it is.
constexpr double min_width_of_equal_share = 0.7;
// The shortest night shown, in hours: a night of one image gets a panel
// over half an hour around it.
constexpr double min_hours_shown = 0.5;
// Room between a panel's edges and its night's first and last image: a
// share of the panel's width, at least the size of a marker, and at most a
// quarter of a very narrow panel.
constexpr double inset_share = 0.03;
constexpr double min_inset = 6;
constexpr double max_inset_share = 0.25;

std::int64_t julian_day_of(std::int64_t julian_e5) {
  std::int64_t day = julian_e5 / julian_e5_per_day;
  return julian_e5 % julian_e5_per_day < 0 ? day - 1 : day;
}

// Widths proportional to the weights that sum to total, none below
// min_width: panels that their share would make narrower get min_width, and
// the rest of the width is shared again among the others until none is
// below it.
std::vector<double> proportional_widths(const std::vector<double>& weights, double total, double min_width) {
  std::vector<bool> at_minimum(weights.size(), false);
  std::vector<double> widths(weights.size(), min_width);
  for (bool changed = true; changed;) {
    changed = false;
    double free_width = total;
    double free_weight = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
      if (at_minimum[i])
        free_width -= min_width;
      else
        free_weight += weights[i];
    }
    for (std::size_t i = 0; i < weights.size(); ++i) {
      if (at_minimum[i]) continue;
      widths[i] = free_width * (weights[i] / free_weight);
      if (widths[i] < min_width) at_minimum[i] = changed = true;
    }
  }
  for (std::size_t i = 0; i < weights.size(); ++i)
    if (at_minimum[i]) widths[i] = min_width;
  return widths;
}

}  // namespace

double hours_after(std::int64_t julian_day, std::int64_t julian_e5) {
  return static_cast<double>(julian_e5 - julian_day * julian_e5_per_day) * hours_per_day / julian_e5_per_day;
}

std::vector<NightPanel> night_panels(const std::vector<Night>& nights, double frame_width) {
  std::vector<NightPanel> panels;
  if (nights.empty()) return panels;
  const double count = static_cast<double>(nights.size());
  const double gap = nights.size() > 1 ? std::min(panel_gap, frame_width * max_gap_share / (count - 1)) : 0;
  const double panels_width = frame_width - gap * (count - 1);

  std::vector<double> spans;
  for (const Night& night : nights) {
    NightPanel panel;
    panel.julian_day = julian_day_of(night.first_e5);
    double first = hours_after(panel.julian_day, night.first_e5);
    double last = hours_after(panel.julian_day, night.last_e5);
    if (last - first < min_hours_shown) {
      double middle = first / 2 + last / 2;
      first = middle - min_hours_shown / 2;
      last = middle + min_hours_shown / 2;
    }
    panel.hours = {first, last};
    panels.push_back(panel);
    spans.push_back(last - first);
  }
  const std::vector<double> widths =
      proportional_widths(spans, panels_width, panels_width / count * min_width_of_equal_share);

  double left = 0;
  for (std::size_t i = 0; i < panels.size(); ++i) {
    NightPanel& panel = panels[i];
    panel.left = left;
    panel.right = i + 1 == panels.size() ? frame_width : left + widths[i];
    left = panel.right + gap;
    // Widen the night's hours so that its first and last image lie inset
    // pixels inside the panel.
    const double width = panel.right - panel.left;
    const double inset = std::min(std::max(min_inset, width * inset_share), width * max_inset_share);
    const double hours_per_pixel = (panel.hours.high - panel.hours.low) / (width - 2 * inset);
    panel.hours = {panel.hours.low - inset * hours_per_pixel, panel.hours.high + inset * hours_per_pixel};
  }
  return panels;
}

}  // namespace varisift
