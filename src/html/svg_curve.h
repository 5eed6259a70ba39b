// Drawing over a figure of the SVG plotter what it does not draw itself: a
// curve through many points and a marker on top of it. The elements are
// written in the plot's pixels and inserted before the figure's end, so
// they lie above everything the plotter drew.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "html/svg_plot.h"

namespace varisift {

// A path through the points in their order. Of the points that fall into
// one whole pixel column, only the first, the highest, the lowest and the
// last are kept, so a curve of many thousands of points takes a few bytes
// per pixel of width and looks the same.
std::string curve_path(const SvgPlot& plot, const std::vector<DotPoint>& points, std::string_view css_class);

// A diamond at (x, y) with a title the browser shows on hover.
std::string diamond_marker(const SvgPlot& plot, double x, double y, std::string_view css_class, std::string_view title);

// The rendered figure with the elements added just before its closing tag.
std::string with_overlay(std::string svg, std::string_view elements);

}  // namespace varisift
