// Text operations on single-byte strings: cutting input lines into fields by
// 1-based column, searching, trimming and comparing them.
#include "text/text.h"

#include <cstring>

namespace varisift {

namespace {

constexpr char blank = ' ';
constexpr char nul = '\0';

// Length of s as a signed position count.
std::int64_t length_of(std::string_view s) { return static_cast<std::int64_t>(s.size()); }

}  // namespace

std::string_view left_text(std::string_view s, std::int64_t n) {
  if (n <= 0) {
    return {};
  }
  if (n >= length_of(s)) {
    return s;
  }
  return s.substr(0, static_cast<std::size_t>(n));
}

std::string_view right_text(std::string_view s, std::int64_t n) {
  if (n <= 0) {
    return {};
  }
  if (n >= length_of(s)) {
    return s;
  }
  return s.substr(s.size() - static_cast<std::size_t>(n));
}

std::int64_t find_text(std::int64_t start, std::string_view s, std::string_view pattern) {
  const std::int64_t size = length_of(s);
  if (size == 0 || pattern.empty() || start < 1 || start > size || length_of(pattern) > size) {
    return 0;
  }
  const std::size_t at = s.find(pattern, static_cast<std::size_t>(start - 1));
  return at == std::string_view::npos ? 0 : static_cast<std::int64_t>(at) + 1;
}

std::string_view trim_left(std::string_view s) {
  std::size_t first = 0;
  while (first < s.size() && s[first] == blank) {
    ++first;
  }
  return s.substr(first);
}

std::string_view trim_right(std::string_view s) {
  std::size_t end = s.size();
  while (end > 0 && (s[end - 1] == blank || s[end - 1] == nul)) {
    --end;
  }
  return s.substr(0, end);
}

std::string_view trim_text(std::string_view s) { return trim_left(trim_right(s)); }

int compare_text(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  if (common > 0) {
    // memcmp compares as unsigned char.
    const int order = std::memcmp(a.data(), b.data(), common);
    if (order != 0) {
      return order < 0 ? -1 : 1;
    }
  }
  if (a.size() == b.size()) {
    return 0;
  }
  return a.size() < b.size() ? -1 : 1;
}

std::string repeat_char(std::int64_t n, std::string_view s) {
  if (n <= 0 || s.empty()) {
    return {};
  }
  return std::string(static_cast<std::size_t>(n), s.front());
}

std::string blanks(std::int64_t n) { return repeat_char(n, " "); }

}  // namespace varisift
