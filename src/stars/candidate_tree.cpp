// The candidate tree: halves split alternately in right ascension and
// declination at the middle of their measurements, down to leaves of a few
// measurements or of one position, each leaf in index order.
#include "stars/candidate_tree.h"

#include <algorithm>

namespace varisift {

namespace {
// A branch of at most this many measurements is not split.
constexpr std::size_t leaf_size = 16;
// Above every index m of an image.
constexpr std::uint16_t no_free = 0xFFFF;
}  // namespace

void CandidateTree::grow() {
  order_.resize(meas_.size());
  slot_.resize(meas_.size());
  for (std::size_t k = 0; k < order_.size(); ++k) order_[k] = static_cast<std::uint16_t>(k + 1);
  // After `levels` halvings no branch holds more than leaf_size.
  std::size_t levels = 0;
  while ((leaf_size << levels) < order_.size()) ++levels;
  bounds_.resize(std::size_t{2} << levels);
  first_free_.assign(bounds_.size(), no_free);
  build(1, 0, order_.size(), true);
}

void CandidateTree::build(std::size_t b, std::size_t begin, std::size_t end, bool by_ra) {
  const Measurement* meas = meas_.data();
  auto slot = [&](std::size_t k) { return order_.begin() + static_cast<std::ptrdiff_t>(k); };
  Bounds& bounds = bounds_[b];
  bounds = Bounds{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN};
  for (std::size_t k = begin; k < end; ++k) {
    const Measurement& candidate = meas[order_[k] - 1];
    bounds.ra_min = std::min(bounds.ra_min, candidate.ra);
    bounds.ra_max = std::max(bounds.ra_max, candidate.ra);
    bounds.dec_min = std::min(bounds.dec_min, candidate.dec);
    bounds.dec_max = std::max(bounds.dec_max, candidate.dec);
  }
  if (is_leaf(b, begin, end)) {
    // Its lowest index is no more than its lowest free one.
    std::sort(slot(begin), slot(end));
    for (std::size_t k = begin; k < end; ++k) slot_[order_[k] - 1] = static_cast<std::uint16_t>(k);
    if (begin < end) first_free_[b] = order_[begin];
    return;
  }
  // Where all share one coordinate, the other one splits: no line of the
  // first crosses the branch.
  bool split_ra = by_ra ? bounds.ra_min < bounds.ra_max : bounds.dec_min == bounds.dec_max;
  auto key = [&](std::uint16_t m) { return split_ra ? meas[m - 1].ra : meas[m - 1].dec; };
  std::size_t middle = (begin + end) / 2;
  std::nth_element(slot(begin), slot(middle), slot(end),
                   [&](std::uint16_t a, std::uint16_t c) { return key(a) < key(c); });
  build(2 * b, begin, middle, !split_ra);
  build(2 * b + 1, middle, end, !split_ra);
  first_free_[b] = std::min(first_free_[2 * b], first_free_[2 * b + 1]);
}

// A few measurements, or any number on one position: a box holds all of
// those or none.
bool CandidateTree::is_leaf(std::size_t b, std::size_t begin, std::size_t end) const {
  const Bounds& bounds = bounds_[b];
  return end - begin <= leaf_size || (bounds.ra_min == bounds.ra_max && bounds.dec_min == bounds.dec_max);
}

std::uint32_t CandidateTree::first_free(const OpenBox& box, std::uint64_t& box_tests) {
  // The image's lowest free measurement, when inside, is the answer: so it
  // is over a pile, or where the box holds the whole field.
  while (lowest_ < meas_.size() && !meas_[lowest_].free) ++lowest_;
  if (lowest_ == meas_.size()) return 0;
  ++box_tests;
  if (box.holds(meas_[lowest_])) return static_cast<std::uint32_t>(lowest_ + 1);
  if (bounds_.empty()) grow();
  std::uint16_t best = no_free;
  search(1, 0, order_.size(), box, best, box_tests);
  return best == no_free ? 0 : best;
}

// A branch is entered only when it may hold a free index below the best and
// crosses the box's edge. A line of right ascension crosses at most one half
// of a branch split in right ascension (their bounds meet at most on the
// line) and both halves of one split in declination, so it crosses about
// sqrt(L) of the L leaves, and a box's four edges about 4 sqrt(L): for
// 19,999 measurements at most 192 of 2,048 leaves of at most 10 each. A leaf
// on one position is never entered: the box holds all of it or none.
void CandidateTree::search(std::size_t b, std::size_t begin, std::size_t end, const OpenBox& box, std::uint16_t& best,
                           std::uint64_t& box_tests) {
  if (first_free_[b] >= best) return;
  ++box_tests;
  const Bounds& bounds = bounds_[b];
  if (bounds.ra_max <= box.ra_low || bounds.ra_min >= box.ra_high || bounds.dec_max <= box.dec_low ||
      bounds.dec_min >= box.dec_high)
    return;
  if (bounds.ra_min > box.ra_low && bounds.ra_max < box.ra_high && bounds.dec_min > box.dec_low &&
      bounds.dec_max < box.dec_high) {
    best = std::min(best, settled(b, begin, end));
    return;
  }
  if (is_leaf(b, begin, end)) {
    std::size_t k = begin;
    for (; k < end && order_[k] < best; ++k)
      if (meas_[order_[k] - 1].free && box.holds(meas_[order_[k] - 1])) best = order_[k];
    box_tests += k - begin;
    return;
  }
  std::size_t middle = (begin + end) / 2;
  search(2 * b, begin, middle, box, best, box_tests);
  search(2 * b + 1, middle, end, box, best, box_tests);
}

// Each take leaves stale at most the branches on one path, each put right
// once here: the free one after a stale index of a leaf lies after it.
std::uint16_t CandidateTree::settled(std::size_t b, std::size_t begin, std::size_t end) {
  std::uint16_t m = first_free_[b];
  if (m == no_free || meas_[m - 1].free) return m;
  if (is_leaf(b, begin, end)) {
    std::size_t k = slot_[m - 1] + std::size_t{1};
    while (k < end && !meas_[order_[k] - 1].free) ++k;
    first_free_[b] = k < end ? order_[k] : no_free;
  } else {
    std::size_t middle = (begin + end) / 2;
    first_free_[b] = std::min(settled(2 * b, begin, middle), settled(2 * b + 1, middle, end));
  }
  return first_free_[b];
}

}  // namespace varisift
