// The nights of a series: images in time order without a gap of more than
// six hours between them, each named by the UT dates of its time stamps.
// The light curves draw one panel per night.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/observation_store.h"

namespace varisift {

struct Night {
  std::string first_date;     // YYYY-MM-DD of its first image
  std::string last_date;      // of its last image
  std::int64_t first_e5 = 0;  // Julian date x 100000 of its first image
  std::int64_t last_e5 = 0;   // of its last image

  // "2019-10-12", or "2019-10-12/13" for a night across 0 h UT.
  std::string label() const;
};

struct SeriesNights {
  std::vector<Night> nights;  // in time order
  // The index in nights of each image's night, by image number (images
  // outside the time order keep 0).
  std::vector<std::size_t> night_of_image;
};

SeriesNights nights_of(const ObservationStore& store);

}  // namespace varisift
