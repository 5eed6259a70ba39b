// Elementary functions built from +, -, *, / and sqrt alone, so that a series
// simulated from one seed is bit-identical on every platform. The functions of
// <cmath> (exp, log, sin, cos, pow) may differ in the last bit between
// standard libraries, which would change rounded magnitudes here and there.
//
// Accuracy is a few units in the last place over the ranges the simulator
// uses; none of these functions allocates, throws or sets errno.
#pragma once

namespace varisift::simulate {

// e to the power x, for |x| < 700.
double portable_exp(double x);

// Natural logarithm of x, for x > 0 (x <= 0 gives -1e300).
double portable_log(double x);

// 10 to the power x and the decimal logarithm.
double portable_pow10(double x);
double portable_log10(double x);

// Sine and cosine of x in radians, for |x| < 1e6.
double portable_sin(double x);
double portable_cos(double x);

// Sine and cosine of an angle in degrees.
double portable_sin_deg(double degrees);
double portable_cos_deg(double degrees);

}  // namespace varisift::simulate
