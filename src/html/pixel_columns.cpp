// The points a pixel column keeps.
#include "html/pixel_columns.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace varisift {

namespace {

// The first, highest, lowest and last of the pixels [from, to), in their
// order, each once.
void keep_column(const std::vector<PlotPixel>& pixels, std::size_t from, std::size_t to, std::vector<PlotPixel>& kept) {
  std::size_t top = from;
  std::size_t bottom = from;
  for (std::size_t i = from; i < to; ++i) {
    if (pixels[i].y < pixels[top].y) top = i;
    if (pixels[i].y > pixels[bottom].y) bottom = i;
  }
  const std::size_t chosen[] = {from, std::min(top, bottom), std::max(top, bottom), to - 1};
  for (std::size_t k = 0; k < 4; ++k)
    if (k == 0 || chosen[k] != chosen[k - 1]) kept.push_back(pixels[chosen[k]]);
}

}  // namespace

std::vector<PlotPixel> thinned_to_columns(const std::vector<PlotPixel>& pixels) {
  std::vector<PlotPixel> kept;
  for (std::size_t from = 0; from < pixels.size();) {
    std::size_t to = from + 1;
    while (to < pixels.size() && std::floor(pixels[to].x) == std::floor(pixels[from].x)) ++to;
    keep_column(pixels, from, to, kept);
    from = to;
  }
  return kept;
}

}  // namespace varisift
