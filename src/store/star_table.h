// The star table: which measurement of which image belongs to each
// identified star. Identification counts the images of every star; once it is
// done, each matched star gets its measurements as a list in time order of
// the images, so the later phases walk a star without scanning empty cells.
// An image declared to have no valid data keeps its entries; they are then
// read as excluded (the store's per-image flag), which stands for negating
// the star's measurement index in that image.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace varisift {

// A star's measurement: index m within image `image`.
struct StarEntry {
  std::uint16_t meas = 0;
  std::uint8_t image = 0;
};

struct StarTable {
  // Number of identified stars.
  std::uint32_t count() const { return static_cast<std::uint32_t>(images_seen.size() - 1); }

  // star_images per star (slot 0 unused): images in which the star was
  // identified, the image that created it included.
  std::vector<std::uint8_t> images_seen = std::vector<std::uint8_t>(1);

  // After identification: entries of star s are entries[first[s] .. first[s+1]),
  // in time order of the images. A star never matched has none.
  std::vector<std::uint32_t> first;
  std::vector<StarEntry> entries;

  std::span<const StarEntry> entries_of(std::uint32_t s) const {
    return {entries.data() + first[s], entries.data() + first[s + 1]};
  }
};

}  // namespace varisift
