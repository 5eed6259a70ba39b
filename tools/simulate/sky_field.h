// The star field of a series: where the stars are, how bright, which of them
// vary and how, and the minor planet that crosses the field.
#pragma once

#include <vector>

#include "random.h"
#include "series.h"

namespace varisift::simulate {

// The stars of the field, uniformly over the square field, with magnitudes
// from bright_mag down to limit_mag + faint_margin_mag following the rising
// number counts of faint stars (N grows by a factor 2 per magnitude), and
// small errors of the reference catalogue. All constant.
std::vector<SkyObject> place_stars(const SeriesOptions& options, Random& random);

// Turns `options.variables` stars into variables: kinds from
// options.variable_kinds in turn, log-uniform amplitudes, periods from hours
// (pulsating) over days (eclipsing) to weeks (trend). Prefers stars at least
// two magnitudes above the limit, so they are measured well in most images.
void choose_variables(const SeriesOptions& options, std::vector<SkyObject>& objects, Random& random);

// A minor planet that crosses most of the field during the first night of
// `images` (which must be in time order); not present when the option is
// off or there are no images.
MovingObject plan_moving_object(const SeriesOptions& options, const std::vector<Image>& images, Random& random);

// Position of the minor planet at a time.
void moving_object_position(const MovingObject& mover, std::int64_t tenths, double& ra_deg, double& dec_deg);

}  // namespace varisift::simulate
