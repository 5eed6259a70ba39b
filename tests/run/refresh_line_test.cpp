// The console line of a refresh: singular and plural counts, the candidates
// new since the last refresh that went to its end, and a stopped refresh.
#include "run/refresh_line.h"

#include <gtest/gtest.h>

namespace varisift {
namespace {

TEST(RefreshLine, CountsAndNewCandidates) {
  struct Row {
    RunFacts facts;
    std::vector<std::uint32_t> earlier;
    std::string after_bytes;
  };
  const std::vector<Row> rows = {
      {{"", 1, 1, {7}}, {}, "1 image with photometry, 1 star, 1 candidate, 1 new (7)"},
      {{"", 12, 96, {3, 17, 40}}, {3, 9, 40}, "12 images with photometry, 96 stars, 3 candidates, 1 new (17)"},
      {{"", 12, 96, {3, 17}}, {3, 17, 40}, "12 images with photometry, 96 stars, 2 candidates, 0 new"},
      {{"Number of images exceeds 209.", 0, 0, {}},
       {3},
       "the run stopped, the files stay as they were: Number of images exceeds 209."},
  };
  for (const Row& row : rows)
    EXPECT_EQ(refresh_line("21:04:33", 512, row.facts, row.earlier), "21:04:33 read 512 bytes: " + row.after_bytes);
}

}  // namespace
}  // namespace varisift
