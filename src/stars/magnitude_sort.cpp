// A two-byte counting sort of 16-bit magnitudes.
#include "stars/magnitude_sort.h"

#include <algorithm>
#include <array>

namespace varisift {

namespace {

constexpr int digit_bits = 8;
constexpr std::size_t digit_values = std::size_t{1} << digit_bits;
constexpr unsigned digit_mask = digit_values - 1;

// One stable counting pass by the byte at `shift` of value - low.
void counting_pass(std::span<const std::int16_t> from, std::span<std::int16_t> to, int low, int shift) {
  std::array<std::uint16_t, digit_values> start{};
  auto digit = [low, shift](std::int16_t v) { return (static_cast<unsigned>(v - low) >> shift) & digit_mask; };
  for (std::int16_t v : from) ++start[digit(v)];
  std::uint16_t position = 0;
  for (std::uint16_t& s : start) {
    std::uint16_t count = s;
    s = position;
    position = static_cast<std::uint16_t>(position + count);
  }
  for (std::int16_t v : from) to[start[digit(v)]++] = v;
}

}  // namespace

void sort_magnitudes(std::span<const std::int16_t> values, std::span<std::int16_t> sorted,
                     std::span<std::int16_t> scratch) {
  const std::size_t n = values.size();
  if (n == 0) return;
  auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
  const int low = *lowest;
  const int span = *highest - low;  // below 2^16
  if (span < static_cast<int>(digit_values)) {
    counting_pass(values, sorted.first(n), low, 0);
    return;
  }
  counting_pass(values, scratch.first(n), low, 0);
  counting_pass(scratch.first(n), sorted.first(n), low, digit_bits);
}

}  // namespace varisift
