// Measuring one image: which stars are detected and what numbers the
// photometry table lists for them, together with the astrometric fit and the
// reference-star statistics of the image.
#pragma once

#include <cstdint>
#include <vector>

#include "series.h"

namespace varisift::simulate {

// Where each star of the field lies in the plane of the field, computed once
// for all images.
struct StarPlace {
  double xi_arcsec = 0;
  double eta_arcsec = 0;
  double cos_dec = 1;
};

std::vector<StarPlace> star_places(const SeriesOptions& options, const std::vector<SkyObject>& objects);

// Fills `table` (whose `image` is set) with the measurement of that image.
// `repeat` counts earlier tables of the same image, so that a second
// measurement draws new noise. Detection follows the brightness above the
// image's limit (clouds lift it); magnitudes carry noise that grows towards
// the limit, the image's zero-point drift, patchy-cloud offsets and now and
// then a single outlier (under white noise only the first), and the image's
// nightly term; rows are sorted by right ascension and cut to
// options.max_lines_per_image by dropping the faintest.
void measure_table(const Series& series, const std::vector<StarPlace>& places, int repeat, PhotometryTable& table);

}  // namespace varisift::simulate
