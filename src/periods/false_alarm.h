// The false-alarm probability of the periodogram's highest peak (Baluev
// 2008, MNRAS 385, 1279, its approximation without aliases): the chance
// that pure white Gaussian noise around a constant gives a peak as high
// anywhere from 0 to f_max. Kept as a logarithm, so that a probability below
// 1e-308, where a double underflows to 0, keeps its size.
#pragma once

#include <cstddef>
#include <span>

namespace varisift {

// D_t = sum (t - mean t)^2 / N, the variance of the times.
double time_variance(std::span<const double> times);

// ln FAP of a highest power z among n points with time variance
// time_variance (days^2) over frequencies up to f_max (cycles per day):
//   FAP_single = (1 - z)^((N - 3)/2),
//   tau = gamma(N - 1) f_max sqrt(4 pi D_t) (1 - z)^((N - 4)/2) sqrt((N - 1) z / 2),
//   FAP = 1 - (1 - FAP_single) exp(-tau),
// with gamma(n) = sqrt(2/n) Gamma(n/2) / Gamma((n - 1)/2). 0 (FAP 1) for
// z <= 0 or fewer than 4 points, minus infinity (FAP 0) for z >= 1.
double log_false_alarm(double z, std::size_t n, double time_variance, double f_max);

}  // namespace varisift
