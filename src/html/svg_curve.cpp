// Thinning a curve to its pixel columns and writing it as one path.
#include "html/svg_curve.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "html/page_text.h"
#include "text/decimal_text.h"

namespace varisift {

namespace {

// The size of a diamond, as the plotter's markers: a radius of 3.5 pixels
// and the diamond's corners 1.25 radii from its centre.
constexpr double diamond_reach = 3.5 * 1.25;
// Pixels beyond this are not written (a point far off the plot).
constexpr double max_pixel = 1e6;

std::string px(double pixel) { return fixed_decimals(pixel, 1); }

struct Pixel {
  double x = 0;
  double y = 0;
};

// The first, highest, lowest and last of the pixels [from, to), in their
// order, each once.
void keep_column(const std::vector<Pixel>& pixels, std::size_t from, std::size_t to, std::vector<Pixel>& kept) {
  std::size_t top = from;
  std::size_t bottom = from;
  for (std::size_t i = from; i < to; ++i) {
    if (pixels[i].y < pixels[top].y) top = i;
    if (pixels[i].y > pixels[bottom].y) bottom = i;
  }
  std::size_t chosen[] = {from, std::min(top, bottom), std::max(top, bottom), to - 1};
  for (std::size_t k = 0; k < 4; ++k)
    if (k == 0 || chosen[k] != chosen[k - 1]) kept.push_back(pixels[chosen[k]]);
}

}  // namespace

std::string curve_path(const SvgPlot& plot, const std::vector<DotPoint>& points, std::string_view css_class) {
  std::vector<Pixel> pixels;
  pixels.reserve(points.size());
  for (const DotPoint& p : points) {
    const Pixel pixel{plot.x_pixel(p.x), plot.y_pixel(p.y)};
    if (std::isfinite(pixel.x) && std::isfinite(pixel.y) && std::abs(pixel.x) < max_pixel &&
        std::abs(pixel.y) < max_pixel)
      pixels.push_back(pixel);
  }
  std::vector<Pixel> kept;
  for (std::size_t from = 0; from < pixels.size();) {
    std::size_t to = from + 1;
    while (to < pixels.size() && std::floor(pixels[to].x) == std::floor(pixels[from].x)) ++to;
    keep_column(pixels, from, to, kept);
    from = to;
  }
  if (kept.empty()) return "";
  std::string path = "<path class=\"" + escaped(css_class) + "\" d=\"";
  for (std::size_t i = 0; i < kept.size(); ++i) {
    path += i == 0 ? 'M' : 'L';
    path += px(kept[i].x);
    path += ' ';
    path += px(kept[i].y);
  }
  return path + "\"/>\n";
}

std::string diamond_marker(const SvgPlot& plot, double x, double y, std::string_view css_class,
                           std::string_view title) {
  const double cx = plot.x_pixel(x);
  const double cy = plot.y_pixel(y);
  const double d = diamond_reach;
  std::string e = "<path d=\"M" + px(cx) + " " + px(cy - d) + "L" + px(cx + d) + " " + px(cy) + "L" + px(cx) + " " +
                  px(cy + d) + "L" + px(cx - d) + " " + px(cy) + "Z\" class=\"" + escaped(css_class) + "\"><title>";
  append_escaped(e, title);
  return e + "</title></path>\n";
}

std::string with_overlay(std::string svg, std::string_view elements) {
  const std::size_t end = svg.rfind("</svg>");
  svg.insert(end == std::string::npos ? svg.size() : end, elements);
  return svg;
}

}  // namespace varisift
