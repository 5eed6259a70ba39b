// The period figures: the periodogram strip renders with its chosen peak
// marked and a thinned curve, the phase plot draws phases 0 to 2 with the
// model, and a `long` period, which has no model, has no phase plot.
#include "html/period_figures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html/pixel_columns.h"
#include "periods/period_fixtures.h"

namespace varisift {
namespace {

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

const std::vector<double> times = fixtures::nightly_times(3, 70, 4);

PeriodData data_of(const std::vector<double>& magnitudes) {
  return {times, magnitudes, std::vector<bool>(times.size(), false)};
}

PeriodResult searched(const std::vector<double>& magnitudes) {
  PeriodSettings settings;
  settings.keep_periodogram = true;
  return *search_period(times, magnitudes, 83.6, 22.0, settings);
}

TEST(PeriodFigures, PeriodogramMarksTheChosenPeak) {
  const PeriodResult r = searched(fixtures::sine_curve(times, 2.7, 0.1, 2460311.0, 0.02, 5));
  const std::string svg = periodogram_svg(r, 175);
  EXPECT_NE(svg.find("aria-label=\"Periodogram of star 175\""), std::string::npos);
  EXPECT_EQ(count_of(svg, "class=\"chosen-peak\"><title>chosen peak: 2.7"), 1u);
  EXPECT_EQ(count_of(svg, "<path class=\"periodogram\" d=\"M"), 1u);
  EXPECT_EQ(svg.compare(svg.size() - 7, 7, "</svg>\n"), 0);
  PeriodResult without = r;
  without.power.clear();
  EXPECT_NE(periodogram_svg(without, 175).find("No periodogram kept"), std::string::npos);
}

TEST(PeriodFigures, PhasePlotDrawsTwoCyclesWithTheModel) {
  const std::vector<double> m = fixtures::sine_curve(times, 2.7, 0.1, 2460311.0, 0.02, 5);
  const std::string svg = phase_plot_svg(searched(m), data_of(m), 175, false);
  // Ticks from phase 0.0 to 2.0 and the model as one path over them.
  for (const char* tick : {">0.0</text>", ">1.0</text>", ">2.0</text>"}) EXPECT_NE(svg.find(tick), std::string::npos);
  EXPECT_EQ(count_of(svg, "<path class=\"model-curve\" d=\"M"), 1u);
  EXPECT_NE(svg.find("0 at maximum light"), std::string::npos);
  const std::vector<double> slow = fixtures::sine_curve(times, 1 / 3.0, 0.2, 2460311.0, 0.02, 5);
  EXPECT_EQ(phase_plot_svg(searched(slow), data_of(slow), 176, false), "");
}

TEST(PixelColumns, KeepFirstHighestLowestAndLastOfAColumn) {
  // Six points in the pixel column 10, then one in 15.
  const std::vector<PlotPixel> pixels{{10.0, 50}, {10.2, 90}, {10.4, 60}, {10.6, 10}, {10.8, 40}, {10.9, 45}, {15, 5}};
  const std::vector<PlotPixel> kept = thinned_to_columns(pixels);
  std::vector<double> ys;
  for (const PlotPixel& p : kept) ys.push_back(p.y);
  EXPECT_EQ(ys, (std::vector<double>{50, 90, 10, 45, 5}));
}

}  // namespace
}  // namespace varisift
