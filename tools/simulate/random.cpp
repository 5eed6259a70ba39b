// xoshiro256** with splitmix64 seeding; see random.h.
#include "random.h"

#include <cmath>

#include "portable_math.h"

namespace varisift::simulate {

namespace {

constexpr std::uint64_t golden_gamma = 0x9E3779B97F4A7C15ULL;
constexpr int mantissa_bits = 53;
constexpr double mantissa_scale = 1.0 / 9007199254740992.0;  // 2^-53

std::uint64_t rotate_left(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

std::uint64_t splitmix64(std::uint64_t& state) {
  state += golden_gamma;
  std::uint64_t z = state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint64_t stream_seed(std::uint64_t seed, std::uint64_t stream) {
  std::uint64_t state = seed ^ (stream * golden_gamma + 0x632BE59BD9B4E019ULL);
  splitmix64(state);
  return splitmix64(state);
}

Random::Random(std::uint64_t seed) {
  std::uint64_t state = seed;
  for (std::uint64_t& word : state_) {
    word = splitmix64(state);
  }
}

std::uint64_t Random::next() {
  const std::uint64_t result = rotate_left(state_[1] * 5, 7) * 9;
  const std::uint64_t t = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= t;
  state_[3] = rotate_left(state_[3], 45);
  return result;
}

double Random::uniform() { return static_cast<double>(next() >> (64 - mantissa_bits)) * mantissa_scale; }

double Random::uniform(double low, double high) { return low + (high - low) * uniform(); }

std::uint64_t Random::below(std::uint64_t count) {
  // Rejection of the incomplete top range keeps the result unbiased.
  const std::uint64_t limit = (~std::uint64_t{0}) - (~std::uint64_t{0}) % count;
  std::uint64_t value = next();
  while (value >= limit) {
    value = next();
  }
  return value % count;
}

bool Random::chance(double p) { return uniform() < p; }

double Random::normal() {
  if (has_spare_normal_) {
    has_spare_normal_ = false;
    return spare_normal_;
  }
  double u = 0.0;
  double v = 0.0;
  double s = 0.0;
  do {
    u = 2.0 * uniform() - 1.0;
    v = 2.0 * uniform() - 1.0;
    s = u * u + v * v;
  } while (s >= 1.0 || s == 0.0);
  const double factor = std::sqrt(-2.0 * portable_log(s) / s);
  spare_normal_ = v * factor;
  has_spare_normal_ = true;
  return u * factor;
}

double Random::normal(double mean, double sigma) { return mean + sigma * normal(); }

double Random::log_uniform(double low, double high) {
  const double log_low = portable_log(low);
  return portable_exp(log_low + (portable_log(high) - log_low) * uniform());
}

}  // namespace varisift::simulate
