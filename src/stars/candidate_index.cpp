// k-d tree of one image's measurements with the lowest free index per node.
#include "stars/candidate_index.h"

#include <algorithm>
#include <limits>

namespace varisift {

namespace {
constexpr std::uint32_t none_free = std::numeric_limits<std::uint32_t>::max();
// Points per leaf at most.
constexpr std::size_t leaf_size = 8;
}  // namespace

void CandidateIndex::build(const Image& image) {
  std::size_t n = image.meas_count();
  points_.resize(n);
  position_of_.assign(n + 1, 0);
  free_.assign(n + 1, 1);
  free_[0] = 0;
  for (std::size_t k = 0; k < n; ++k) points_[k] = {image.meas[k].ra, image.meas[k].dec, static_cast<std::uint32_t>(k + 1)};
  leaf_depth_ = 0;
  while ((n >> leaf_depth_) > leaf_size) ++leaf_depth_;
  nodes_.assign((std::size_t{2} << leaf_depth_) - 1, Node{0, 0, 0, 0, none_free});
  build_node(0, 0, n, 0);
  for (std::size_t pos = 0; pos < n; ++pos) position_of_[points_[pos].index] = static_cast<std::uint32_t>(pos);
}

void CandidateIndex::build_node(std::size_t node, std::size_t begin, std::size_t end, int depth) {
  Node& nd = nodes_[node];
  if (begin == end) {
    nd = Node{0, 0, 0, 0, none_free};
    return;
  }
  nd.ra_min = nd.ra_max = points_[begin].ra;
  nd.dec_min = nd.dec_max = points_[begin].dec;
  for (std::size_t pos = begin; pos < end; ++pos) {
    nd.ra_min = std::min(nd.ra_min, points_[pos].ra);
    nd.ra_max = std::max(nd.ra_max, points_[pos].ra);
    nd.dec_min = std::min(nd.dec_min, points_[pos].dec);
    nd.dec_max = std::max(nd.dec_max, points_[pos].dec);
  }
  if (depth == leaf_depth_) {
    nd.min_free = leaf_min_free(begin, end);
    return;
  }
  bool split_ra = static_cast<std::int64_t>(nd.ra_max) - nd.ra_min >= static_cast<std::int64_t>(nd.dec_max) - nd.dec_min;
  std::size_t mid = begin + (end - begin) / 2;
  auto first = points_.begin() + static_cast<std::ptrdiff_t>(begin);
  auto middle = points_.begin() + static_cast<std::ptrdiff_t>(mid);
  auto last = points_.begin() + static_cast<std::ptrdiff_t>(end);
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
    if (free_[points_[pos].index] && points_[pos].index < best) best = points_[pos].index;
  return best;
}

std::uint32_t CandidateIndex::first_free_in_box(const Measurement& reference, const SearchBox& box) const {
  if (points_.empty() || box.ra_window <= 0 || box.dec_window <= 0) return 0;
  Query q{reference.ra - box.ra_window, reference.ra + box.ra_window, reference.dec - box.dec_window,
          reference.dec + box.dec_window, none_free};
  search(0, 0, points_.size(), 0, q);
  return q.best == none_free ? 0 : q.best;
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
      const Point& p = points_[pos];
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

void CandidateIndex::take(std::uint32_t m) {
  free_[m] = 0;
  std::size_t pos = position_of_[m];
  // Walk down to the leaf holding the point, remembering the path.
  std::size_t path[64];
  std::size_t node = 0, begin = 0, end = points_.size();
  int depth = 0;
  path[0] = 0;
  while (depth < leaf_depth_) {
    std::size_t mid = begin + (end - begin) / 2;
    if (pos < mid) {
      node = 2 * node + 1;
      end = mid;
    } else {
      node = 2 * node + 2;
      begin = mid;
    }
    path[++depth] = node;
  }
  nodes_[node].min_free = leaf_min_free(begin, end);
  for (int d = depth - 1; d >= 0; --d) {
    std::size_t parent = path[d];
    nodes_[parent].min_free = std::min(nodes_[2 * parent + 1].min_free, nodes_[2 * parent + 2].min_free);
  }
}

}  // namespace varisift
