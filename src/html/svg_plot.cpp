// Rendering of axes, ticks, bands, lines, points and legends as SVG text.
#include "html/svg_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <utility>

#include "html/page_text.h"
#include "html/pixel_columns.h"
#include "text/decimal_text.h"

namespace varisift {

namespace {

constexpr double marker_radius = 3.5;
constexpr double tick_length = 5;
constexpr double legend_line_length = 24;
// An arrow at the frame's edge: its distance right of the frame, its length
// and the size of its head.
constexpr double arrow_offset = 8;
constexpr double arrow_length = 14;
constexpr double arrow_head_length = 6;
constexpr double arrow_head_width = 7;
// Baselines of labels right of the frame are kept this far apart (their
// font is 11 pixels high).
constexpr double side_label_spacing = 12;
constexpr int font_size = 12;
// Average advance of a character at font_size in a sans-serif face: labels
// are kept this far apart per character, so that they do not run into each
// other.
constexpr double character_width = 6.6;
// Pixels between ticks that keep their labels apart.
constexpr int pixels_per_x_tick = 90;
constexpr int pixels_per_y_tick = 36;
// Powers of ten within which round_ticks looks for a step.
constexpr int lowest_power = -30;
constexpr int highest_power = 30;
// Tick values are whole multiples k of the step; beyond this k x 5 could
// leave the whole numbers a double holds exactly.
constexpr double max_multiple = 1e15;
constexpr double infinity = std::numeric_limits<double>::infinity();
// Pixels beyond this are not written (a point far off the plot).
constexpr double max_pixel = 1e6;

std::string px(double pixel) { return fixed_decimals(pixel, 1); }

// Appends the parts in order (also spares the temporaries of a chain of +).
void add(std::string& out, std::initializer_list<std::string_view> parts) {
  for (std::string_view part : parts) out.append(part);
}

double text_width(std::string_view text) {
  // Count code points, not bytes: continuation bytes of UTF-8 take no room.
  double count = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count * character_width;
}

// 10^e for |e| <= 30 as the double nearest to it: whole powers are exact up
// to 10^22, and a quotient by an exact power is correctly rounded.
double power_of_ten(int e) {
  double p = 1;
  for (int i = 0; i < (e < 0 ? -e : e); ++i) p *= 10;
  return e < 0 ? 1 / p : p;
}

// k x step for a step m x 10^e, computed so that k x m stays a whole number
// and is divided by an exact power of ten (0.1 x 3 would give 0.30000000000000004).
double multiple_of_step(std::int64_t k, int m, int e) {
  double whole = static_cast<double>(k * m);
  return e < 0 ? whole / power_of_ten(-e) : whole * power_of_ten(e);
}

// The start of an element for marker centred at (x, y), up to its last
// attribute, and its tag name.
std::pair<std::string, std::string_view> marker_start(Marker marker, double x, double y, double r) {
  std::string e;
  switch (marker) {
    case Marker::disc:
      e = "<circle cx=\"" + px(x) + "\" cy=\"" + px(y) + "\" r=\"" + px(r) + "\"";
      return {e, "circle"};
    case Marker::square: {
      double half = r * 0.9;
      e = "<rect x=\"" + px(x - half) + "\" y=\"" + px(y - half) + "\" width=\"" + px(2 * half) + "\" height=\"" +
          px(2 * half) + "\"";
      return {e, "rect"};
    }
    case Marker::triangle: {
      double t = r * 1.25;
      e = "<path d=\"M" + px(x) + " " + px(y - t) + "L" + px(x + t * 0.866) + " " + px(y + t * 0.5) + "L" +
          px(x - t * 0.866) + " " + px(y + t * 0.5) + "Z\"";
      return {e, "path"};
    }
    case Marker::cross: {
      double c = r * 0.9;
      e = "<path d=\"M" + px(x - c) + " " + px(y - c) + "L" + px(x + c) + " " + px(y + c) + "M" + px(x - c) + " " +
          px(y + c) + "L" + px(x + c) + " " + px(y - c) + "\"";
      return {e, "path"};
    }
    case Marker::diamond: {
      double d = r * 1.25;
      e = "<path d=\"M" + px(x) + " " + px(y - d) + "L" + px(x + d) + " " + px(y) + "L" + px(x) + " " + px(y + d) +
          "L" + px(x - d) + " " + px(y) + "Z\"";
      return {e, "path"};
    }
  }
  return {e, "path"};
}

std::string class_attribute(std::string_view css_class) {
  return css_class.empty() ? std::string() : " class=\"" + escaped(css_class) + "\"";
}

std::string text_element(double x, double y, std::string_view anchor, std::string_view css_class,
                         std::string_view text) {
  std::string e = "<text x=\"" + px(x) + "\" y=\"" + px(y) + "\"";
  if (!anchor.empty()) e += " text-anchor=\"" + std::string(anchor) + "\"";
  e += class_attribute(css_class) + ">";
  append_escaped(e, text);
  e += "</text>\n";
  return e;
}

// The multiples of the step m x 10^e in [low, high], however many; none
// for m = 0.
TickSet ticks_with_step(double low, double high, int m, int e) {
  if (!std::isfinite(low) || !std::isfinite(high) || !(high > low) || m == 0) return {};
  const double step = multiple_of_step(1, m, e);
  const double first = std::ceil(low / step);
  const double last = std::floor(high / step);
  if (std::abs(first) > max_multiple || std::abs(last) > max_multiple) return {};
  TickSet ticks{.step = step, .mantissa = m, .exponent = e, .decimals = e < 0 ? -e : 0, .values = {}};
  for (double k = first; k <= last; ++k) ticks.values.push_back(multiple_of_step(static_cast<std::int64_t>(k), m, e));
  return ticks;
}

}  // namespace

TickSet round_ticks(double low, double high, int max_count) {
  if (!std::isfinite(low) || !std::isfinite(high) || !(high > low) || max_count < 1) return {};
  const double wanted = (high - low) / max_count;
  // The first power of ten 10^e at or above a tenth of the wanted step, so
  // that one of 1, 2, 5 x 10^e or 10^(e+1) is the smallest that fits.
  int e = lowest_power;
  while (e < highest_power && power_of_ten(e + 1) <= wanted / 10) ++e;
  for (; e <= highest_power; ++e) {
    for (int m : {1, 2, 5}) {
      double step = multiple_of_step(1, m, e);
      double first = std::ceil(low / step);
      double last = std::floor(high / step);
      if (std::abs(first) > max_multiple || std::abs(last) > max_multiple) continue;
      if (last - first + 1 > max_count) continue;
      return ticks_with_step(low, high, m, e);
    }
  }
  return {};
}

std::string tick_label(double value, const TickSet& ticks) { return fixed_decimals(value, ticks.decimals); }

Range padded_range(double low, double high, double fraction, double min_span) {
  if (high - low < min_span) {
    double middle = low / 2 + high / 2;
    low = middle - min_span / 2;
    high = middle + min_span / 2;
  }
  double pad = (high - low) * fraction;
  return {low - pad, high + pad};
}

SvgPlot::SvgPlot(const PlotLayout& layout, const Axis& x, const Axis& y)
    : layout_(layout), x_tick_limit_(x.tick_limit), y_(y) {
  AxisPanel whole{x.range, 0, static_cast<double>(layout.width - layout.left - layout.right), {}};
  if (!x.title.empty()) whole.captions.push_back(x.title);
  x_panels_.push_back(whole);
}

SvgPlot::SvgPlot(const PlotLayout& layout, std::vector<AxisPanel> x_panels, const Axis& y)
    : layout_(layout), x_panels_(std::move(x_panels)), y_(y) {}

double SvgPlot::x_pixel(double x, std::size_t panel) const {
  if (panel >= x_panels_.size()) return layout_.left;
  const AxisPanel& p = x_panels_[panel];
  return layout_.left + p.left + (x - p.range.low) / (p.range.high - p.range.low) * (p.right - p.left);
}

double SvgPlot::y_pixel(double y) const {
  double height = layout_.height - layout_.top - layout_.bottom;
  double share = (y - y_.range.low) / (y_.range.high - y_.range.low);
  if (!y_.downward) share = 1 - share;
  return layout_.top + share * height;
}

void SvgPlot::band(double x_from, double x_to, std::string_view css_class, std::string_view label, std::size_t panel) {
  double left = x_pixel(x_from, panel);
  double right = x_pixel(x_to, panel);
  double frame_height = layout_.height - layout_.top - layout_.bottom;
  background_ += "<rect x=\"" + px(left) + "\" y=\"" + px(layout_.top) + "\" width=\"" + px(right - left) +
                 "\" height=\"" + px(frame_height) + "\"" + class_attribute(css_class) + "/>\n";
  if (label.empty()) return;
  double label_left = left + 3;
  if (label_left < band_label_end_) return;
  background_ += text_element(label_left, layout_.top - 5, "", "band-label", label);
  band_label_end_ = label_left + text_width(label) + character_width;
}

void SvgPlot::horizontal_line(double y, std::string_view css_class, std::string_view label) {
  double at = y_pixel(y);
  body_ += "<path d=\"";
  for (const AxisPanel& p : x_panels_)
    add(body_, {"M", px(layout_.left + p.left), " ", px(at), "H", px(layout_.left + p.right)});
  add(body_, {"\"", class_attribute(css_class), "/>\n"});
  if (!label.empty())
    body_ += text_element(layout_.width - layout_.right + 5, free_side_baseline(at + 4), "", "line-label", label);
}

void SvgPlot::edge_arrow(bool at_top, std::string_view css_class, std::string_view label) {
  const double x = layout_.width - layout_.right + arrow_offset;
  const double edge = at_top ? layout_.top : layout_.height - layout_.bottom;
  const double inward = at_top ? 1 : -1;  // the direction into the frame
  add(body_, {"<path d=\"M", px(x), " ", px(edge), "l", px(-arrow_head_width / 2), " ", px(inward * arrow_head_length),
              "h", px(arrow_head_width), "ZM", px(x), " ", px(edge + inward * arrow_head_length), "v",
              px(inward * (arrow_length - arrow_head_length)), "\"", class_attribute(css_class), "/>\n"});
  // The label's baseline lies inside the arrow's length, from the edge.
  const double baseline = at_top ? edge + arrow_length - 2 : edge - 2;
  if (!label.empty())
    body_ += text_element(x + arrow_head_width / 2 + 3, free_side_baseline(baseline), "", "line-label", label);
}

double SvgPlot::free_side_baseline(double wanted) {
  double baseline = wanted;
  double direction = 0;  // of the first move, kept so that a label never moves back
  for (bool moved = true; moved;) {
    moved = false;
    for (double taken : side_baselines_) {
      if (std::abs(baseline - taken) >= side_label_spacing) continue;
      if (direction == 0) direction = baseline >= taken ? 1 : -1;
      baseline = taken + direction * side_label_spacing;
      moved = true;
    }
  }
  side_baselines_.push_back(baseline);
  return baseline;
}

void SvgPlot::point(double x, double y, Marker marker, std::string_view css_class, std::string_view title,
                    std::size_t panel) {
  auto [start, tag] = marker_start(marker, x_pixel(x, panel), y_pixel(y), marker_radius);
  body_ += start + class_attribute(css_class);
  if (title.empty()) {
    body_ += "/>\n";
    return;
  }
  body_ += "><title>";
  append_escaped(body_, title);
  body_ += "</title></" + std::string(tag) + ">\n";
}

void SvgPlot::dots(const std::vector<DotPoint>& points, std::string_view css_class) {
  std::vector<std::pair<std::int32_t, std::int32_t>> pixels;
  pixels.reserve(points.size());
  for (const DotPoint& p : points) {
    double x = std::round(x_pixel(p.x));
    double y = std::round(y_pixel(p.y));
    if (std::isfinite(x) && std::isfinite(y) && std::abs(x) < max_pixel && std::abs(y) < max_pixel)
      pixels.emplace_back(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
  }
  std::sort(pixels.begin(), pixels.end());
  pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
  if (pixels.empty()) return;
  // "h0" draws a path of length zero, which the round line caps of the
  // page's style make a dot.
  body_ += "<path" + class_attribute(css_class) + " d=\"";
  for (const auto& [x, y] : pixels) add(body_, {"M", std::to_string(x), " ", std::to_string(y), "h0"});
  body_ += "\"/>\n";
}

void SvgPlot::curve(const std::vector<DotPoint>& points, std::string_view css_class) {
  std::vector<PlotPixel> pixels;
  pixels.reserve(points.size());
  for (const DotPoint& p : points) {
    const PlotPixel pixel{x_pixel(p.x), y_pixel(p.y)};
    if (std::isfinite(pixel.x) && std::isfinite(pixel.y) && std::abs(pixel.x) < max_pixel &&
        std::abs(pixel.y) < max_pixel)
      pixels.push_back(pixel);
  }
  const std::vector<PlotPixel> kept = thinned_to_columns(pixels);
  if (kept.empty()) return;
  add(body_, {"<path", class_attribute(css_class), " d=\""});
  for (std::size_t i = 0; i < kept.size(); ++i) add(body_, {i == 0 ? "M" : "L", px(kept[i].x), " ", px(kept[i].y)});
  body_ += "\"/>\n";
}

void SvgPlot::legend(const std::vector<LegendEntry>& entries) {
  double x = layout_.left + marker_radius;
  double y = font_size;
  for (const LegendEntry& entry : entries) {
    double key_width = 2 * marker_radius;
    if (entry.line) {
      key_width = legend_line_length;
      add(legend_, {"<path d=\"M", px(x - marker_radius), " ", px(y), "h", px(key_width), "\"",
                    class_attribute(entry.css_class), "/>\n"});
    } else {
      auto [start, tag] = marker_start(entry.marker, x, y, marker_radius);
      legend_ += start + class_attribute(entry.css_class) + "/>\n";
    }
    legend_ += text_element(x - marker_radius + key_width + 4, y + font_size / 3.0, "", "legend-text", entry.text);
    x += key_width + 4 + text_width(entry.text) + 3 * character_width;
  }
}

void SvgPlot::note(std::string_view text) {
  double middle_x = (layout_.left + layout_.width - layout_.right) / 2.0;
  double middle_y = (layout_.top + layout_.height - layout_.bottom) / 2.0;
  body_ += text_element(middle_x, middle_y, "middle", "plot-note", text);
}

std::string SvgPlot::axes() const {
  const double left = layout_.left;
  const double top = layout_.top;
  const double bottom = layout_.height - layout_.bottom;
  std::string a;
  std::string grid;
  std::string marks;
  // The panels share the coarsest step any of them needs, so that their
  // ticks read alike.
  TickSet coarsest;
  for (const AxisPanel& p : x_panels_) {
    TickSet own =
        round_ticks(p.range.low, p.range.high, std::max(2, static_cast<int>(p.right - p.left) / pixels_per_x_tick));
    if (own.step > coarsest.step) coarsest = own;
  }
  for (std::size_t i = 0; i < x_panels_.size(); ++i) {
    const AxisPanel& p = x_panels_[i];
    // A tick label stays on its panel's side of the gaps to its neighbours;
    // the outer ends have the margins.
    const double label_from = i == 0 ? -infinity : left + (x_panels_[i - 1].right + p.left) / 2;
    const double label_to = i + 1 == x_panels_.size() ? infinity : left + (p.right + x_panels_[i + 1].left) / 2;
    const TickSet xt = ticks_with_step(p.range.low, p.range.high, coarsest.mantissa, coarsest.exponent);
    for (double v : xt.values) {
      if (v > x_tick_limit_) break;
      const double at = x_pixel(v, i);
      const std::string label = tick_label(v, xt);
      if (at - text_width(label) / 2 < label_from || at + text_width(label) / 2 > label_to) continue;
      add(grid, {"M", px(at), " ", px(top), "V", px(bottom)});
      add(marks, {"M", px(at), " ", px(bottom), "v", px(tick_length)});
      a += text_element(at, bottom + tick_length + font_size + 1, "middle", "tick-label", label);
    }
  }
  TickSet yt =
      round_ticks(y_.range.low, y_.range.high, std::max(2, static_cast<int>(bottom - top) / pixels_per_y_tick));
  for (double v : yt.values) {
    if (v > y_.tick_limit) break;
    if (v < y_.tick_floor) continue;
    std::string at = px(y_pixel(v));
    for (const AxisPanel& p : x_panels_) add(grid, {"M", px(left + p.left), " ", at, "H", px(left + p.right)});
    add(marks, {"M", px(left), " ", at, "h", px(-tick_length)});
    a += text_element(left - tick_length - 3, y_pixel(v) + font_size / 3.0, "end", "tick-label", tick_label(v, yt));
  }
  std::string out;
  if (!grid.empty()) out += "<path class=\"grid\" d=\"" + grid + "\"/>\n";
  for (const AxisPanel& p : x_panels_)
    out += "<rect class=\"frame\" x=\"" + px(left + p.left) + "\" y=\"" + px(top) + "\" width=\"" +
           px(p.right - p.left) + "\" height=\"" + px(bottom - top) + "\"/>\n";
  if (!marks.empty()) out += "<path class=\"tick\" d=\"" + marks + "\"/>\n";
  out += a;
  for (const AxisPanel& p : x_panels_) {
    for (const std::string& caption : p.captions) {
      if (text_width(caption) > p.right - p.left) continue;
      out += text_element(left + p.left / 2 + p.right / 2, layout_.height - 6, "middle", "axis-title", caption);
      break;
    }
  }
  if (y_.title.empty()) return out;
  // The vertical axis title, turned to read upward along the left margin.
  double title_x = font_size + 2;
  double title_y = (top + bottom) / 2;
  out += "<text x=\"" + px(title_x) + "\" y=\"" + px(title_y) + "\" text-anchor=\"middle\" transform=\"rotate(-90 " +
         px(title_x) + " " + px(title_y) + ")\" class=\"axis-title\">";
  append_escaped(out, y_.title);
  out += "</text>\n";
  return out;
}

std::string SvgPlot::render(std::string_view css_class, std::string_view label) const {
  std::string w = std::to_string(layout_.width);
  std::string h = std::to_string(layout_.height);
  std::string out = "<svg" + class_attribute(css_class) + " viewBox=\"0 0 " + w + " " + h + "\" width=\"" + w +
                    "\" height=\"" + h + "\" role=\"img\" aria-label=\"" + escaped(label) + "\">\n";
  out += background_;
  out += axes();
  out += body_;
  out += legend_;
  out += "</svg>\n";
  return out;
}

}  // namespace varisift
