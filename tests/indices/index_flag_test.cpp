// The index flag's three clauses, each at its thresholds: a score equal to a
// threshold does not pass it, a score just above does, and an empty score
// passes none.
#include "indices/index_flag.h"

#include <gtest/gtest.h>

#include <optional>

namespace varisift {
namespace {

TEST(IndexFlag, EachClauseAtItsThresholds) {
  struct Case {
    const char* what;
    IndexScores scores;
    bool flag;
  };
  const std::optional<double> none;
  const Case cases[] = {
      // IQR and MAD above 3 with 1/eta above 3: a wide spread that neighbouring images share.
      {"wide and shared", {3.01, 3.01, 3.01}, true},
      {"wide and shared, IQR at 3", {3.0, 3.01, 3.01}, false},
      {"wide and shared, MAD at 3", {3.01, 3.0, 3.01}, false},
      {"wide and shared, 1/eta at 3", {3.01, 3.01, 3.0}, false},
      {"wide and shared, no MAD score", {3.01, none, 3.01}, false},
      // 1/eta above 6 with IQR above 2: a smooth change with a moderate spread.
      {"smooth", {2.01, none, 6.01}, true},
      {"smooth, IQR at 2", {2.0, 10, 6.01}, false},
      {"smooth, 1/eta at 6", {2.01, none, 6.0}, false},
      // 1/eta above 12 alone: an eclipse too short to move the quartiles.
      {"a dip", {none, none, 12.01}, true},
      {"a dip, 1/eta at 12", {1.0, 1.0, 12.0}, false},
      {"no scores", {none, none, none}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(index_flag(c.scores), c.flag) << c.what;
}

}  // namespace
}  // namespace varisift
