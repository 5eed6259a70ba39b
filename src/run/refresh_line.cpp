// The console line of a refresh.
#include "run/refresh_line.h"

#include <algorithm>

namespace varisift {

namespace {

// "1 star", "2 stars".
std::string counted(std::size_t count, std::string_view thing) {
  return std::to_string(count) + " " + std::string(thing) + (count == 1 ? "" : "s");
}

}  // namespace

std::string refresh_line(std::string_view clock, std::uint64_t bytes_read, const RunFacts& facts,
                         const std::vector<std::uint32_t>& earlier_candidates) {
  std::string line(clock);
  line += " read " + std::to_string(bytes_read) + " bytes: ";
  if (!facts.stop_line.empty()) return line + "the run stopped, the files stay as they were: " + facts.stop_line;
  line += counted(facts.images_with_table, "image") + " with photometry, ";
  line += counted(facts.stars, "star") + ", ";
  line += counted(facts.candidates.size(), "candidate") + ", ";
  std::string fresh;
  std::size_t fresh_count = 0;
  for (std::uint32_t star : facts.candidates) {
    if (std::find(earlier_candidates.begin(), earlier_candidates.end(), star) != earlier_candidates.end()) continue;
    fresh += (fresh_count++ == 0 ? "" : ", ") + std::to_string(star);
  }
  line += std::to_string(fresh_count) + " new";
  if (fresh_count > 0) line += " (" + fresh + ")";
  return line;
}

}  // namespace varisift
