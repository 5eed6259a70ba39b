// Star identification in turns, one per reference image in time order.
//
// The result is that of the direct scan: for each reference image in time
// order, for each later image, for each free reference measurement in index
// order, take the first free measurement of the later image (in index order)
// inside the reference's box. What one reference takes in one image depends
// only on what earlier references took in that same image, so the loops over
// later images and over references may be exchanged: in the turn of image p,
// each of its free measurements (fixed once every earlier turn is done)
// creates its star and then takes, in every later image, what the direct
// scan would give it. Stars are thus numbered in the same order, and each
// star's measurements come together, in time order.
//
// For large series the later images are split in two runs, each matched on
// its own core: the second core matches the references of turn p against
// the later run while the first matches them against the earlier one.
#include "stars/identify_stars.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "base/parameters.h"
#include "io/helper_thread.h"
#include "stars/reference_matcher.h"
#include "stars/search_box.h"

namespace varisift {

namespace {

// Measurements to match from which the second core is worth starting.
constexpr std::size_t two_core_measurements = 20000;

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

void write_capacity_stop(ReportChannel& out) {
  out.write_text(Destination::console, "More than ");
  out.write_plain(Destination::console, max_stars, PlainKind::U32);
  out.write_text(Destination::console, " stars identified. Contact ");
  out.write_text(Destination::console, contact_address);
  out.write_line(Destination::console, " or reduce number of stars.");
}

// The turns whose references the first core has published, for the second
// core to wait on; or the word that the run stopped.
class TurnSignals {
 public:
  void publish(std::size_t turn) {
    std::lock_guard lock(mutex_);
    published_ = turn;
    changed_.notify_all();
  }
  void stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }
  // False when the run stopped before the turn was published.
  bool wait_published(std::size_t turn) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return published_ >= turn || stopped_; });
    return published_ >= turn;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t published_ = 0;
  bool stopped_ = false;
};

// The last time position of the first run: the later images split in two
// runs of about the same number of measurements.
std::size_t split_position(const ObservationStore& store) {
  std::size_t n = store.image_count();
  std::size_t total = 0;
  for (std::size_t q = 2; q <= n; ++q) total += store.images[store.image_order[q]].meas.size();
  std::size_t sum = 0;
  std::size_t last = 2;
  for (; last < n - 1; ++last) {
    sum += store.images[store.image_order[last]].meas.size();
    if (2 * sum >= total) break;
  }
  return last;
}

bool use_two_cores(std::size_t images, std::size_t measurements, MatchingCores cores) {
  if (images < 3 || cores == MatchingCores::one) return false;
  if (cores == MatchingCores::two) return true;
  return measurements >= two_core_measurements && std::thread::hardware_concurrency() > 1;
}

// Each star's measurements in time order: the reference that created it,
// then what the earlier run took for it, then what the later run took. The
// table is made in `entries`, which holds the earlier run's takes (and
// maybe room beyond them), moved up in place from the last star down.
void assemble_star_entries(ObservationStore& store, const std::vector<StarEntry>& creators,
                           std::vector<StarEntry> entries, const ReferenceMatcher& earlier,
                           const ReferenceMatcher* later) {
  StarTable& stars = store.stars;
  std::uint32_t star_count = stars.count();
  const std::vector<ReferenceMatcher::StarTakes>& earlier_stars = earlier.star_takes();
  const std::vector<ReferenceMatcher::StarTakes> none;
  const std::vector<ReferenceMatcher::StarTakes>& later_stars = later ? later->star_takes() : none;

  // Where each star begins, and how many images it was seen in.
  auto takes_of = [](const std::vector<ReferenceMatcher::StarTakes>& runs, std::size_t k) {
    return runs[k].end - (k > 0 ? runs[k - 1].end : 0);
  };
  stars.first.assign(star_count + 2, 0);
  std::size_t e = 0, l = 0;
  std::uint32_t at = 0;
  for (std::uint32_t s = 1; s <= star_count; ++s) {
    stars.first[s] = at;
    std::uint32_t taken = 0;
    if (e < earlier_stars.size() && earlier_stars[e].star == s) taken += takes_of(earlier_stars, e++);
    if (l < later_stars.size() && later_stars[l].star == s) taken += takes_of(later_stars, l++);
    if (taken == 0) continue;
    stars.images_seen[s] = static_cast<std::uint8_t>(1 + taken);
    at += 1 + taken;
  }
  stars.first[star_count + 1] = at;

  entries.resize(at);
  // From the last star down, each star's block lies at or above where its
  // earlier takes were, and below every block already placed.
  for (std::uint32_t s = star_count; s >= 1 && (e > 0 || l > 0); --s) {
    std::uint32_t end = stars.first[s + 1];
    if (l > 0 && later_stars[l - 1].star == s) {
      --l;
      std::uint32_t count = takes_of(later_stars, l);
      auto from = later->takes().begin() + (later_stars[l].end - count);
      end -= count;
      std::copy(from, from + count, entries.begin() + end);
    }
    if (e > 0 && earlier_stars[e - 1].star == s) {
      --e;
      std::uint32_t count = takes_of(earlier_stars, e);
      auto from = entries.begin() + (earlier_stars[e].end - count);
      std::copy_backward(from, from + count, entries.begin() + end);
      end -= count;
    }
    if (end != stars.first[s + 1]) entries[stars.first[s]] = creators[s];
  }
  stars.entries = std::move(entries);
}

// What the turns share: the references of each turn (written by the core
// that opens the turn, read-only once it is published) and the reference
// that created each star.
struct Turns {
  explicit Turns(std::size_t n) : references(n) {}
  std::vector<std::vector<Reference>> references;
  std::vector<StarEntry> creators = std::vector<StarEntry>(1);
};

// Opens the turn of the image at time position p: its number on the
// progress line, then each of its measurements left free by the earlier
// turns becomes a reference and creates its star. False, with nothing
// created past it, when the star capacity is reached.
bool open_turn(ObservationStore& store, ReportChannel& out, std::size_t p, Turns& turns) {
  std::uint8_t i = store.image_order[p];
  out.write_plain(Destination::console, i, PlainKind::S16);
  out.write_text(Destination::console, " ");
  out.flush();
  Image& image = store.images[i];
  std::vector<Reference>& references = turns.references[p];
  for (std::uint32_t m = 1; m <= image.meas_count(); ++m) {
    Measurement& meas = image.measurement(m);
    if (!meas.free) continue;
    if (store.stars.count() >= max_stars) return false;
    store.stars.images_seen.push_back(1);
    meas.star = store.stars.count();
    turns.creators.push_back(StarEntry{static_cast<std::uint16_t>(m), i});
    references.push_back(Reference{meas.ra, meas.dec, search_box(meas, store.parameters.fwhm_divisor), meas.star,
                                   static_cast<std::uint16_t>(m)});
  }
  return true;
}

// The turns of all reference images; false when the star capacity stopped
// the run (its message written).
//
// With two cores, the first opens the turns of the images of the earlier
// run and matches them against it; the second matches each published turn
// against the later run, and opens the turns of the later run's images
// itself, since only it takes measurements there. The first core is done
// with the progress line and the stars before the second goes on with them.
bool match_in_turns(ObservationStore& store, ReportChannel& out, MatchingCores cores) {
  std::size_t n = store.image_count();
  std::size_t measurements = 0;
  for (std::size_t i = 1; i <= n; ++i) measurements += store.images[i].meas.size();
  bool two = use_two_cores(n, measurements, cores);
  std::size_t split = two ? split_position(store) : n;
  std::size_t later_measurements = 0;
  for (std::size_t q = split + 1; q <= n; ++q) later_measurements += store.images[store.image_order[q]].meas.size();
  Turns turns(n);
  TurnSignals signals;
  std::optional<ReferenceMatcher> later;
  bool later_capacity_reached = false;
  std::thread second;
  if (two) {
    second = start_helper_thread([&] {
      later.emplace(store, split + 1, n, later_measurements);
      for (std::size_t p = 1; p < n; ++p) {
        if (p <= split) {
          if (!signals.wait_published(p)) return;
        } else if (!open_turn(store, out, p, turns)) {
          later_capacity_reached = true;
          return;
        }
        for (const Reference& reference : turns.references[p]) later->match(reference, p);
      }
    });
    if (!second.joinable()) {
      // No second core to be had: the first matches every later image.
      two = false;
      split = n;
    }
  }
  // The first image's references wait on no matching: opened before the
  // grid is built, the second core has them as soon as its own grid stands.
  bool capacity_reached = n > 1 && !open_turn(store, out, 1, turns);
  if (capacity_reached)
    signals.stop();
  else
    signals.publish(1);
  // Room for every measurement of the series in the earlier run's takes,
  // where the star table will be made.
  ReferenceMatcher earlier(store, 2, split, measurements);
  for (std::size_t p = 1; p < n && p <= split && !capacity_reached; ++p) {
    if (p > 1) {
      if (!open_turn(store, out, p, turns)) {
        capacity_reached = true;
        signals.stop();
        break;
      }
      signals.publish(p);
    }
    for (const Reference& reference : turns.references[p]) earlier.match(reference, p);
  }
  // The star table is made in the earlier run's takes; while the second
  // core finishes, the room it will need beyond them is made ready.
  std::vector<StarEntry> entries = earlier.release_takes();
  if (two && !capacity_reached) {
    std::size_t room = entries.size() + earlier.star_takes().size() + later_measurements;
    entries.resize(std::min(room, entries.capacity()));
  }
  if (second.joinable()) second.join();
  if (capacity_reached || later_capacity_reached) {
    write_capacity_stop(out);
    return false;
  }
  assemble_star_entries(store, turns.creators, std::move(entries), earlier, later ? &*later : nullptr);
  return true;
}

}  // namespace

RunFlow identify_stars(ObservationStore& store, ReportChannel& out, MatchingCores cores) {
  std::size_t n = store.image_count();
  StarTable& stars = store.stars;
  if (n == 1) {
    out.write_line(Destination::console, "Only one image, no way to compare stars :-)");
  } else {
    out.write_text(Destination::console, "Searching in image ");
    out.flush();
    if (!match_in_turns(store, out, cores)) return RunFlow::stop;
    out.end_line(Destination::console);
    std::string count;
    append_plain(count, stars.count(), PlainKind::U32);
    count += " different stars in ";
    append_plain(count, static_cast<std::int64_t>(n), PlainKind::U16);
    count += " files.";
    out.write_line(Destination::console, count);
  }
  if (stars.first.size() != stars.count() + 2) stars.first.assign(stars.count() + 2, 0);
  write_summary(store, out);
  return RunFlow::go_on;
}

}  // namespace varisift
