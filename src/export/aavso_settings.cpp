// The AAVSO's filter codes and the form of an observer code.
#include "export/aavso_settings.h"

#include <algorithm>
#include <array>

namespace varisift {

namespace {

constexpr std::array<std::string_view, 31> filter_codes = {
    "U",  "B",  "V",   "R",   "I",   "J",   "H",     "K",     "TG", "TB", "TR", "CV", "CR", "SZ", "SU", "SG",
    "SR", "SI", "STU", "STV", "STB", "STY", "STHBW", "STHBN", "MA", "MB", "MI", "ZS", "Y",  "HA", "HAC"};
constexpr std::size_t max_observer_code_length = 10;

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool aavso_filter_code(std::string_view code, std::string& canonical) {
  std::string wanted;
  for (char c : code) wanted += upper(c);
  for (std::string_view known : filter_codes) {
    if (known == wanted) {
      canonical = wanted;
      return true;
    }
  }
  return false;
}

bool aavso_observer_code(std::string_view code) {
  if (code.empty() || code.size() > max_observer_code_length) return false;
  return std::all_of(code.begin(), code.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

}  // namespace varisift
