// The index flag: a star whose scores against stars of similar brightness
// stand out far enough to call it a probable variable.
#pragma once

#include <optional>

namespace varisift {

struct IndexScores {
  std::optional<double> iqr;
  std::optional<double> mad;
  std::optional<double> inv_eta;
};

// Whether the scores flag the star. An empty score never exceeds a
// threshold.
bool index_flag(const IndexScores& scores);

}  // namespace varisift
