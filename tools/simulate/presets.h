// Named sets of options for the usual kinds of test series.
#pragma once

#include <string_view>
#include <vector>

#include "series.h"

namespace varisift::simulate {

struct Preset {
  std::string_view name;
  std::string_view description;
};

// All presets, in the order they are listed.
const std::vector<Preset>& presets();

// Replaces `options` by the preset's options, keeping the seed. False, and
// `options` unchanged, when there is no preset of that name.
bool apply_preset(std::string_view name, SeriesOptions& options);

}  // namespace varisift::simulate
