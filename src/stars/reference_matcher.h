// Matching of references against a run of consecutive images (time
// positions first..last): each reference, in turn, takes in every one of
// those images after its own the free measurement with the lowest index
// inside its box. Two matchers with disjoint runs never touch the same
// measurement, so they can work side by side on two cores.
//
// A matcher keeps its own record of taken measurements and of what each
// star took; the store's measurements are written once, at the end.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "stars/candidate_grid.h"
#include "stars/candidate_index.h"
#include "stars/search_box.h"
#include "store/observation_store.h"

namespace varisift {

// A free measurement of a reference image with its box and its new star.
struct Reference {
  std::int32_t ra = 0;
  std::int32_t dec = 0;
  SearchBox box;  // matches nothing unless both half-widths are positive
  std::uint32_t star = 0;
  std::uint16_t meas = 0;
};

// Cache line size assumed for keeping two matchers apart.
inline constexpr std::size_t matcher_alignment = 64;

// Aligned to a cache line of its own: the two cores update their matchers'
// vectors all the time, and sharing a line would make them wait on each other.
class alignas(matcher_alignment) ReferenceMatcher {
 public:
  // What one star took: its measurements are takes()[previous end .. end).
  struct StarTakes {
    std::uint32_t star;
    std::uint32_t end;
  };

  ReferenceMatcher(ObservationStore& store, std::size_t first, std::size_t last, GridShape shape);

  // Whether measurement m of the image at time position p was taken.
  bool taken(std::size_t position, std::uint32_t m) const { return taken_[taken_offset_[position - first_] + m] != 0; }

  // Matches a reference of the image at time position `position`.
  void match(const Reference& reference, std::size_t position);

  // Writes the star of every taken measurement into the store.
  void record_stars() const;

  const std::vector<StarEntry>& takes() const { return takes_; }
  const std::vector<StarTakes>& star_takes() const { return star_takes_; }

 private:
  void take(std::size_t position, std::uint32_t m);
  CandidateIndex& image_index(std::size_t position);

  ObservationStore& store_;
  std::size_t first_, last_;
  CandidateGrid grid_;
  std::vector<std::size_t> taken_offset_;  // position - first -> slot of m = 0
  std::vector<std::uint8_t> taken_;
  // Per image, built when a box is refused by the grid.
  std::vector<std::unique_ptr<CandidateIndex>> indexes_;
  std::vector<CandidateKey> keys_;
  // Per time position, while one reference is matched: whether it found a
  // free measurement there, and the lowest index of one.
  std::array<std::uint64_t, 4> found_{};
  std::array<std::uint16_t, 256> lowest_{};
  std::vector<StarEntry> takes_;
  std::vector<StarTakes> star_takes_;
};

}  // namespace varisift
