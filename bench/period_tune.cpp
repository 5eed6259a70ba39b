// period_tune: the period search on every star of simulated series, run in
// this process with the calls of a real run, for what stars.csv cannot
// show. Each series folder holds Skymensor.log and the simulator's
// truth.txt. Three uses (see bench/README.md):
//
//   period_tune --tune DIR...       the thresholds of the subharmonic rule
//                                   and of the doubling for eclipsing shapes:
//                                   the share of exact periods of
//                                   determinable variables for each pair
//   period_tune --constants DIR...  constant stars: the share whose highest
//                                   peak has a false-alarm probability below
//                                   0.01, and how the stars whose highest
//                                   peak lies within 3 % of 1 to 4 c/d are
//                                   flagged
//   period_tune --cost N DIR        CPU time of N searches, the stars with
//                                   statistics taken in turn
//   period_tune --misses DIR...     every determinable variable whose period
//                                   is not exact, with what was found
//
// A variable is matched by the star with statistics nearest to it within
// 2"; a constant star is a star with statistics without a variable within
// 2". Determinable: at least 2 cycles in the images' span, at least 60 % of
// 20 phase bins covered, an amplitude of at least 0.2 mag and, for
// eclipsing shapes, at least 2 eclipses of 3 images each (truth.txt's
// columns). A period is exact within 1 % and harmonic when it is within
// 1 % of half or twice the true one.
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "detect/detection_passes.h"
#include "export/period_data.h"
#include "export/star_anchors.h"
#include "fields/field_means.h"
#include "fields/field_summary.h"
#include "io/input_files.h"
#include "io/line_reader.h"
#include "io/report_channel.h"
#include "periods/period_search.h"
#include "series_files.h"
#include "stars/identify_stars.h"
#include "stars/image_order.h"
#include "store/log_parser.h"
#include "store/sky_units.h"

namespace {

using namespace varisift;

constexpr double match_radius_arcsec = 2.0;
constexpr double exact_share = 0.01;
constexpr double noise_fap = 0.01;
constexpr double alias_share = 0.03;
constexpr int nightly_harmonics = 4;

using bench::fail;

double cpu_seconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

using Variable = bench::TruthVariable;

// A star with statistics: where it is and what a search takes of it.
struct SearchedStar {
  double ra_deg = 0, dec_deg = 0;
  PeriodData data;
  int variable = -1;  // the variable it matches, -1 for a constant star
};

struct Series {
  std::string name, preset;
  std::vector<Variable> variables;
  std::vector<SearchedStar> stars;
};

enum class Keep { all, variables, constants };

// The calls of a real run up to the report pass's results, console and
// report kept in memory and dropped; the stars asked for are kept.
Series read_series(const std::string& folder, bool with_truth, Keep keep) {
  Series s;
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::size_t slash = path.find_last_of('/');
  s.name = slash == std::string::npos ? path : path.substr(slash + 1);
  // Folders are named PRESET-SEED, and presets may hold a '-'.
  s.preset = s.name.substr(0, s.name.find_last_of('-'));
  if (with_truth) s.variables = bench::read_truth(folder + "/truth.txt");

  ObservationStore store;
  ReportChannel out;
  OpenResult log_file = open_for_reading(folder + "/Skymensor.log");
  if (log_file.file == nullptr) fail("cannot open " + folder + "/Skymensor.log");
  LineReader log(log_file.file);
  const RunFlow read = read_measurement_log(store, log, out);
  std::fclose(log_file.file);
  if (read == RunFlow::stop) fail("the log of " + folder + " stops the run");
  lower_variation_threshold(store);
  write_field_list(store, out);
  write_processed_notice(store, out);
  sort_images_by_time(store);
  if (identify_stars(store, out) == RunFlow::stop) fail("identification stops in " + folder);
  DetectionResults results;
  results.wanted = true;
  run_detection(store, out, results);

  const std::vector<StarAnchor> anchors = star_anchors(store);
  for (const StarResult& r : results.stars) {
    if (!r.has_statistics) continue;
    SearchedStar star;
    star.ra_deg = ra_degrees(anchors[r.star - 1].ra);
    star.dec_deg = dec_degrees(anchors[r.star - 1].dec);
    star.data = period_data(star_measurements(store, r));
    s.stars.push_back(std::move(star));
  }
  // Each variable to its nearest star within the radius; stars near a
  // variable that is matched to another star are left out of the constants.
  std::vector<bool> near_variable(s.stars.size(), false);
  for (std::size_t v = 0; v < s.variables.size(); ++v) {
    double best = match_radius_arcsec;
    int nearest = -1;
    for (std::size_t k = 0; k < s.stars.size(); ++k) {
      const double d = bench::separation_arcsec(s.stars[k].ra_deg, s.stars[k].dec_deg, s.variables[v].ra_deg,
                                                s.variables[v].dec_deg);
      if (d <= match_radius_arcsec) near_variable[k] = true;
      if (d <= best) {
        best = d;
        nearest = static_cast<int>(k);
      }
    }
    if (nearest >= 0) s.stars[static_cast<std::size_t>(nearest)].variable = static_cast<int>(v);
  }
  std::vector<SearchedStar> kept;
  for (std::size_t k = 0; k < s.stars.size(); ++k) {
    const bool variable = s.stars[k].variable >= 0;
    const bool constant = !near_variable[k];
    if ((variable && keep != Keep::constants) || (constant && keep != Keep::variables))
      kept.push_back(std::move(s.stars[k]));
  }
  s.stars = std::move(kept);
  return s;
}

std::optional<PeriodResult> search(const SearchedStar& star, const PeriodSettings& settings) {
  return search_period(star.data.times, star.data.magnitudes, star.ra_deg, star.dec_deg, settings);
}

bool within(double found, double wanted) { return std::abs(found - wanted) <= exact_share * wanted; }

enum class Match { exact, harmonic, other };

Match judge(const std::optional<PeriodResult>& r, double period) {
  if (!r || r->flag == PeriodFlag::long_period) return Match::other;
  if (within(r->period_d, period)) return Match::exact;
  if (within(r->period_d, period / 2) || within(r->period_d, period * 2)) return Match::harmonic;
  return Match::other;
}

double percent(int part, int whole) { return whole > 0 ? 100.0 * part / whole : 0; }

// --tune: exact shares of the determinable variables for each pair of
// thresholds.
void tune(const std::vector<Series>& all) {
  struct Target {
    const SearchedStar* star;
    const Variable* variable;
    std::string preset;
  };
  std::vector<Target> targets;
  std::map<std::string, int> pulsating_by_preset;
  for (const Series& s : all)
    for (const SearchedStar& star : s.stars) {
      if (star.variable < 0) continue;
      const Variable& v = s.variables[static_cast<std::size_t>(star.variable)];
      if (!bench::period_determinable(v) || v.kind == "trend") continue;
      targets.push_back({&star, &v, s.preset});
      if (v.kind == "pulsating") ++pulsating_by_preset[s.preset];
    }
  int eclipsing = 0, eclipsing_three = 0;
  for (const Target& t : targets)
    if (t.variable->kind == "eclipsing") {
      ++eclipsing;
      if (t.preset == "three-nights") ++eclipsing_three;
    }
  std::printf("determinable variables: %zu (eclipsing %d, of them %d on three-nights); pulsating:", targets.size(),
              eclipsing, eclipsing_three);
  for (const auto& [preset, n] : pulsating_by_preset) std::printf(" %s %d", preset.c_str(), n);
  std::printf("\n\n%8s %6s | %-40s | %s\n", "margin", "ratio", "pulsating exact % (all; by preset)",
              "eclipsing exact / exact or harmonic % (all; three-nights)");
  const double margins[] = {0, 10, 20, 30, 40, 60, 80, 1e300};
  const double ratios[] = {0.8, 0.85, 0.9, 0.95, 1.0};
  for (double margin : margins)
    for (double ratio : ratios) {
      PeriodSettings settings;
      settings.subharmonic_margin = margin;
      settings.doubling_ratio = ratio;
      int pulsating = 0, pulsating_exact = 0;
      std::map<std::string, int> exact_by_preset;
      int ecl_exact = 0, ecl_either = 0, three_exact = 0, three_either = 0;
      for (const Target& t : targets) {
        const Match m = judge(search(*t.star, settings), t.variable->period);
        if (t.variable->kind == "pulsating") {
          ++pulsating;
          if (m == Match::exact) {
            ++pulsating_exact;
            ++exact_by_preset[t.preset];
          }
          continue;
        }
        const bool three = t.preset == "three-nights";
        if (m == Match::exact) {
          ++ecl_exact;
          if (three) ++three_exact;
        }
        if (m != Match::other) {
          ++ecl_either;
          if (three) ++three_either;
        }
      }
      std::string by_preset;
      for (const auto& [preset, n] : pulsating_by_preset) {
        char part[32];
        std::snprintf(part, sizeof part, " %.1f", percent(exact_by_preset[preset], n));
        by_preset += part;
      }
      std::printf("%8.3g %6.2f | %5.1f;%-34s | %5.1f / %5.1f; %5.1f / %5.1f\n", margin, ratio,
                  percent(pulsating_exact, pulsating), by_preset.c_str(), percent(ecl_exact, eclipsing),
                  percent(ecl_either, eclipsing), percent(three_exact, eclipsing_three),
                  percent(three_either, eclipsing_three));
    }
}

bool near_nightly(double frequency) {
  for (int k = 1; k <= nightly_harmonics; ++k)
    if (std::abs(frequency - k) <= alias_share * k) return true;
  return false;
}

// --misses: every determinable variable whose period is not exact, with
// what the search found instead.
void misses(const std::vector<Series>& all) {
  const PeriodSettings settings;
  std::printf("%-16s %-10s %6s %10s %7s %6s %5s | %10s %7s %6s %8s %4s\n", "series", "kind", "amp", "period", "cycles",
              "cover", "N", "found", "ratio", "flag", "log FAP", "ecl");
  for (const Series& s : all)
    for (const SearchedStar& star : s.stars) {
      if (star.variable < 0) continue;
      const Variable& v = s.variables[static_cast<std::size_t>(star.variable)];
      if (!bench::period_determinable(v)) continue;
      const std::optional<PeriodResult> r = search(star, settings);
      if (judge(r, v.period) == Match::exact) continue;
      std::printf("%-16s %-10s %6.2f %10.5f %7.2f %6.2f %5zu | ", s.name.c_str(), v.kind.c_str(), v.amplitude, v.period,
                  v.cycles, v.coverage, star.data.times.size());
      if (!r) {
        std::printf("no search\n");
        continue;
      }
      std::printf("%10.5f %7.3f %6s %8.1f %4s\n", r->period_d, r->period_d / v.period,
                  std::string(period_flag_name(r->flag)).c_str(), r->log10_fap, r->eclipsing ? "yes" : "no");
    }
}

// --constants: false alarms and nightly aliases of constant stars, by
// preset, one series at a time.
void constants(const std::vector<std::string>& folders) {
  struct Tally {
    int stars = 0, low_fap = 0, nightly = 0;
    int nightly_flags[4] = {};  // long, weak, alias, ok
  };
  std::map<std::string, Tally> by_preset;
  const PeriodSettings settings;
  const double log10_noise_fap = std::log10(noise_fap);
  for (const std::string& folder : folders) {
    const Series s = read_series(folder, true, Keep::constants);
    for (const SearchedStar& star : s.stars) {
      if (star.variable >= 0) continue;
      const std::optional<PeriodResult> r = search(star, settings);
      if (!r) continue;
      Tally& t = by_preset[s.preset];
      ++t.stars;
      if (r->log10_fap < log10_noise_fap) ++t.low_fap;
      if (near_nightly(r->highest_frequency)) {
        ++t.nightly;
        ++t.nightly_flags[static_cast<int>(r->flag)];
      }
    }
  }
  Tally all;
  for (const auto& [preset, t] : by_preset) {
    all.stars += t.stars;
    all.low_fap += t.low_fap;
    all.nightly += t.nightly;
    for (int k = 0; k < 4; ++k) all.nightly_flags[k] += t.nightly_flags[k];
  }
  by_preset["all"] = all;
  // The flags of the stars whose highest peak lies within 3 % of 1 to 4
  // c/d: `alias` among all of them, and among those neither `long` nor
  // `weak`, which come first.
  std::printf("%-14s %7s %17s %9s %7s %7s %7s %7s %9s %15s\n", "preset", "stars", "FAP < 0.01", "nightly", "long",
              "weak", "alias", "ok", "alias %", "alias of rest %");
  for (const auto& [preset, t] : by_preset)
    std::printf("%-14s %7d %8d (%5.2f %%) %9d %7d %7d %7d %7d %9.1f %15.1f\n", preset.c_str(), t.stars, t.low_fap,
                percent(t.low_fap, t.stars), t.nightly, t.nightly_flags[0], t.nightly_flags[1], t.nightly_flags[2],
                t.nightly_flags[3], percent(t.nightly_flags[2], t.nightly),
                percent(t.nightly_flags[2], t.nightly_flags[2] + t.nightly_flags[3]));
}

// --cost: CPU time of `count` searches.
void cost(const Series& s, int count) {
  if (s.stars.empty()) fail("no star with statistics");
  const PeriodSettings settings;
  std::size_t evaluations = 0, fits = 0, points = 0;
  const double start = cpu_seconds();
  for (int k = 0; k < count; ++k) {
    const SearchedStar& star = s.stars[static_cast<std::size_t>(k) % s.stars.size()];
    const std::optional<PeriodResult> r = search(star, settings);
    if (r) {
      evaluations += r->point_frequencies;
      fits += r->model_fits;
    }
    points += star.data.times.size();
  }
  const double seconds = cpu_seconds() - start;
  std::printf(
      "searches %d\ncpu_seconds %.3f\nmean_points %.1f\npoint_frequencies_per_search %.0f\n"
      "model_fits_per_search %.1f\n",
      count, seconds, static_cast<double>(points) / count, static_cast<double>(evaluations) / count,
      static_cast<double>(fits) / count);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) fail("usage: period_tune --tune DIR... | --constants DIR... | --cost N DIR");
  const std::string mode = argv[1];
  if (mode == "--cost") {
    if (argc != 4) fail("usage: period_tune --cost N DIR");
    cost(read_series(argv[3], false, Keep::all), std::atoi(argv[2]));
    return 0;
  }
  if (mode == "--constants") {
    constants(std::vector<std::string>(argv + 2, argv + argc));
    return 0;
  }
  if (mode != "--tune" && mode != "--misses") fail("unknown use " + mode);
  std::vector<Series> all;
  for (int k = 2; k < argc; ++k) all.push_back(read_series(argv[k], true, Keep::variables));
  if (mode == "--tune")
    tune(all);
  else
    misses(all);
  return 0;
}
