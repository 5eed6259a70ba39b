// The catalogue cross-match of a reported star: the first catalogue entry,
// in catalogue order, inside a window of ten times the largest FWHM in right
// ascension (measured on the sky, so the same at every declination) and five
// times in declination. No wrap-around at 0h/24h.
//
// The catalogue can hold millions of entries, so the match goes through an
// index of the entries sorted by declination: the declination band comes
// from a binary search, and the lowest catalogue index among the band's
// entries that pass the RA test is the first entry in catalogue order.
#pragma once

#include <cstdint>
#include <vector>

#include "store/vsx_catalogue.h"

namespace varisift {

// Whether entry e lies in the window around (ra, dec) for the FWHM fwhm
// (tenths of an arcsecond); cos_dec is the cosine of the row's declination.
bool in_vsx_window(const VsxEntry& e, std::int64_t ra, std::int64_t dec, std::uint16_t fwhm, double cos_dec);

// cos of a declination in 1/100 arcsec.
double cos_of_declination(std::int64_t dec);

class VsxIndex {
 public:
  // Sorts the catalogue by declination; cheap to call again.
  void build(const VsxCatalogue& catalogue);
  bool built() const { return built_; }

  // 1-based catalogue index of the first matching entry, 0 when none.
  std::uint32_t first_match(const VsxCatalogue& catalogue, std::int64_t ra, std::int64_t dec, std::uint16_t fwhm) const;

 private:
  struct Key {
    std::int32_t dec;
    std::uint32_t index;  // 0-based catalogue index
  };
  std::vector<Key> by_dec_;
  bool built_ = false;
};

// The same answer by scanning the whole catalogue in order.
std::uint32_t first_match_by_scan(const VsxCatalogue& catalogue, std::int64_t ra, std::int64_t dec, std::uint16_t fwhm);

}  // namespace varisift
