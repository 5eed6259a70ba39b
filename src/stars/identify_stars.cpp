// Star identification with a spatial index per candidate image.
//
// The result is that of the direct scan: for each reference image in time
// order, for each later image, for each free reference measurement in index
// order, take the first free measurement of the later image (in index order)
// inside the reference's box. Here the later image is the outer loop: while
// image j is the candidate image, all earlier images in time order present
// their free references to j's index in the same order as the direct scan
// would. Stars are still created in the same order, because only the pair
// (reference image, next image) creates stars and those pairs come in time
// order either way.
#include "stars/identify_stars.h"

#include <string>

#include "run/parameters.h"
#include "stars/candidate_index.h"
#include "stars/search_box.h"

namespace varisift {

namespace {

void write_summary(const ObservationStore& store, ReportChannel& out) {
  std::string stars;
  append_plain(stars, store.stars.count(), PlainKind::U32);
  stars += " different stars identified.";
  std::string minimum = "Minimum number of stars for variability detection: ";
  append_plain(minimum, min_selected_measurements, PlainKind::U8);
  std::string interval = "Minimum difference between maximum and minimum magnitude: ";
  append_masked(interval, "##.## mag", min_mag_interval / 100.0);
  for (Destination d : {Destination::console, Destination::report}) {
    out.write_line(d, stars);
    out.write_line(d, minimum);
    out.write_line(d, interval);
  }
  out.end_line(Destination::report);
  out.flush();
}

// A free measurement that serves as reference for the later images, with
// its box (the same for every later image).
struct Reference {
  std::int32_t ra_window;  // ms of time; at most one day
  std::uint16_t meas;
  std::uint16_t dec_window;  // 1/100 arcsec; at most 10 x 25.5"
};

// The free measurements of an image, in index order, with their boxes.
std::vector<Reference> free_references(const Image& image) {
  std::vector<Reference> result;
  for (std::uint32_t m = 1; m <= image.meas_count(); ++m) {
    const Measurement& meas = image.measurement(m);
    if (!meas.free) continue;
    SearchBox box = search_box(meas);
    // A box without width matches nothing, however negative it is.
    std::int32_t ra_window = box.ra_window > 0 ? static_cast<std::int32_t>(box.ra_window) : 0;
    std::uint16_t dec_window = box.dec_window > 0 ? static_cast<std::uint16_t>(box.dec_window) : 0;
    result.push_back({ra_window, static_cast<std::uint16_t>(m), dec_window});
  }
  return result;
}

}  // namespace

RunFlow identify_stars(ObservationStore& store, ReportChannel& out) {
  std::size_t n = store.image_count();
  StarTable& stars = store.stars;
  if (n == 1) {
    out.write_line(Destination::console, "Only one image, no way to compare stars :-)");
  } else {
    out.write_text(Destination::console, "Searching in image ");
    out.flush();
    // Free references of the image at each time position, fixed once that
    // image has been the candidate of all earlier ones.
    std::vector<std::vector<Reference>> references(n + 1);
    if (n >= 1) references[1] = free_references(store.images[store.image_order[1]]);
    CandidateIndex index;
    for (std::size_t q = 2; q <= n; ++q) {
      Image& candidates = store.images[store.image_order[q]];
      index.build(candidates);
      for (std::size_t p = 1; p < q; ++p) {
        std::uint8_t i = store.image_order[p];
        Image& reference_image = store.images[i];
        bool creates_stars = p == q - 1;
        if (creates_stars) {
          out.write_plain(Destination::console, i, PlainKind::S16);
          out.write_text(Destination::console, " ");
          out.flush();
        }
        for (const Reference& r : references[p]) {
          Measurement& reference = reference_image.measurement(r.meas);
          std::uint32_t s = reference.star;
          if (s == 0) {
            if (stars.count() >= max_stars) {
              out.write_text(Destination::console, "More than ");
              out.write_plain(Destination::console, max_stars, PlainKind::U32);
              out.write_text(Destination::console, " stars identified. Contact ");
              out.write_text(Destination::console, contact_address);
              out.write_line(Destination::console, " or reduce number of stars.");
              return RunFlow::stop;
            }
            stars.images_seen.push_back(1);
            s = stars.count();
            reference.star = s;
          }
          if (r.ra_window == 0 || r.dec_window == 0) continue;
          std::uint32_t k = index.first_free_in_box(reference, SearchBox{r.ra_window, r.dec_window});
          if (k == 0) continue;
          index.take(k);
          Measurement& taken = candidates.measurement(k);
          taken.free = 0;
          taken.star = s;
          ++stars.images_seen[s];
        }
      }
      references[q] = free_references(candidates);
    }
    out.end_line(Destination::console);
    std::string count;
    append_plain(count, stars.count(), PlainKind::U32);
    count += " different stars in ";
    append_plain(count, static_cast<std::int64_t>(n), PlainKind::U16);
    count += " files.";
    out.write_line(Destination::console, count);
  }
  build_star_entries(store);
  write_summary(store, out);
  return RunFlow::go_on;
}

void build_star_entries(ObservationStore& store) {
  StarTable& stars = store.stars;
  std::uint32_t star_count = stars.count();
  stars.first.assign(star_count + 2, 0);
  std::size_t n = store.image_count();
  auto matched_star = [&](const Measurement& meas) -> std::uint32_t {
    return meas.star != 0 && stars.images_seen[meas.star] > 1 ? meas.star : 0;
  };
  for (std::size_t p = 1; p <= n; ++p)
    for (const Measurement& meas : store.images[store.image_order[p]].meas)
      if (std::uint32_t s = matched_star(meas)) ++stars.first[s + 1];
  for (std::uint32_t s = 1; s <= star_count + 1; ++s) stars.first[s] += stars.first[s - 1];
  stars.entries.assign(stars.first[star_count + 1], StarEntry{});
  std::vector<std::uint32_t> fill(stars.first.begin(), stars.first.end() - 1);
  for (std::size_t p = 1; p <= n; ++p) {
    std::uint8_t i = store.image_order[p];
    const Image& image = store.images[i];
    for (std::uint32_t m = 1; m <= image.meas_count(); ++m)
      if (std::uint32_t s = matched_star(image.measurement(m)))
        stars.entries[fill[s]++] = StarEntry{static_cast<std::uint16_t>(m), i};
  }
}

}  // namespace varisift
