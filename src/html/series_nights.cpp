// How the images of a series fall into nights.
#include "html/series_nights.h"

#include "store/time_keys.h"

namespace varisift {

namespace {

// Length of the date YYYYMMDD at the start of a time stamp, and of
// "YYYY-MM-" in the date as the page writes it.
constexpr std::size_t date_length = 8;
constexpr std::size_t month_length = 8;
// Images more than a quarter of a day apart belong to different nights: the
// gaps within a night (clouds, a change of field) are shorter, the day
// between two nights is longer.
constexpr std::int64_t night_gap_e5 = 25000;

std::string ut_date(const std::string& stamp) {
  if (stamp.size() < date_length) return stamp;
  return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2);
}

}  // namespace

std::string Night::label() const {
  if (last_date == first_date) return first_date;
  bool same_month = last_date.size() == first_date.size() && last_date.size() > month_length &&
                    last_date.compare(0, month_length, first_date, 0, month_length) == 0;
  return first_date + "/" + (same_month ? last_date.substr(month_length) : last_date);
}

SeriesNights nights_of(const ObservationStore& store) {
  SeriesNights series;
  series.night_of_image.assign(store.images.size(), 0);
  std::vector<Night>& nights = series.nights;
  for (std::size_t p = 1; p < store.image_order.size(); ++p) {
    const std::string& stamp = store.image_at(p).time;
    std::int64_t when = julian_e5_of_stamp(stamp);
    // A time stamp before the previous one (a log out of order) begins a
    // night too, so that a night's first image is never after its last.
    if (nights.empty() || when - nights.back().last_e5 > night_gap_e5 || when < nights.back().last_e5) {
      nights.push_back({ut_date(stamp), ut_date(stamp), when, when});
    } else {
      nights.back().last_date = ut_date(stamp);
      nights.back().last_e5 = when;
    }
    series.night_of_image[store.image_order[p]] = nights.size() - 1;
  }
  return series;
}

}  // namespace varisift
