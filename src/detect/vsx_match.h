// The catalogue cross-match of a reported star: the first catalogue entry,
// in catalogue order, inside a window of ten times the largest FWHM in right
// ascension (measured on the sky, so the same at every declination) and five
// times in declination. No wrap-around at 0h/24h.
//
// The files beyond the report (CSV, AAVSO, the page) name a star by another
// rule, the one a user can check by hand: the nearest entry by angular
// distance on the sphere (across 0h too) within a radius, the radius itself
// inside, a tie to the first entry in catalogue order.
//
// The catalogue can hold millions of entries, so both go through an index of
// the entries sorted by declination: the declination band comes from a
// binary search, and only the band's entries are tested.
#pragma once

#include <cstdint>
#include <vector>

#include "store/sky_units.h"
#include "store/vsx_catalogue.h"

namespace varisift {

// Whether entry e lies in the window around (ra, dec) for the FWHM fwhm
// (tenths of an arcsecond); cos_dec is the cosine of the row's declination.
bool in_vsx_window(const VsxEntry& e, std::int64_t ra, std::int64_t dec, std::uint16_t fwhm, double cos_dec);

// cos of a declination in 1/100 arcsec.
double cos_of_declination(std::int64_t dec);

// The nearest entry and its distance; entry 0 when none lies within the
// radius, or when the position is not on the sky.
struct NearestVsxEntry {
  std::uint32_t entry = 0;  // 1-based catalogue index
  double separation_arcsec = 0;
};

// Positions are held to 1 ms of time and 10 mas, so a separation within a
// micro-arcsecond of the radius is taken as the radius itself: the rounding
// of the trigonometry must not move an entry at the radius outside.
inline constexpr double radius_tolerance_arcsec = 1e-6;

// Whether a declination (1/100 arcsec) lies on the sky, from pole to pole.
// Only such positions are matched: beyond a pole the angle between two
// positions can be smaller than their difference in declination, and a
// position there is no place on the sky anyway.
inline bool on_the_sky(std::int64_t dec) {
  constexpr std::int64_t pole = 90 * centiarcsec_per_degree;
  return dec >= -pole && dec <= pole;
}

// Whether a separation counts as within the radius.
inline bool within_radius(double separation_arcsec, double radius_arcsec) {
  return separation_arcsec <= radius_arcsec + radius_tolerance_arcsec;
}

class VsxIndex {
 public:
  // Sorts the catalogue by declination; cheap to call again.
  void build(const VsxCatalogue& catalogue);
  bool built() const { return built_; }

  // 1-based catalogue index of the first matching entry, 0 when none.
  std::uint32_t first_match(const VsxCatalogue& catalogue, std::int64_t ra, std::int64_t dec, std::uint16_t fwhm) const;

  // The nearest entry to (ra, dec) within radius_arcsec.
  NearestVsxEntry nearest(const VsxCatalogue& catalogue, std::int64_t ra, std::int64_t dec, double radius_arcsec) const;

 private:
  struct Key {
    std::int32_t dec;
    std::uint32_t index;  // 0-based catalogue index
  };
  std::vector<Key> by_dec_;
  bool built_ = false;
};

// The same answers by scanning the whole catalogue in order.
std::uint32_t first_match_by_scan(const VsxCatalogue& catalogue, std::int64_t ra, std::int64_t dec, std::uint16_t fwhm);
NearestVsxEntry nearest_by_scan(const VsxCatalogue& catalogue, std::int64_t ra, std::int64_t dec, double radius_arcsec);

}  // namespace varisift
