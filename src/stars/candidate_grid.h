// The candidates of identification: one grid over the measurements of every
// image that can be a candidate (time positions 2..n). For a reference's box
// it gives, in one look at the cells the box covers, the lowest free index
// inside the box in every later image.
//
// Cells are sized from the typical box, so a box covers at most two cells by
// two, each holding the measurements of about one star in every image. The
// table of cells wraps around in both directions (a cell holds every
// position whose cell coordinates agree in their low bits), so it needs no
// extent of the sky: it is made about as large as the field seen in a
// sample, and where far-apart positions share a cell the exact box test
// tells them apart.
//
// The grid declines a box whose cells hold more than
// max_candidates_per_image candidates per later image: measurements piled on
// one position, a crowd far denser than one star per box, or a box that
// holds every right ascension (near the pole) over a field that is not
// there. The caller then asks each later image's candidate tree.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "stars/search_box.h"
#include "store/observation_store.h"

namespace varisift {

// A box as open intervals around its reference's position.
struct OpenBox {
  std::int64_t ra_low, ra_high;    // ms of time
  std::int64_t dec_low, dec_high;  // 1/100 arcsec

  bool holds(const Measurement& candidate) const {
    return candidate.ra > ra_low && candidate.ra < ra_high && candidate.dec > dec_low && candidate.dec < dec_high;
  }
};

inline OpenBox open_box(const Measurement& reference, const SearchBox& box) {
  return OpenBox{reference.ra - box.ra_window, reference.ra + box.ra_window, reference.dec - box.dec_window,
                 reference.dec + box.dec_window};
}

// Time positions are bytes: at most this many.
inline constexpr std::size_t time_positions = 256;

// What one box holds: for each time position q with a free candidate
// inside, found[q] is set and first[q] is the lowest index of one.
struct FirstFreeByImage {
  std::array<bool, time_positions> found{};
  std::array<std::uint16_t, time_positions> first{};
};

class CandidateGrid {
 public:
  // Indexes every measurement of the images at time positions 2..n.
  explicit CandidateGrid(const ObservationStore& store);

  // Notes in `by_image` the free candidates inside the box at time positions
  // after `after` (found must be clear on entry). False, with nothing noted,
  // when the box is declined. Adds to box_tests the candidates it looked at.
  bool first_free(const OpenBox& box, std::size_t after, FirstFreeByImage& by_image, std::uint64_t& box_tests) const;

 private:
  // A candidate in a cell: time position << 16 | index m.
  using Key = std::uint32_t;

  // Cell (x, y) of the table, for the cell coordinates x = ra >> ra_shift_
  // and y = dec >> dec_shift_.
  std::size_t cell_of(std::int64_t x, std::int64_t y) const {
    return static_cast<std::size_t>((y & (rows_ - 1)) * columns_ + (x & (columns_ - 1)));
  }

  std::int64_t later_images_ = 0;
  int ra_shift_ = 0, dec_shift_ = 0;  // cells are 2^shift wide
  std::int64_t columns_ = 1, rows_ = 1;
  // Cell c holds keys_[cell_start_[c] .. cell_start_[c + 1]).
  std::vector<std::uint32_t> cell_start_;
  std::vector<Key> keys_;
  // Time position -> its image's measurements (m = 1 at [0]).
  std::vector<const Measurement*> measurements_;
};

}  // namespace varisift
