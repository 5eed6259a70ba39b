// Text operations on single-byte strings, used to cut input lines into
// fields. Positions are 1-based, as in the column tables of the log and the
// catalogue. None of them allocates except repeat_char and blanks; results
// are views into the argument.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varisift {

// The part of s that begins at start and is length bytes long: the one
// column cutter of the log and catalogue readers, which cut millions of
// fields and so keep it inline. Empty when s is empty, start < 1, start >
// length of s, or length == 0. A part that runs past the end of s, and a
// negative length, give the rest of s from start.
inline std::string_view mid_text(std::string_view s, std::int64_t start, std::int64_t length) {
  const auto size = static_cast<std::int64_t>(s.size());
  if (size == 0 || start < 1 || start > size || length == 0) return {};
  const std::int64_t available = size - (start - 1);
  const std::int64_t taken = (length < 0 || length > available) ? available : length;
  return {s.data() + (start - 1), static_cast<std::size_t>(taken)};
}

// The first or last n bytes of s; empty when n <= 0; all of s when n >= its length.
std::string_view left_text(std::string_view s, std::int64_t n);
std::string_view right_text(std::string_view s, std::int64_t n);

// Position of the first occurrence of pattern in s beginning at or after
// start; 0 when there is none, when s or pattern is empty, when start < 1 or
// start > length of s, or when pattern is longer than s.
std::int64_t find_text(std::int64_t start, std::string_view s, std::string_view pattern);

// Without leading blanks (byte 32).
std::string_view trim_left(std::string_view s);
// Without trailing blanks and NUL bytes.
std::string_view trim_right(std::string_view s);
// Both.
std::string_view trim_text(std::string_view s);

// Byte-wise comparison as unsigned bytes; a prefix is smaller than the longer
// text. Negative, zero or positive.
int compare_text(std::string_view a, std::string_view b);

// n copies of the first byte of s; empty when n <= 0 or s is empty.
std::string repeat_char(std::int64_t n, std::string_view s);
// n blanks (empty when n <= 0).
std::string blanks(std::int64_t n);

}  // namespace varisift
