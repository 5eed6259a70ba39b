// Counts of ranks in a Fenwick tree.
#include "indices/rank_counts.h"

namespace varisift {

RankCounts::RankCounts(std::size_t size) : tree_(size + 1, 0) {
  highest_step_ = 1;
  while (highest_step_ * 2 <= size) highest_step_ *= 2;
}

void RankCounts::change(std::size_t rank, std::int32_t by) {
  for (std::size_t i = rank + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += by;
}

void RankCounts::add(std::size_t rank) {
  change(rank, 1);
  ++count_;
}

void RankCounts::remove(std::size_t rank) {
  change(rank, -1);
  --count_;
}

std::size_t RankCounts::kth_smallest(std::size_t k) const {
  // Descend from the largest step: skip every block that holds fewer than
  // the ranks still wanted.
  std::size_t position = 0;
  std::int64_t wanted = static_cast<std::int64_t>(k);
  for (std::size_t step = highest_step_; step > 0; step /= 2) {
    std::size_t next = position + step;
    if (next < tree_.size() && tree_[next] < wanted) {
      position = next;
      wanted -= tree_[next];
    }
  }
  return position;  // ranks 0 .. position - 1 hold fewer than k
}

}  // namespace varisift
