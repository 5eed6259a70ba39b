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

}  // namespace varisift::simulate
