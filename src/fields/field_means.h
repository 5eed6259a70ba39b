// Per-field means of the running sums of a photometry table: floored toward
// minus infinity exactly, as integers, before any scaling.
#pragma once

#include <cstdint>

#include "store/observation_store.h"

namespace varisift {

// floor(sum / count), exact for every 64-bit sum. A field without
// measurements has no mean; it reads as 0.
std::int64_t field_mean(std::int64_t sum, std::uint16_t count);

// The floored mean magnitude of an image, 1/100 mag.
std::int16_t mean_image_mag(const Image& image);

// Lowers the variation threshold to the number of images when fewer than it
// were registered.
void lower_variation_threshold(ObservationStore& store);

}  // namespace varisift
