// How far a period found can be trusted, the first of these that applies:
// - long: the period is longer than half the span of the data, so fewer
//   than two cycles were seen;
// - weak: the false-alarm probability is 0.001 or more;
// - alias: the peak lies within 3 % of 1, 2, 3 or 4 cycles per day, where
//   the nightly cycle of airmass and sky brightness puts false peaks;
// - ok otherwise.
#pragma once

#include <string_view>

namespace varisift {

enum class PeriodFlag { long_period, weak, alias, ok };

// Fewer cycles than this in the span make a period a lower limit.
inline constexpr double min_cycles_for_a_period = 2;
// The nightly frequencies k = 1 to 4 cycles per day, and the share of k
// around each where a peak is an alias.
inline constexpr int nightly_alias_harmonics = 4;
inline constexpr double nightly_alias_share = 0.03;

// "long", "weak", "alias" or "ok".
std::string_view period_flag_name(PeriodFlag flag);

// The flag of a period found (days, after any doubling) in data spanning
// span_d days, with log10 of its false-alarm probability, at the chosen
// peak's frequency (cycles per day).
PeriodFlag period_flag(double period_d, double span_d, double log10_fap, double frequency);

}  // namespace varisift
