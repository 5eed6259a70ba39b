// Matching of references against a run of consecutive images (time
// positions first..last): each reference, in turn, takes in every one of
// those images after its own the free measurement with the lowest index
// inside its box. A matcher reads and writes the measurements of its own
// images only, so two matchers with disjoint runs can work side by side on
// two cores. It also keeps what each star took, for the star table.
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
// Time positions are bytes: at most this many.
inline constexpr std::size_t time_positions = 256;

// Aligned to a cache line of its own: the two cores update their matchers'
// vectors all the time, and sharing a line would make them wait on each other.
class alignas(matcher_alignment) ReferenceMatcher {
 public:
  // What one star took: its measurements are takes()[previous end .. end).
  struct StarTakes {
    std::uint32_t star;
    std::uint32_t end;
  };

  // Room is reserved for takes_room takes: at least the measurements of the
  // run (each is taken at most once), more when a table is to be made in them.
  ReferenceMatcher(ObservationStore& store, std::size_t first, std::size_t last, std::size_t takes_room);

  // Matches a reference of the image at time position `position`.
  void match(const Reference& reference, std::size_t position);

  const std::vector<StarEntry>& takes() const { return takes_; }
  // Hands over the takes, with the room reserved beyond them.
  std::vector<StarEntry> release_takes() { return std::move(takes_); }
  const std::vector<StarTakes>& star_takes() const { return star_takes_; }

 private:
  void take(std::size_t position, std::uint32_t m, std::uint32_t star);
  CandidateIndex& image_index(std::size_t position);

  ObservationStore& store_;
  std::size_t first_, last_;
  CandidateGrid grid_;
  // Per image, built when a box is refused by the grid.
  std::vector<std::unique_ptr<CandidateIndex>> indexes_;
  std::vector<CandidateKey> keys_;
  // Per time position, while one reference is matched: whether it found a
  // free measurement there, and the lowest index of one.
  std::array<std::uint64_t, time_positions / 64> found_{};
  std::array<std::uint16_t, time_positions> lowest_{};
  std::vector<StarEntry> takes_;
  std::vector<StarTakes> star_takes_;
};

}  // namespace varisift
