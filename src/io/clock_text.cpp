// Local date and time as the run header writes them.
#include "io/clock_text.h"

#include <cstdio>

namespace varisift {

namespace {
std::string two_digits(int value) {
  char digits[3] = {static_cast<char>('0' + (value / 10) % 10), static_cast<char>('0' + value % 10), '\0'};
  return digits;
}
}  // namespace

std::string date_text(const std::tm& local) {
  int year = local.tm_year + 1900;
  std::string text = two_digits(local.tm_mon + 1) + "-" + two_digits(local.tm_mday) + "-";
  text += two_digits(year / 100) + two_digits(year % 100);
  return text;
}

std::string time_text(const std::tm& local) {
  return two_digits(local.tm_hour) + ":" + two_digits(local.tm_min) + ":" + two_digits(local.tm_sec);
}

std::tm local_time_now() {
  std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  return local != nullptr ? *local : std::tm{};
}

}  // namespace varisift
