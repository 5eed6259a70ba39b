// A multiset of ranks 0..size-1 (the places of values in one sorted list)
// as counts in a Fenwick tree: adding or removing a rank and finding the
// k-th smallest rank held each take log(size) steps. A magnitude bin that
// slides over the stars keeps its stars' index values this way, so its
// median and deviations are found without sorting the bin again for every
// centre.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace varisift {

class RankCounts {
 public:
  explicit RankCounts(std::size_t size);

  void add(std::size_t rank);
  void remove(std::size_t rank);  // a rank that was added
  std::size_t count() const { return count_; }
  // The k-th smallest rank held (1-based k, 1 <= k <= count()).
  std::size_t kth_smallest(std::size_t k) const;

 private:
  void change(std::size_t rank, std::int32_t by);

  // tree_[i] (1-based) holds the count of ranks i - lowbit(i) .. i - 1.
  std::vector<std::int32_t> tree_;
  std::size_t highest_step_ = 0;  // the largest power of two <= size
  std::size_t count_ = 0;
};

}  // namespace varisift
