// Thinning a curve of many points to the pixel columns it crosses: of the
// points that fall into one whole pixel column, only the first, the
// highest, the lowest and the last are kept, so a curve of many thousands
// of points takes a few bytes per pixel of width and looks the same.
#pragma once

#include <vector>

namespace varisift {

struct PlotPixel {
  double x = 0;
  double y = 0;
};

// The kept points in their order, each once; a column is a run of
// consecutive points with the same whole part of x.
std::vector<PlotPixel> thinned_to_columns(const std::vector<PlotPixel>& pixels);

}  // namespace varisift
