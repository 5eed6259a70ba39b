// One grid over the measurements of a run of consecutive images (in time
// order), for identification: a reference asks once for every measurement of
// every later image inside its box.
//
// Cells are sized from the typical box, so a box covers a few cells, each
// holding the measurements of all images of one star or none. The table of
// cells wraps around in both directions (a cell holds every position whose
// cell coordinates agree in their low bits), so it needs no extent of the
// sky: it is made about as large as the field seen in a sample, and where
// far-apart positions share a cell the exact box test tells them apart. A
// box that would span too many rows of cells, or whose cells hold too many
// measurements (a huge FWHM, a field at the pole, measurements piled on one
// position), is refused; the caller then asks each image's own index.
#pragma once

#include <cstdint>
#include <vector>

#include "store/observation_store.h"

namespace varisift {

// A measurement of the grid: time position << 16 | index m.
using CandidateKey = std::uint32_t;

inline constexpr CandidateKey candidate_key(std::size_t position, std::uint32_t m) {
  return static_cast<CandidateKey>(position << 16 | m);
}
inline constexpr std::size_t key_position(CandidateKey key) { return key >> 16; }
inline constexpr std::uint32_t key_index(CandidateKey key) { return key & 0xFFFF; }

// A reference's box as open intervals around its position.
struct OpenBox {
  std::int64_t ra_low, ra_high;    // ms of time
  std::int64_t dec_low, dec_high;  // 1/100 arcsec
};

// Cell sides as powers of two, 2^ra_shift ms by 2^dec_shift 1/100 arcsec,
// and a table of 2^column_bits by 2^row_bits cells.
struct GridShape {
  int ra_shift = 0;
  int dec_shift = 0;
  int column_bits = 0;
  int row_bits = 0;
};

class CandidateGrid {
 public:
  // Indexes every measurement of the images at time positions first..last.
  void build(const ObservationStore& store, std::size_t first, std::size_t last);

  // Fills keys with every free measurement inside the box at a time
  // position after `after`, in no particular order. False when the box is
  // refused.
  bool gather_free(const OpenBox& box, std::size_t after, std::vector<CandidateKey>& keys) const;

 private:
  // Cell (x, y) of the table, for the cell coordinates x = ra >> ra_shift
  // and y = dec >> dec_shift; c = row * columns + column.
  std::size_t cell_of(std::int64_t x, std::int64_t y) const {
    return static_cast<std::size_t>((y & (rows_ - 1)) * columns_ + (x & (columns_ - 1)));
  }

  std::int64_t images_ = 0;
  GridShape shape_;
  std::int64_t columns_ = 1, rows_ = 1;
  // Cell c holds points_[cell_start_[c] .. cell_start_[c + 1]).
  std::vector<std::uint32_t> cell_start_;
  std::vector<CandidateKey> points_;
  // Time position -> its image's measurements (m = 1 at [0]).
  std::vector<const Measurement*> measurements_;
};

}  // namespace varisift
