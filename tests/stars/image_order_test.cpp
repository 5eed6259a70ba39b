// Putting the images in time order with the exchange sort: ascending by time
// stamp text, and images with equal stamps in the order the exchanges leave
// them, which is neither their registration order nor its reverse.
#include "stars/image_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

TEST(SortImagesByTime, AscendingStampsAndTheExchangeOrderOfEqualOnes) {
  struct Case {
    const char* what;
    std::vector<std::string> stamps;  // of images 1, 2, ... in registration order
    std::vector<std::uint8_t> order;  // image numbers by time position
  };
  const std::string a = "20170301180000", b = "20170301190000";
  const Case cases[] = {
      {"registered out of time order", {b, "20170301170000", a}, {0, 2, 3, 1}},
      // The first exchange carries image 1 to the end, behind its twin.
      {"B1 B2 A ends as A B2 B1", {b, b, a}, {0, 3, 2, 1}},
      {"A1 B1 B2 A2 ends as A1 A2 B2 B1", {a, b, b, a}, {0, 1, 4, 3, 2}},
      {"B1 B2 B3 A ends as A B2 B3 B1", {b, b, b, a}, {0, 4, 2, 3, 1}},
  };
  for (const Case& c : cases) {
    ObservationStore store;
    for (const std::string& stamp : c.stamps) detect_fixtures::add_image(store, stamp, {1000});
    sort_images_by_time(store);
    EXPECT_EQ(store.image_order, c.order) << c.what;
  }
}

}  // namespace
}  // namespace varisift
