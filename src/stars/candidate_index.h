// A spatial index over the measurements of one image that answers the
// question identification asks for every reference measurement: which is
// the free measurement with the lowest index inside the reference's box?
// Identification asks it for the boxes the grid over the whole series
// refuses: huge ones, and ones over measurements piled on one position.
//
// A uniform grid over the image answers the usual small boxes by looking at
// a few cells, whose points are kept in index order. A box that covers many
// cells (a huge FWHM, a field near the pole) goes to a k-d tree whose nodes
// know the lowest free index below them, so a node inside the box is
// answered without visiting its points; the tree is built only when such a
// box first comes. Taking a measurement keeps both up to date.
#pragma once

#include <cstdint>
#include <vector>

#include "stars/search_box.h"
#include "store/observation_store.h"

namespace varisift {

class CandidateIndex {
 public:
  // Indexes every measurement of the image; all count as free.
  void build(const Image& image);

  // The lowest free index m inside the box around reference; 0 when none.
  std::uint32_t first_free_in_box(const Measurement& reference, const SearchBox& box);

  // Marks measurement m as taken.
  void take(std::uint32_t m);

 private:
  struct Point {
    std::int32_t ra;
    std::int32_t dec;
    std::uint32_t index;  // measurement index m
  };
  struct Node {
    std::int32_t ra_min, ra_max, dec_min, dec_max;
    std::uint32_t min_free;  // lowest free index below, or none_free
  };
  struct Query {
    std::int64_t ra_low, ra_high, dec_low, dec_high;  // open intervals
    std::uint32_t best;
  };

  void build_grid(const std::vector<Point>& points);
  std::uint32_t grid_search(Query& q);
  void build_tree();
  void build_node(std::size_t node, std::size_t begin, std::size_t end, int depth);
  void search(std::size_t node, std::size_t begin, std::size_t end, int depth, Query& q) const;
  std::uint32_t leaf_min_free(std::size_t begin, std::size_t end) const;
  void leaf_range(std::size_t leaf, std::size_t& begin, std::size_t& end) const;

  std::vector<std::uint8_t> free_;  // m -> 1 while free

  // Grid: cell (x, y) holds cell_points_[cell_start_[c] .. cell_start_[c + 1]),
  // c = y * grid_width_ + x, in index order; cell_cursor_[c] skips taken ones.
  std::int64_t ra_origin_ = 0, dec_origin_ = 0;
  int ra_shift_ = 0, dec_shift_ = 0;  // cells are 2^shift wide
  std::int64_t grid_width_ = 1, grid_height_ = 1;
  std::vector<std::uint32_t> cell_start_;
  std::vector<std::uint32_t> cell_cursor_;
  std::vector<Point> cell_points_;

  // Tree, built on demand over its own copy of the points.
  bool tree_built_ = false;
  std::vector<Point> tree_points_;
  std::vector<Node> nodes_;
  std::vector<std::uint32_t> leaf_of_;  // m -> leaf node holding it
  int leaf_depth_ = 0;
};

}  // namespace varisift
