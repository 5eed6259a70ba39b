// Walking an image's free candidates in index order.
#include "stars/free_candidates.h"

namespace varisift {

FreeCandidates::FreeCandidates(const Image& image) : meas_(image.meas), jump_(image.meas.size() + 1) {
  for (std::size_t k = 0; k < jump_.size(); ++k) jump_[k] = static_cast<std::uint16_t>(k);
}

std::uint32_t FreeCandidates::first_free(const OpenBox& box) {
  for (std::size_t k = next_free(0); k < meas_.size(); k = next_free(k + 1))
    if (box.holds(meas_[k])) return static_cast<std::uint32_t>(k + 1);
  return 0;
}

std::size_t FreeCandidates::next_free(std::size_t k) {
  std::size_t found = k;
  while (found < meas_.size() && !meas_[found].free) found = jump_[found] > found ? jump_[found] : found + 1;
  // Every taken measurement passed on the way now jumps straight there.
  while (k < found) {
    std::size_t next = jump_[k] > k ? jump_[k] : k + 1;
    jump_[k] = static_cast<std::uint16_t>(found);
    k = next;
  }
  return found;
}

}  // namespace varisift
