// The simulator's own pseudo-random numbers: xoshiro256** seeded through
// splitmix64, with uniform and normal deviates computed by portable
// arithmetic. The standard distributions are not used because their output
// differs between standard libraries; these give the same sequence from the
// same seed everywhere.
#pragma once

#include <cstdint>

namespace varisift::simulate {

// One step of splitmix64: advances state and returns the next value.
std::uint64_t splitmix64(std::uint64_t& state);

// Mixes a seed with a stream number, so that independent parts of a series
// (the star field, each image, the catalogue) draw from separate streams and
// changing one option does not reshuffle everything else.
std::uint64_t stream_seed(std::uint64_t seed, std::uint64_t stream);

class Random {
 public:
  explicit Random(std::uint64_t seed);

  // The next raw 64-bit value.
  std::uint64_t next();
  // Uniform in [0, 1) with 53 random bits.
  double uniform();
  // Uniform in [low, high).
  double uniform(double low, double high);
  // Uniform integer in [0, count); count must be positive.
  std::uint64_t below(std::uint64_t count);
  // True with probability p.
  bool chance(double p);
  // Standard normal deviate (Marsaglia's polar method).
  double normal();
  // Normal deviate with the given mean and standard deviation.
  double normal(double mean, double sigma);
  // Log-uniform in [low, high); both must be positive.
  double log_uniform(double low, double high);

 private:
  std::uint64_t state_[4];
  bool has_spare_normal_ = false;
  double spare_normal_ = 0.0;
};

}  // namespace varisift::simulate
