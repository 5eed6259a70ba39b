// The candidates of one image in a tree, for the boxes the candidate grid
// declines: each branch holds the bounds of its positions and the lowest
// index of a free candidate among them, so the first free candidate inside a
// box is found by entering only the branches that cross the box's edge and
// still hold a free index below the best found so far.
#pragma once

#include <cstdint>
#include <vector>

#include "stars/candidate_grid.h"
#include "store/observation_store.h"

namespace varisift {

class CandidateTree {
 public:
  // The tree is grown at the first search that the image's lowest free
  // measurement does not answer. Free flags are read at each search: they
  // may be cleared in between, never set.
  explicit CandidateTree(const Image& image) : meas_(image.meas) {}

  // The lowest index m of a free measurement of the image inside the box;
  // 0 when there is none. Adds to box_tests the measurements and branches it
  // tested against the box.
  std::uint32_t first_free(const OpenBox& box, std::uint64_t& box_tests);

 private:
  struct Bounds {
    std::int32_t ra_min, ra_max, dec_min, dec_max;
  };

  // Branch b covers the slots [begin, end); its halves are 2b and 2b + 1,
  // split at the middle slot, the root is 1.
  void grow();
  void build(std::size_t b, std::size_t begin, std::size_t end, bool by_ra);
  bool is_leaf(std::size_t b, std::size_t begin, std::size_t end) const;
  void search(std::size_t b, std::size_t begin, std::size_t end, const OpenBox& box, std::uint16_t& best,
              std::uint64_t& box_tests);
  // The lowest free index of branch b now (no_free for none).
  std::uint16_t settled(std::size_t b, std::size_t begin, std::size_t end);

  const std::vector<Measurement>& meas_;
  std::size_t lowest_ = 0;            // every measurement before meas_[lowest_] is taken
  std::vector<std::uint16_t> order_;  // per slot, its index m; a leaf's slots in index order
  std::vector<std::uint16_t> slot_;   // slot_[m - 1]: the slot of m
  std::vector<Bounds> bounds_;        // per branch
  // Per branch, at most its lowest free index: exact while that measurement
  // is free (taking only raises it), no_free when none is.
  std::vector<std::uint16_t> first_free_;
};

}  // namespace varisift
