// Star identification, one reference image at a time in time order.
//
// The result is that of the direct scan: for each reference image in time
// order, for each later image, for each free reference in index order, the
// first free candidate (in index order) inside the reference's box. What a
// reference takes in one image depends only on what earlier references took
// in that same image, so the loops over later images and over references
// may be exchanged: each free reference of the image at time position p
// creates its star and then takes, in every later image in time order, what
// the direct scan would give it. Stars are thus numbered in the same order,
// and each star's measurements come together, in time order: the star table
// is written as the references are matched.
//
// Cost. The grid answers a box by looking at a few rows of cells (about 80
// at most) and at no more than 64 candidates per later image (plus a slack);
// it declines a box over more. A declined box asks each later image's
// candidate tree: the image's lowest free candidate when that lies inside
// (a box over a pile, or at the pole over the whole field), else a search
// entering only the branches that cross the box's edge, wherever the free
// candidates lie and whatever their indices: at most about 200 leaves of 10
// measurements in an image of 19,999. The worst case is a declined box whose
// edge cuts through crowds of free candidates in every later image: an
// image pair of N measurements then costs at most about N x 13 sqrt(N) box
// tests, 4 x 10^7 at 19,999, where the direct scan (or a walk in index
// order, past the free candidates outside) can cost N x N, 4 x 10^8. A tree
// costs N log N once, and a take one path of branches put right later.
// IdentificationWork counts the box tests, so that tests hold the search to
// these bounds: per reference, at most 64 per later image plus the slack in
// the grid, or about 13 sqrt(N) per later image in the trees.
#include "stars/identify_stars.h"

#include <optional>
#include <string>
#include <vector>

#include "base/parameters.h"
#include "stars/candidate_grid.h"
#include "stars/candidate_tree.h"
#include "stars/search_box.h"
#include "text/number_format.h"

namespace varisift {

namespace {

void write_summary(const ObservationStore& store, ReportChannel& out) {
  std::string stars;
  append_plain(stars, store.stars.count(), PlainKind::U32);
  stars += " different stars identified.";
  std::string minimum = "Minimum number of stars for variability detection: ";
  append_plain(minimum, store.parameters.min_selected_measurements, PlainKind::U8);
  std::string interval = "Minimum difference between maximum and minimum magnitude: ";
  append_masked(interval, "##.## mag", store.parameters.min_mag_interval / 100.0);
  for (Destination d : {Destination::console, Destination::report}) {
    out.write_line(d, stars);
    out.write_line(d, minimum);
    out.write_line(d, interval);
  }
  out.end_line(Destination::report);
  out.flush();
}

// Continues the progress line, right after the last image number.
void write_capacity_stop(ReportChannel& out) {
  std::string line = "More than ";
  append_plain(line, max_stars, PlainKind::U32);
  line += " stars identified. Contact ";
  line += contact_address;
  line += " or reduce number of stars.";
  out.write_stop_line(line);
}

// The progress line names each reference image as its turn begins.
void write_reference_image(ReportChannel& out, std::uint8_t image) {
  std::string number;
  append_plain(number, image, PlainKind::S16);
  number += " ";
  out.write_text(Destination::console, number);
  out.flush();
}

class Matching {
 public:
  Matching(ObservationStore& store, IdentificationWork& work)
      : store_(store), work_(work), grid_(store), trees_(static_cast<std::size_t>(store.image_count()) + 1) {
    std::size_t measurements = 0;
    for (const Image& image : store.images) measurements += image.meas.size();
    store.stars.entries.reserve(measurements);
  }

  // The turn of the image at time position p: each of its free measurements
  // creates its star and takes its candidates. False, with nothing created
  // past it, when the star capacity is reached.
  bool match_references_of(std::size_t p) {
    StarTable& stars = store_.stars;
    Image& image = store_.image_at(p);
    for (std::uint32_t m = 1; m <= image.meas_count(); ++m) {
      Measurement& reference = image.measurement(m);
      if (!reference.free) continue;
      if (stars.count() >= max_stars) return false;
      stars.images_seen.push_back(1);
      stars.first.push_back(static_cast<std::uint32_t>(stars.entries.size()));
      reference.star = stars.count();
      match(p, m);
    }
    return true;
  }

 private:
  // The reference m of the image at time position p takes, in each later
  // image in time order, its first free candidate inside its box.
  void match(std::size_t p, std::uint32_t m) {
    const Measurement& reference = store_.image_at(p).measurement(m);
    SearchBox box = search_box(reference, store_.parameters.fwhm_divisor);
    if (box.ra_window <= 0 || box.dec_window <= 0) return;
    OpenBox open = open_box(reference, box);
    std::size_t n = store_.image_count();
    if (grid_.first_free(open, p, by_image_, work_.box_tests)) {
      for (std::size_t q = p + 1; q <= n; ++q) {
        if (!by_image_.found[q]) continue;
        by_image_.found[q] = false;
        take(p, m, q, by_image_.first[q]);
      }
    } else {
      for (std::size_t q = p + 1; q <= n; ++q) {
        if (!trees_[q]) trees_[q].emplace(store_.image_at(q));
        if (std::uint32_t k = trees_[q]->first_free(open, work_.box_tests)) take(p, m, q, k);
      }
    }
  }

  // Candidate k of the image at time position q joins the star of reference
  // m at p; the star's first take writes the reference's entry before it.
  void take(std::size_t p, std::uint32_t m, std::size_t q, std::uint32_t k) {
    StarTable& stars = store_.stars;
    std::uint32_t star = store_.image_at(p).measurement(m).star;
    if (stars.images_seen[star] == 1)
      stars.entries.push_back(StarEntry{static_cast<std::uint16_t>(m), store_.image_order[p]});
    stars.entries.push_back(StarEntry{static_cast<std::uint16_t>(k), store_.image_order[q]});
    ++stars.images_seen[star];
    Measurement& candidate = store_.image_at(q).measurement(k);
    candidate.free = 0;
    candidate.star = star;
  }

  ObservationStore& store_;
  IdentificationWork& work_;
  CandidateGrid grid_;
  FirstFreeByImage by_image_;
  // Per time position, made for the first box the grid declines.
  std::vector<std::optional<CandidateTree>> trees_;
};

}  // namespace

RunFlow identify_stars(ObservationStore& store, ReportChannel& out) {
  IdentificationWork work;
  return identify_stars(store, out, work);
}

RunFlow identify_stars(ObservationStore& store, ReportChannel& out, IdentificationWork& work) {
  std::size_t n = store.image_count();
  StarTable& stars = store.stars;
  stars.first.assign(1, 0);
  if (n == 1) {
    out.write_line(Destination::console, "Only one image, no way to compare stars :-)");
  } else {
    out.write_text(Destination::console, "Searching in image ");
    out.flush();
    Matching matching(store, work);
    for (std::size_t p = 1; p < n; ++p) {
      write_reference_image(out, store.image_order[p]);
      if (!matching.match_references_of(p)) {
        write_capacity_stop(out);
        return RunFlow::stop;
      }
    }
    out.end_line(Destination::console);
    std::string count;
    append_plain(count, stars.count(), PlainKind::U32);
    count += " different stars in ";
    append_plain(count, static_cast<std::int64_t>(n), PlainKind::U16);
    count += " files.";
    out.write_line(Destination::console, count);
  }
  stars.first.push_back(static_cast<std::uint32_t>(stars.entries.size()));
  write_summary(store, out);
  return RunFlow::go_on;
}

}  // namespace varisift
