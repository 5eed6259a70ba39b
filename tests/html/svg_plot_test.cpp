// The SVG plotter: ticks at round steps, ranges, the direction of the axes,
// markers with escaped titles, the merging of dots per pixel, labels that
// would overlap, panels side by side and arrows at the frame's edge.
#include "html/svg_plot.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace varisift {
namespace {

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(RoundTicks, SmallestRoundStepThatFits) {
  struct Case {
    double low, high;
    int max_count;
    double step;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {0, 1, 6, 0.2, {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}},
      {0, 1, 5, 0.5, {"0.0", "0.5", "1.0"}},  // six ticks of 0.2 are one too many
      {15.12, 16.87, 8, 0.5, {"15.5", "16.0", "16.5"}},
      {15.12, 16.87, 9, 0.2, {"15.2", "15.4", "15.6", "15.8", "16.0", "16.2", "16.4", "16.6", "16.8"}},
      {-3.2, 7.9, 6, 2, {"-2", "0", "2", "4", "6"}},
      {0.275, 0.335, 4, 0.02, {"0.28", "0.30", "0.32"}},
      {1200, 5300, 5, 1000, {"2000", "3000", "4000", "5000"}},
      {0.09999999, 0.10000011, 3, 5e-8, {"0.10000000", "0.10000005", "0.10000010"}},
  };
  for (const Case& c : cases) {
    TickSet ticks = round_ticks(c.low, c.high, c.max_count);
    EXPECT_DOUBLE_EQ(ticks.step, c.step) << c.low << " " << c.high;
    std::vector<std::string> labels;
    for (double v : ticks.values) labels.push_back(tick_label(v, ticks));
    EXPECT_EQ(labels, c.labels) << c.low << " " << c.high;
  }
  EXPECT_EQ(round_ticks(0, 1, 6).values[3], 0.6);  // k x 2 / 10, not 3 x 0.2
}

TEST(RoundTicks, NoTicksForAnEmptyOrBrokenRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (auto [low, high] : {std::pair{1.0, 1.0}, {2.0, 1.0}, {nan, 1.0}, {0.0, inf}, {-1e308, 1e308}})
    EXPECT_TRUE(round_ticks(low, high, 5).values.empty()) << low << " " << high;
}

TEST(PaddedRange, WidensNarrowRangesAroundTheirMiddle) {
  Range r = padded_range(15.0, 15.0, 0.1, 0.2);
  EXPECT_DOUBLE_EQ(r.low, 14.88);
  EXPECT_DOUBLE_EQ(r.high, 15.12);
  r = padded_range(10, 20, 0.05, 0.2);
  EXPECT_DOUBLE_EQ(r.low, 9.5);
  EXPECT_DOUBLE_EQ(r.high, 20.5);
}

PlotLayout small_layout() {
  return PlotLayout{.width = 200, .height = 120, .left = 40, .right = 10, .top = 20, .bottom = 30};
}

TEST(SvgPlot, DownwardAxisPutsSmallValuesOnTop) {
  SvgPlot magnitudes(small_layout(), Axis{{0, 1}, "x"}, Axis{{15, 17}, "mag", true});
  EXPECT_DOUBLE_EQ(magnitudes.y_pixel(15), 20);
  EXPECT_DOUBLE_EQ(magnitudes.y_pixel(17), 90);
  SvgPlot scores(small_layout(), Axis{{0, 1}, "x"}, Axis{{15, 17}, "score"});
  EXPECT_DOUBLE_EQ(scores.y_pixel(15), 90);
  EXPECT_DOUBLE_EQ(scores.x_pixel(0.5), 115);
}

TEST(SvgPlot, MarkersDifferByShapeAndCarryEscapedTitles) {
  SvgPlot plot(small_layout(), Axis{{0, 10}, "JD"}, Axis{{0, 10}, "mag", true});
  plot.point(1, 1, Marker::disc, "used", "D:\\obs\\a<1>&\"b\".fit");
  plot.point(2, 2, Marker::triangle, "outlier", "t");
  plot.point(3, 3, Marker::cross, "bad", "");
  plot.point(4, 4, Marker::square, "q", "s");
  plot.point(5, 5, Marker::diamond, "d", "d");
  std::string svg = plot.render("light-curve", "Light curve of star 1");
  EXPECT_NE(svg.find("<circle cx=\"55.0\" cy=\"27.0\" r=\"3.5\" class=\"used\"><title>"
                     "D:\\obs\\a&lt;1&gt;&amp;&quot;b&quot;.fit</title></circle>"),
            std::string::npos);
  EXPECT_NE(svg.find("class=\"outlier\"><title>t</title></path>"), std::string::npos);
  EXPECT_NE(svg.find("class=\"bad\"/>"), std::string::npos);  // no title: no element content
  EXPECT_NE(svg.find("<rect x=\""), std::string::npos);
  EXPECT_EQ(count_of(svg, "<title>"), 4u);
  EXPECT_EQ(svg.rfind("<svg class=\"light-curve\" viewBox=\"0 0 200 120\" width=\"200\" height=\"120\" role=\"img\" "
                      "aria-label=\"Light curve of star 1\">",
                      0),
            0u);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST(SvgPlot, DotsOnOnePixelAreDrawnOnce) {
  SvgPlot plot(small_layout(), Axis{{0, 150}, "x"}, Axis{{0, 70}, "y"});
  // One data unit is one pixel: the first three points round to pixel (50, 55).
  plot.dots({{10.2, 35}, {9.8, 35}, {10.0, 35.3}, {11, 35}, {10, 36}}, "star");
  std::string svg = plot.render("overview", "all stars");
  EXPECT_NE(svg.find("<path class=\"star\" d=\"M50 54h0M50 55h0M51 55h0\"/>"), std::string::npos);
}

TEST(SvgPlot, BandLabelsThatWouldOverlapAreLeftOut) {
  SvgPlot plot(small_layout(), Axis{{0, 150}, "x"}, Axis{{0, 1}, "y"});
  plot.band(0, 10, "night", "2017-03-01");
  plot.band(20, 30, "night alt", "2017-03-02");  // starts inside the first label
  plot.band(80, 90, "night", "2017-03-04");
  std::string svg = plot.render("", "bands");
  EXPECT_EQ(count_of(svg, "class=\"night"), 3u);
  EXPECT_NE(svg.find(">2017-03-01<"), std::string::npos);
  EXPECT_EQ(svg.find(">2017-03-02<"), std::string::npos);
  EXPECT_NE(svg.find(">2017-03-04<"), std::string::npos);
}

TEST(SvgPlot, PanelsShareTheCoarsestTickStepAndCaptionWhatFits) {
  SvgPlot plot(small_layout(), {{{0, 10}, 0, 70, {"a caption too long", "short"}}, {{0, 2}, 80, 150, {"x"}}},
               Axis{{0, 1}, "y"});
  EXPECT_DOUBLE_EQ(plot.x_pixel(1, 1), 155);
  std::string svg = plot.render("", "panels");
  EXPECT_EQ(count_of(svg, "<rect class=\"frame\""), 2u);
  // Panel 1 ticks every 10 at 0 and 10, panel 2 takes that step: only 0. The
  // label of 10 would reach past the middle of the gap and is left out.
  EXPECT_NE(svg.find("<text x=\"40.0\" y=\"108.0\" text-anchor=\"middle\" class=\"tick-label\">0<"), std::string::npos);
  EXPECT_NE(svg.find("<text x=\"120.0\" y=\"108.0\" text-anchor=\"middle\" class=\"tick-label\">0<"),
            std::string::npos);
  EXPECT_EQ(count_of(svg, "text-anchor=\"middle\" class=\"tick-label\""), 2u);
  EXPECT_NE(svg.find(">short<"), std::string::npos);
  EXPECT_EQ(svg.find(">a caption too long<"), std::string::npos);
  EXPECT_NE(svg.find(">x<"), std::string::npos);
}

TEST(SvgPlot, LabelsBesideTheFrameKeepClearOfEachOther) {
  SvgPlot plot(small_layout(), Axis{{0, 1}, "x"}, Axis{{0, 70}, "y", true});  // one unit a pixel, from y = 20
  plot.horizontal_line(30, "a", "first");                                     // wanted baseline 54
  plot.horizontal_line(35, "b", "second");                                    // 59: below the first
  plot.horizontal_line(25, "c", "third");                                     // 49: above it
  plot.edge_arrow(true, "d", "arrow");                                        // 32: above the third
  std::string svg = plot.render("", "labels");
  for (const char* label : {"y=\"54.0\" class=\"line-label\">first<", "y=\"66.0\" class=\"line-label\">second<",
                            "y=\"42.0\" class=\"line-label\">third<", "y=\"30.0\" class=\"line-label\">arrow<",
                            "<path d=\"M198.0 20.0l-3.5 6.0h7.0ZM198.0 26.0v8.0\" class=\"d\"/>"})
    EXPECT_NE(svg.find(label), std::string::npos) << label;
}

}  // namespace
}  // namespace varisift
