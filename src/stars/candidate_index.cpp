// Grid and k-d tree over one image's measurements, both answering "lowest
// free index inside a box".
#include "stars/candidate_index.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace varisift {

namespace {
constexpr std::uint32_t none_free = std::numeric_limits<std::uint32_t>::max();
// Points per tree leaf at most.
constexpr std::size_t leaf_size = 8;
// Points per grid cell on average.
constexpr std::int64_t points_per_cell = 2;
// A box covering more cells than this goes to the tree.
constexpr std::int64_t max_grid_cells_per_query = 24;

}  // namespace

void CandidateIndex::build(const Image& image) {
  std::size_t n = image.meas_count();
  std::vector<Point> points(n);
  free_.assign(n + 1, 1);
  free_[0] = 0;
  for (std::size_t k = 0; k < n; ++k)
    points[k] = {image.meas[k].ra, image.meas[k].dec, static_cast<std::uint32_t>(k + 1)};
  tree_built_ = false;
  build_grid(points);
}

void CandidateIndex::build_grid(const std::vector<Point>& points) {
  std::size_t n = points.size();
  cell_points_.clear();
  if (n == 0) return;
  std::int64_t ra_min = points[0].ra, ra_max = ra_min, dec_min = points[0].dec, dec_max = dec_min;
  for (const Point& p : points) {
    ra_min = std::min<std::int64_t>(ra_min, p.ra);
    ra_max = std::max<std::int64_t>(ra_max, p.ra);
    dec_min = std::min<std::int64_t>(dec_min, p.dec);
    dec_max = std::max<std::int64_t>(dec_max, p.dec);
  }
  std::int64_t ra_extent = ra_max - ra_min + 1;
  std::int64_t dec_extent = dec_max - dec_min + 1;
  // About points_per_cell points per cell, cells as square as the extents
  // allow, their sides powers of two so that a cell is found by a shift.
  double cells = std::max(1.0, static_cast<double>(n) / points_per_cell);
  double side = std::sqrt(static_cast<double>(ra_extent) * static_cast<double>(dec_extent) / cells);
  auto shift_for = [](double wanted, std::int64_t extent) {
    int shift = 0;
    while (shift < 40 && static_cast<double>(std::int64_t{1} << shift) < wanted && (std::int64_t{1} << shift) < extent)
      ++shift;
    return shift;
  };
  ra_shift_ = shift_for(side, ra_extent);
  dec_shift_ = shift_for(side, dec_extent);
  grid_width_ = ((ra_extent - 1) >> ra_shift_) + 1;
  grid_height_ = ((dec_extent - 1) >> dec_shift_) + 1;
  // A very flat extent would give one row or column of far too many cells.
  while (grid_width_ * grid_height_ > static_cast<std::int64_t>(4 * n + 4)) {
    if (grid_width_ >= grid_height_)
      grid_width_ = ((ra_extent - 1) >> ++ra_shift_) + 1;
    else
      grid_height_ = ((dec_extent - 1) >> ++dec_shift_) + 1;
  }
  ra_origin_ = ra_min;
  dec_origin_ = dec_min;
  std::size_t cell_count = static_cast<std::size_t>(grid_width_ * grid_height_);
  cell_start_.assign(cell_count + 1, 0);
  auto cell_of = [&](const Point& p) {
    return static_cast<std::size_t>(((p.dec - dec_origin_) >> dec_shift_) * grid_width_ +
                                    ((p.ra - ra_origin_) >> ra_shift_));
  };
  for (const Point& p : points) ++cell_start_[cell_of(p) + 1];
  for (std::size_t c = 0; c < cell_count; ++c) cell_start_[c + 1] += cell_start_[c];
  cell_cursor_.assign(cell_start_.begin(), cell_start_.end() - 1);
  cell_points_.resize(n);
  // Points enter their cells in index order, so each cell stays sorted by index.
  for (const Point& p : points) cell_points_[cell_cursor_[cell_of(p)]++] = p;
  cell_cursor_.assign(cell_start_.begin(), cell_start_.end() - 1);
}

std::uint32_t CandidateIndex::first_free_in_box(const Measurement& reference, const SearchBox& box) {
  if (cell_points_.empty() || box.ra_window <= 0 || box.dec_window <= 0) return 0;
  Query q{reference.ra - box.ra_window, reference.ra + box.ra_window, reference.dec - box.dec_window,
          reference.dec + box.dec_window, none_free};
  std::uint32_t found = grid_search(q);
  return found == none_free ? 0 : found;
}

std::uint32_t CandidateIndex::grid_search(Query& q) {
  // Cells holding values strictly inside the open intervals, clamped to the grid.
  // (An arithmetic right shift rounds toward minus infinity.)
  std::int64_t x0 = std::max<std::int64_t>(0, (q.ra_low + 1 - ra_origin_) >> ra_shift_);
  std::int64_t x1 = std::min<std::int64_t>(grid_width_ - 1, (q.ra_high - 1 - ra_origin_) >> ra_shift_);
  std::int64_t y0 = std::max<std::int64_t>(0, (q.dec_low + 1 - dec_origin_) >> dec_shift_);
  std::int64_t y1 = std::min<std::int64_t>(grid_height_ - 1, (q.dec_high - 1 - dec_origin_) >> dec_shift_);
  if (x0 > x1 || y0 > y1) return none_free;
  if ((x1 - x0 + 1) * (y1 - y0 + 1) > max_grid_cells_per_query) {
    if (!tree_built_) build_tree();
    search(0, 0, tree_points_.size(), 0, q);
    return q.best;
  }
  for (std::int64_t y = y0; y <= y1; ++y) {
    for (std::int64_t x = x0; x <= x1; ++x) {
      std::size_t c = static_cast<std::size_t>(y * grid_width_ + x);
      std::uint32_t pos = cell_cursor_[c];
      std::uint32_t end = cell_start_[c + 1];
      while (pos < end && !free_[cell_points_[pos].index]) ++pos;
      cell_cursor_[c] = pos;
      for (; pos < end; ++pos) {
        const Point& p = cell_points_[pos];
        if (p.index >= q.best) break;
        if (free_[p.index] && p.ra > q.ra_low && p.ra < q.ra_high && p.dec > q.dec_low && p.dec < q.dec_high) {
          q.best = p.index;
          break;
        }
      }
    }
  }
  return q.best;
}

void CandidateIndex::take(std::uint32_t m) {
  free_[m] = 0;
  if (!tree_built_) return;
  std::size_t node = leaf_of_[m];
  if (nodes_[node].min_free != m) return;  // nothing above changes
  std::size_t begin, end;
  leaf_range(node, begin, end);
  nodes_[node].min_free = leaf_min_free(begin, end);
  // Up the tree while m was the lowest free index of the node.
  while (node > 0) {
    std::size_t parent = (node - 1) / 2;
    if (nodes_[parent].min_free != m) break;
    nodes_[parent].min_free = std::min(nodes_[2 * parent + 1].min_free, nodes_[2 * parent + 2].min_free);
    node = parent;
  }
}

void CandidateIndex::build_tree() {
  // The tree's own copy of the points; their order does not matter.
  std::size_t n = cell_points_.size();
  tree_points_ = cell_points_;
  leaf_of_.assign(n + 1, 0);
  leaf_depth_ = 0;
  while ((n >> leaf_depth_) > leaf_size) ++leaf_depth_;
  nodes_.assign((std::size_t{2} << leaf_depth_) - 1, Node{0, 0, 0, 0, none_free});
  build_node(0, 0, n, 0);
  tree_built_ = true;
}

void CandidateIndex::build_node(std::size_t node, std::size_t begin, std::size_t end, int depth) {
  Node& nd = nodes_[node];
  if (begin == end) {
    nd = Node{0, 0, 0, 0, none_free};
    return;
  }
  nd.ra_min = nd.ra_max = tree_points_[begin].ra;
  nd.dec_min = nd.dec_max = tree_points_[begin].dec;
  for (std::size_t pos = begin; pos < end; ++pos) {
    nd.ra_min = std::min(nd.ra_min, tree_points_[pos].ra);
    nd.ra_max = std::max(nd.ra_max, tree_points_[pos].ra);
    nd.dec_min = std::min(nd.dec_min, tree_points_[pos].dec);
    nd.dec_max = std::max(nd.dec_max, tree_points_[pos].dec);
  }
  if (depth == leaf_depth_) {
    nd.min_free = leaf_min_free(begin, end);
    for (std::size_t pos = begin; pos < end; ++pos)
      leaf_of_[tree_points_[pos].index] = static_cast<std::uint32_t>(node);
    return;
  }
  bool split_ra =
      static_cast<std::int64_t>(nd.ra_max) - nd.ra_min >= static_cast<std::int64_t>(nd.dec_max) - nd.dec_min;
  std::size_t mid = begin + (end - begin) / 2;
  auto first = tree_points_.begin() + static_cast<std::ptrdiff_t>(begin);
  auto middle = tree_points_.begin() + static_cast<std::ptrdiff_t>(mid);
  auto last = tree_points_.begin() + static_cast<std::ptrdiff_t>(end);
  if (split_ra)
    std::nth_element(first, middle, last, [](const Point& a, const Point& b) { return a.ra < b.ra; });
  else
    std::nth_element(first, middle, last, [](const Point& a, const Point& b) { return a.dec < b.dec; });
  build_node(2 * node + 1, begin, mid, depth + 1);
  build_node(2 * node + 2, mid, end, depth + 1);
  nodes_[node].min_free = std::min(nodes_[2 * node + 1].min_free, nodes_[2 * node + 2].min_free);
}

std::uint32_t CandidateIndex::leaf_min_free(std::size_t begin, std::size_t end) const {
  std::uint32_t best = none_free;
  for (std::size_t pos = begin; pos < end; ++pos)
    if (free_[tree_points_[pos].index] && tree_points_[pos].index < best) best = tree_points_[pos].index;
  return best;
}

void CandidateIndex::search(std::size_t node, std::size_t begin, std::size_t end, int depth, Query& q) const {
  const Node& nd = nodes_[node];
  if (nd.min_free >= q.best) return;
  if (nd.ra_max <= q.ra_low || nd.ra_min >= q.ra_high || nd.dec_max <= q.dec_low || nd.dec_min >= q.dec_high) return;
  if (nd.ra_min > q.ra_low && nd.ra_max < q.ra_high && nd.dec_min > q.dec_low && nd.dec_max < q.dec_high) {
    q.best = nd.min_free;
    return;
  }
  if (depth == leaf_depth_) {
    for (std::size_t pos = begin; pos < end; ++pos) {
      const Point& p = tree_points_[pos];
      if (p.index < q.best && free_[p.index] && p.ra > q.ra_low && p.ra < q.ra_high && p.dec > q.dec_low &&
          p.dec < q.dec_high)
        q.best = p.index;
    }
    return;
  }
  std::size_t mid = begin + (end - begin) / 2;
  std::size_t left = 2 * node + 1;
  std::size_t right = 2 * node + 2;
  if (nodes_[right].min_free < nodes_[left].min_free) {
    search(right, mid, end, depth + 1, q);
    search(left, begin, mid, depth + 1, q);
  } else {
    search(left, begin, mid, depth + 1, q);
    search(right, mid, end, depth + 1, q);
  }
}

void CandidateIndex::leaf_range(std::size_t leaf, std::size_t& begin, std::size_t& end) const {
  // Walk down from the root along the bits of the leaf's path.
  begin = 0;
  end = tree_points_.size();
  std::size_t first_leaf = (std::size_t{1} << leaf_depth_) - 1;
  std::size_t offset = leaf - first_leaf;
  for (int d = leaf_depth_ - 1; d >= 0; --d) {
    std::size_t mid = begin + (end - begin) / 2;
    if ((offset >> d) & 1)
      begin = mid;
    else
      end = mid;
  }
}

}  // namespace varisift
