// Catalogue cross-match through a declination index.
#include "detect/vsx_match.h"

#include <algorithm>
#include <cmath>

#include "store/sky_units.h"
#include "text/integer_arithmetic.h"

namespace varisift {

namespace {
// Half-widths of the window in units of the FWHM (tenths of an arcsecond):
// RA x 1000 in ms of time x 15 on the sky is ten times the FWHM; Dec x 50 in
// 1/100 arcsec is five times.
constexpr double ra_window_per_fwhm = 1000.0;
constexpr std::int64_t dec_window_per_fwhm = 50;

// Keeps the nearer of two candidates for the nearest entry; on equal
// distances the earlier one in catalogue order.
void keep_nearer(NearestVsxEntry& best, std::uint32_t entry, double separation) {
  if (best.entry == 0 || separation < best.separation_arcsec ||
      (separation == best.separation_arcsec && entry < best.entry))
    best = {entry, separation};
}
}  // namespace

double cos_of_declination(std::int64_t dec) { return std::cos(declination_radians(static_cast<double>(dec))); }

bool in_vsx_window(const VsxEntry& e, std::int64_t ra, std::int64_t dec, std::uint16_t fwhm, double cos_dec) {
  double ra_difference = static_cast<double>(abs64(e.ra - ra));
  if (!(ra_difference * 15 * cos_dec < fwhm * ra_window_per_fwhm)) return false;
  return abs64(e.dec - dec) < fwhm * dec_window_per_fwhm;
}

void VsxIndex::build(const VsxCatalogue& catalogue) {
  if (built_) return;
  by_dec_.resize(catalogue.entries.size());
  for (std::size_t k = 0; k < by_dec_.size(); ++k)
    by_dec_[k] = {catalogue.entries[k].dec, static_cast<std::uint32_t>(k)};
  std::sort(by_dec_.begin(), by_dec_.end(),
            [](const Key& a, const Key& b) { return a.dec != b.dec ? a.dec < b.dec : a.index < b.index; });
  built_ = true;
}

std::uint32_t VsxIndex::first_match(const VsxCatalogue& catalogue, std::int64_t ra, std::int64_t dec,
                                    std::uint16_t fwhm) const {
  if (fwhm == 0) return 0;
  std::int64_t half_band = fwhm * dec_window_per_fwhm;
  auto band_start = std::lower_bound(by_dec_.begin(), by_dec_.end(), dec - half_band + 1,
                                     [](const Key& k, std::int64_t value) { return k.dec < value; });
  double cos_dec = cos_of_declination(dec);
  std::uint32_t best = 0;
  for (auto it = band_start; it != by_dec_.end() && it->dec < dec + half_band; ++it) {
    std::uint32_t index = it->index + 1;
    if (best != 0 && index >= best) continue;
    if (in_vsx_window(catalogue.entries[it->index], ra, dec, fwhm, cos_dec)) best = index;
  }
  return best;
}

NearestVsxEntry VsxIndex::nearest(const VsxCatalogue& catalogue, std::int64_t ra, std::int64_t dec,
                                  double radius_arcsec) const {
  // The band holds every declination within the radius, and one unit more
  // on each side for the tolerance.
  NearestVsxEntry best;
  if (!on_the_sky(dec)) return best;
  const std::int64_t half_band =
      static_cast<std::int64_t>(std::ceil(radius_arcsec * static_cast<double>(centiarcsec_per_arcsecond))) + 1;
  auto band_start = std::lower_bound(by_dec_.begin(), by_dec_.end(), dec - half_band,
                                     [](const Key& k, std::int64_t value) { return k.dec < value; });
  for (auto it = band_start; it != by_dec_.end() && it->dec <= dec + half_band; ++it) {
    const VsxEntry& e = catalogue.entries[it->index];
    if (!on_the_sky(e.dec)) continue;
    double separation = separation_arcsec(ra, dec, e.ra, e.dec);
    if (within_radius(separation, radius_arcsec)) keep_nearer(best, it->index + 1, separation);
  }
  return best;
}

std::uint32_t first_match_by_scan(const VsxCatalogue& catalogue, std::int64_t ra, std::int64_t dec,
                                  std::uint16_t fwhm) {
  double cos_dec = cos_of_declination(dec);
  for (std::size_t k = 0; k < catalogue.entries.size(); ++k)
    if (in_vsx_window(catalogue.entries[k], ra, dec, fwhm, cos_dec)) return static_cast<std::uint32_t>(k + 1);
  return 0;
}

NearestVsxEntry nearest_by_scan(const VsxCatalogue& catalogue, std::int64_t ra, std::int64_t dec,
                                double radius_arcsec) {
  NearestVsxEntry best;
  if (!on_the_sky(dec)) return best;
  for (std::size_t k = 0; k < catalogue.entries.size(); ++k) {
    const VsxEntry& e = catalogue.entries[k];
    if (!on_the_sky(e.dec)) continue;
    double separation = separation_arcsec(ra, dec, e.ra, e.dec);
    if (!within_radius(separation, radius_arcsec)) continue;
    if (best.entry == 0 || separation < best.separation_arcsec) best = {static_cast<std::uint32_t>(k + 1), separation};
  }
  return best;
}

}  // namespace varisift
