// One reference against every image of the matcher's run: one gather from
// the grid, then the first free measurement of each image in key order; for
// a box the grid refuses, one query per image to that image's own index.
#include "stars/reference_matcher.h"

#include <algorithm>
#include <bit>

namespace varisift {

ReferenceMatcher::ReferenceMatcher(ObservationStore& store, std::size_t first, std::size_t last, GridShape shape)
    : store_(store), first_(first), last_(last) {
  std::size_t slots = 0;
  for (std::size_t position = first; position <= last; ++position) {
    taken_offset_.push_back(slots);
    slots += store.images[store.image_order[position]].meas.size() + 1;
  }
  taken_.assign(slots, 0);
  // Each measurement is taken at most once.
  takes_.reserve(slots - taken_offset_.size());
  indexes_.resize(last >= first ? last - first + 1 : 0);
  grid_.build(store, first, last, shape);
}

void ReferenceMatcher::match(const Reference& reference, std::size_t position) {
  if (reference.box.ra_window <= 0 || reference.box.dec_window <= 0 || position >= last_) return;
  std::size_t begin = takes_.size();
  OpenBox box{reference.ra - reference.box.ra_window, reference.ra + reference.box.ra_window,
              reference.dec - reference.box.dec_window, reference.dec + reference.box.dec_window};
  if (grid_.gather(box, position, keys_)) {
    // The lowest free index inside the box, per later image.
    for (CandidateKey key : keys_) {
      std::size_t q = key_position(key);
      std::uint32_t m = key_index(key);
      if (taken(q, m)) continue;
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
        take(q, lowest_[q]);
      }
      found_[word] = 0;
    }
  } else {
    Measurement at;
    at.ra = reference.ra;
    at.dec = reference.dec;
    for (std::size_t q = std::max(first_, position + 1); q <= last_; ++q) {
      std::uint32_t m = image_index(q).first_free_in_box(at, reference.box);
      if (m != 0) take(q, m);
    }
  }
  if (takes_.size() > begin) star_takes_.push_back({reference.star, static_cast<std::uint32_t>(takes_.size())});
}

void ReferenceMatcher::take(std::size_t position, std::uint32_t m) {
  taken_[taken_offset_[position - first_] + m] = 1;
  if (CandidateIndex* index = indexes_[position - first_].get()) index->take(m);
  takes_.push_back(StarEntry{static_cast<std::uint16_t>(m), store_.image_order[position]});
}

CandidateIndex& ReferenceMatcher::image_index(std::size_t position) {
  std::unique_ptr<CandidateIndex>& index = indexes_[position - first_];
  if (!index) {
    const Image& image = store_.images[store_.image_order[position]];
    index = std::make_unique<CandidateIndex>();
    index->build(image);
    for (std::uint32_t m = 1; m <= image.meas_count(); ++m)
      if (taken(position, m)) index->take(m);
  }
  return *index;
}

void ReferenceMatcher::record_stars() const {
  std::uint32_t begin = 0;
  for (const StarTakes& star : star_takes_) {
    for (std::uint32_t t = begin; t < star.end; ++t) {
      Measurement& meas = store_.images[takes_[t].image].measurement(takes_[t].meas);
      meas.star = star.star;
      meas.free = 0;
    }
    begin = star.end;
  }
}

}  // namespace varisift
