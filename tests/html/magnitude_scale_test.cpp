// The magnitude range of a plot: the measurements with their margin, fences
// beyond them, and the wild outliers that go to a strip, at the boundaries
// of the rule (a gap of exactly twice the span, one in twenty measurements,
// three left on the scale).
#include "html/magnitude_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace varisift {
namespace {

// n measurements spread evenly from low to high, then the extra ones.
std::vector<double> curve(int n, double low, double high, const std::vector<double>& extra = {}) {
  std::vector<double> values;
  for (int i = 0; i < n; ++i) values.push_back(low + (high - low) * i / (n - 1));
  values.insert(values.end(), extra.begin(), extra.end());
  return values;
}

TEST(MagnitudeScale, CoversTheMeasurementsAndMarksFarFencesAtTheEdge) {
  MagnitudeScale scale = magnitude_scale(curve(40, 14.5, 15.6));
  EXPECT_DOUBLE_EQ(scale.shown.low, 14.5 - 1.1 * 0.06);
  EXPECT_DOUBLE_EQ(scale.shown.high, 15.6 + 1.1 * 0.06);
  EXPECT_FALSE(scale.bright_strip || scale.faint_strip);
  EXPECT_EQ(scale.axis.low, scale.shown.low);
  EXPECT_EQ(scale.axis.high, scale.shown.high);
  EXPECT_EQ(scale.beyond(13.00), Beyond::bright);  // the sample's fences lie far out
  EXPECT_EQ(scale.beyond(17.13), Beyond::faint);
  EXPECT_EQ(scale.beyond(15.6), Beyond::none);
  EXPECT_EQ(scale.place(15.6), 15.6);
}

TEST(MagnitudeScale, WildOutliersGoToAStripBeyondTheirEdge) {
  struct Case {
    std::vector<double> values;
    bool bright, faint;
  };
  const Case cases[] = {
      {curve(40, 15.0, 15.5, {19.0}), false, true},
      {curve(40, 15.0, 15.5, {11.0, 19.0}), true, true},
      {curve(38, 15.0, 15.5, {19.0, 19.1}), false, true},         // two in 40: one in twenty
      {curve(37, 15.0, 15.5, {19.0, 19.1, 19.2}), false, false},  // three in 40 are a real part
      {curve(40, 15.0, 15.5, {16.5}), false, false},              // a gap of twice the span stays
      {curve(40, 15.0, 15.5, {16.5001}), false, true},
      {curve(40, 15.0, 15.5, {14.0}), false, false},  // on the bright side too
      {curve(40, 15.0, 15.5, {13.9999}), true, false},
      {curve(37, 15.0, 15.5, {19.0, 19.1}), false, false},  // two in 39: more than one in twenty
      {curve(40, 15.0, 15.0, {15.2}), false, false},        // the span counts as 0.1 mag at least
      {curve(40, 15.0, 15.0, {15.2001}), false, true},
      {curve(3, 15.0, 15.1, {19.0}), false, true},
      {curve(2, 15.0, 15.1, {19.0}), false, false},  // three must stay on the scale
  };
  for (const Case& c : cases) {
    MagnitudeScale scale = magnitude_scale(c.values);
    EXPECT_EQ(scale.bright_strip, c.bright) << c.values.back();
    EXPECT_EQ(scale.faint_strip, c.faint) << c.values.back();
    for (double v : c.values) {
      double at = scale.place(v);
      EXPECT_TRUE(at >= scale.axis.low && at <= scale.axis.high) << v;
      EXPECT_EQ(at == v, v >= scale.shown.low && v <= scale.shown.high) << v;
    }
  }
}

}  // namespace
}  // namespace varisift
