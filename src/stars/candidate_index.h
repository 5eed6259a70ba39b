// A spatial index over the measurements of one image that answers the
// question identification asks for every reference measurement: which is
// the free measurement with the lowest index inside the reference's box?
//
// It is a k-d tree whose every node knows the lowest free index below it, so
// a box that covers a whole node is answered without visiting its points and
// a node that cannot beat the best index found so far is skipped. Taking a
// measurement updates the lowest free indices along its path to the root.
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
  std::uint32_t first_free_in_box(const Measurement& reference, const SearchBox& box) const;

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

  void build_node(std::size_t node, std::size_t begin, std::size_t end, int depth);
  void search(std::size_t node, std::size_t begin, std::size_t end, int depth, Query& q) const;
  std::uint32_t leaf_min_free(std::size_t begin, std::size_t end) const;

  std::vector<Point> points_;
  std::vector<Node> nodes_;
  std::vector<std::uint32_t> position_of_;  // m -> position in points_
  std::vector<std::uint8_t> free_;          // m -> 1 while free
  int leaf_depth_ = 0;
};

}  // namespace varisift
