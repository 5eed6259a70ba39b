// The order of the flags and their limits.
#include "periods/period_flag.h"

#include <cmath>

namespace varisift {

namespace {

// log10 of the false-alarm probability from which a peak is weak (0.001).
constexpr double weak_log10_fap = -3;

}  // namespace

std::string_view period_flag_name(PeriodFlag flag) {
  switch (flag) {
    case PeriodFlag::long_period:
      return "long";
    case PeriodFlag::weak:
      return "weak";
    case PeriodFlag::alias:
      return "alias";
    case PeriodFlag::ok:
      return "ok";
  }
  return "ok";
}

PeriodFlag period_flag(double period_d, double span_d, double log10_fap, double frequency) {
  if (period_d > span_d / min_cycles_for_a_period) return PeriodFlag::long_period;
  if (log10_fap >= weak_log10_fap) return PeriodFlag::weak;
  for (int k = 1; k <= nightly_alias_harmonics; ++k)
    if (std::abs(frequency - k) <= nightly_alias_share * k) return PeriodFlag::alias;
  return PeriodFlag::ok;
}

}  // namespace varisift
