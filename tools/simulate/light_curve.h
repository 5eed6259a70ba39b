// The intrinsic brightness change of a star: its magnitude offset from the
// mean at a given time, for each kind of variable.
#pragma once

#include "series.h"

namespace varisift::simulate {

// Offset in magnitudes (positive = fainter) of star `object` at `days` after
// the first image. Constant stars give 0. Pulsating stars spend most of the
// cycle declining and rise quickly; eclipsing stars are constant between
// eclipses; a trend is a slow wave whose length is `period_days`.
double variability_offset(const SkyObject& object, double days);

// Cycles of the light curve at `days` after the first image: days / period +
// the phase at the first image. Its fraction is the phase of the shapes
// above; a pulsating star is faintest and an eclipsing star in mid-eclipse at
// whole cycles. The period must be positive.
double cycle_count(const SkyObject& object, double days);

// The phase of the light curve's epoch: maximum light (the smallest
// magnitude) of a pulsating star or a trend, mid primary eclipse of an
// eclipsing star.
double epoch_phase(const SkyObject& object);

}  // namespace varisift::simulate
