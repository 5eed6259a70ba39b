// One reference against every image of the matcher's run: one gather of the
// free measurements inside its box from the grid, then the lowest index of
// each image; for a box the grid refuses, one query per image to that
// image's own index.
#include "stars/reference_matcher.h"

#include <algorithm>
#include <bit>

namespace varisift {

ReferenceMatcher::ReferenceMatcher(ObservationStore& store, std::size_t first, std::size_t last, std::size_t takes_room)
    : store_(store), first_(first), last_(last) {
  takes_.reserve(takes_room);
  indexes_.resize(last >= first ? last - first + 1 : 0);
  grid_.build(store, first, last);
}

void ReferenceMatcher::match(const Reference& reference, std::size_t position) {
  if (reference.box.ra_window <= 0 || reference.box.dec_window <= 0 || position >= last_) return;
  std::size_t begin = takes_.size();
  OpenBox box{reference.ra - reference.box.ra_window, reference.ra + reference.box.ra_window,
              reference.dec - reference.box.dec_window, reference.dec + reference.box.dec_window};
  if (grid_.gather_free(box, position, keys_)) {
    // The lowest index per later image.
    for (CandidateKey key : keys_) {
      std::size_t q = key_position(key);
      std::uint32_t m = key_index(key);
      std::uint64_t bit = std::uint64_t{1} << (q % 64);
      if (!(found_[q / 64] & bit)) {
        found_[q / 64] |= bit;
        lowest_[q] = static_cast<std::uint16_t>(m);
      } else if (m < lowest_[q]) {
        lowest_[q] = static_cast<std::uint16_t>(m);
      }
    }
    // Taken in time order, each star's measurements thus in time order.
    for (std::size_t word = 0; word < found_.size(); ++word) {
      for (std::uint64_t bits = found_[word]; bits != 0; bits &= bits - 1) {
        std::size_t q = word * 64 + static_cast<std::size_t>(std::countr_zero(bits));
        take(q, lowest_[q], reference.star);
      }
      found_[word] = 0;
    }
  } else {
    Measurement at;
    at.ra = reference.ra;
    at.dec = reference.dec;
    for (std::size_t q = std::max(first_, position + 1); q <= last_; ++q) {
      std::uint32_t m = image_index(q).first_free_in_box(at, reference.box);
      if (m != 0) take(q, m, reference.star);
    }
  }
  if (takes_.size() > begin) star_takes_.push_back({reference.star, static_cast<std::uint32_t>(takes_.size())});
}

void ReferenceMatcher::take(std::size_t position, std::uint32_t m, std::uint32_t star) {
  std::uint8_t i = store_.image_order[position];
  Measurement& meas = store_.images[i].measurement(m);
  meas.free = 0;
  meas.star = star;
  if (CandidateIndex* index = indexes_[position - first_].get()) index->take(m);
  takes_.push_back(StarEntry{static_cast<std::uint16_t>(m), i});
}

CandidateIndex& ReferenceMatcher::image_index(std::size_t position) {
  std::unique_ptr<CandidateIndex>& index = indexes_[position - first_];
  if (!index) {
    const Image& image = store_.images[store_.image_order[position]];
    index = std::make_unique<CandidateIndex>();
    index->build(image);
    for (std::uint32_t m = 1; m <= image.meas_count(); ++m)
      if (!image.measurement(m).free) index->take(m);
  }
  return *index;
}

}  // namespace varisift
