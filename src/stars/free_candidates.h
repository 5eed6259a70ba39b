// The free candidates of one image in index order, for the boxes the
// candidate grid declines: the first free candidate inside a box is found by
// walking them from the lowest index, jumping over the taken ones.
#pragma once

#include <cstdint>
#include <vector>

#include "stars/candidate_grid.h"
#include "store/observation_store.h"

namespace varisift {

class FreeCandidates {
 public:
  explicit FreeCandidates(const Image& image);

  // The lowest index m of a free measurement of the image inside the box;
  // 0 when there is none.
  std::uint32_t first_free(const OpenBox& box);

 private:
  // The lowest index k0 >= k (0-based) of a free measurement, or the count.
  std::size_t next_free(std::size_t k);

  const std::vector<Measurement>& meas_;
  // jump_[k] > k: no free measurement lies in [k, jump_[k]). Set on the
  // taken measurements a walk passes, so that each is passed about once.
  std::vector<std::uint16_t> jump_;
};

}  // namespace varisift
