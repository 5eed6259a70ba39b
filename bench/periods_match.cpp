// periods_match: how many periods of simulated variables Varisift finds.
// Each series folder (named PRESET-SEED) holds the simulator's truth.txt,
// csv/stars.csv of a run with --csv (the candidates and index-flagged stars
// searched) and csv-all/stars.csv of a run with --csv --periods-all (every
// star with statistics searched).
//
// A variable is flagged when a star of csv/stars.csv within 2" of it is
// reported or index-flagged; the nearest such star's period is taken. For
// the search alone, the nearest star of csv-all/stars.csv within 2" with a
// period is taken. Determinable: at least 2 cycles in the images' span, at
// least 60 % of 20 phase bins covered, an amplitude of at least 0.2 mag
// and, for eclipsing shapes, at least 2 eclipses of 3 images each (the
// columns of truth.txt). A period is exact within 1 % and harmonic within
// 1 % of half or twice the true one; a period flagged `long` is a lower
// limit and neither. Prints the tables of bench/README.md: by preset and
// shape, and the goals.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "series_files.h"

namespace {

constexpr double match_radius_arcsec = 2.0;
constexpr double exact_share = 0.01;
// A period longer than half the span: fewer cycles than this in it.
constexpr double long_cycles = 2;
constexpr double long_min_amplitude = 0.2;

using Variable = bench::TruthVariable;

struct Star {
  double ra_deg = 0, dec_deg = 0;
  bool flagged = false;
  std::optional<double> period;
  std::string flag;  // period_flag, empty where no search ran
};

std::vector<Star> read_stars(const std::string& path) {
  const bench::Table csv = bench::read_csv_table(path);
  const std::size_t ra = csv.column("ra_deg"), dec = csv.column("dec_deg"), reported = csv.column("reported"),
                    index_flag = csv.column("index_flag"), period = csv.column("period_d"),
                    flag = csv.column("period_flag");
  std::vector<Star> stars;
  for (const std::vector<std::string>& f : csv.rows) {
    Star s;
    s.ra_deg = std::stod(f[ra]);
    s.dec_deg = std::stod(f[dec]);
    s.flagged = f[reported] == "1" || f[index_flag] == "1";
    if (!f[period].empty()) s.period = std::stod(f[period]);
    s.flag = f[flag];
    stars.push_back(s);
  }
  return stars;
}

// The nearest star within the radius that passes `wanted`; null when none.
template <typename Wanted>
const Star* nearest(const std::vector<Star>& stars, const Variable& v, Wanted wanted) {
  const Star* best = nullptr;
  double best_distance = match_radius_arcsec;
  for (const Star& s : stars) {
    if (!wanted(s)) continue;
    const double d = bench::separation_arcsec(s.ra_deg, s.dec_deg, v.ra_deg, v.dec_deg);
    if (d <= best_distance) {
      best_distance = d;
      best = &s;
    }
  }
  return best;
}

enum class Match { exact, harmonic, other };

bool within(double found, double wanted) { return std::abs(found - wanted) <= exact_share * wanted; }

Match judge(const Star* s, double period) {
  if (s == nullptr || !s->period || s->flag == "long") return Match::other;
  if (within(*s->period, period)) return Match::exact;
  if (within(*s->period, period / 2) || within(*s->period, period * 2)) return Match::harmonic;
  return Match::other;
}

// Periods judged among a set of variables.
struct Count {
  int n = 0, exact = 0, harmonic = 0;
  void add(Match m) {
    ++n;
    if (m == Match::exact) ++exact;
    if (m == Match::harmonic) ++harmonic;
  }
};

double percent(int part, int whole) { return whole > 0 ? 100.0 * part / whole : 0; }

std::string share(int part, int whole) {
  char text[64];
  if (whole == 0) return "-";
  std::snprintf(text, sizeof text, "%d of %d (%.1f %%)", part, whole, percent(part, whole));
  return text;
}

// A variable with the stars that give its periods.
struct Judged {
  std::string preset;
  const Variable* variable;
  const Star* flagged;   // null when no flagged star lies within 2"
  const Star* searched;  // null when no searched star lies within 2"
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) bench::fail("usage: periods_match SERIES_FOLDER...");
  std::vector<std::vector<Variable>> truths;
  std::vector<std::vector<Star>> flagged_runs, all_runs;
  std::vector<std::string> presets;
  for (int k = 1; k < argc; ++k) {
    std::string folder = argv[k];
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const std::size_t slash = folder.find_last_of('/');
    const std::string name = slash == std::string::npos ? folder : folder.substr(slash + 1);
    presets.push_back(name.substr(0, name.find_last_of('-')));
    truths.push_back(bench::read_truth(folder + "/truth.txt"));
    flagged_runs.push_back(read_stars(folder + "/csv/stars.csv"));
    all_runs.push_back(read_stars(folder + "/csv-all/stars.csv"));
  }
  std::vector<Judged> judged;
  for (std::size_t k = 0; k < truths.size(); ++k)
    for (const Variable& v : truths[k])
      judged.push_back({presets[k], &v, nearest(flagged_runs[k], v, [](const Star& s) { return s.flagged; }),
                        nearest(all_runs[k], v, [](const Star& s) { return !s.flag.empty(); })});

  // By preset and shape: the determinable variables.
  std::printf(
      "Determinable variables by preset and shape: flagged (a reported or index-flagged star within 2\"), "
      "and the search alone (--periods-all).\n\n");
  std::printf(
      "| preset | shape | determinable | flagged | exact | exact or harmonic | search alone: exact | exact or "
      "harmonic |\n|---|---|---:|---:|---:|---:|---:|---:|\n");
  std::map<std::pair<std::string, std::string>, std::pair<Count, Count>> by_group;
  std::map<std::pair<std::string, std::string>, int> determinable;
  for (const Judged& j : judged) {
    if (!bench::period_determinable(*j.variable)) continue;
    const auto key = std::make_pair(j.preset, j.variable->kind);
    ++determinable[key];
    if (j.flagged != nullptr) by_group[key].first.add(judge(j.flagged, j.variable->period));
    by_group[key].second.add(judge(j.searched, j.variable->period));
  }
  for (const auto& [key, n] : determinable) {
    const Count& f = by_group[key].first;
    const Count& a = by_group[key].second;
    std::printf("| %s | %s | %d | %d | %s | %s | %s | %s |\n", key.first.c_str(), key.second.c_str(), n, f.n,
                share(f.exact, f.n).c_str(), share(f.exact + f.harmonic, f.n).c_str(), share(a.exact, a.n).c_str(),
                share(a.exact + a.harmonic, a.n).c_str());
  }

  // The goals.
  std::printf("\n| goal | flagged | search alone |\n|---|---|---|\n");
  const std::pair<const char*, double> pulsating_goals[] = {
      {"long-night", 90}, {"three-nights", 90}, {"typical", 85}, {"ten-nights", 80}};
  for (const auto& [preset, goal] : pulsating_goals) {
    const auto key = std::make_pair(std::string(preset), std::string("pulsating"));
    const Count& f = by_group[key].first;
    const Count& a = by_group[key].second;
    std::printf("| pulsating, %s: exact >= %.0f %% | %s | %s |\n", preset, goal, share(f.exact, f.n).c_str(),
                share(a.exact, a.n).c_str());
  }
  {
    const auto key = std::make_pair(std::string("three-nights"), std::string("eclipsing"));
    const Count& f = by_group[key].first;
    const Count& a = by_group[key].second;
    std::printf("| eclipsing, three-nights: exact >= 35 %% | %s | %s |\n", share(f.exact, f.n).c_str(),
                share(a.exact, a.n).c_str());
    std::printf("| eclipsing, three-nights: exact or harmonic >= 60 %% | %s | %s |\n",
                share(f.exact + f.harmonic, f.n).c_str(), share(a.exact + a.harmonic, a.n).c_str());
  }
  // Periods longer than half the span, amplitude at least 0.2 mag: flagged
  // `long`. And the `ok` periods of all variables: exact or harmonic.
  int long_flagged = 0, long_flagged_right = 0, long_searched = 0, long_searched_right = 0;
  Count ok_flagged, ok_searched;
  for (const Judged& j : judged) {
    const Variable& v = *j.variable;
    if (v.cycles < long_cycles && v.amplitude >= long_min_amplitude) {
      if (j.flagged != nullptr) {
        ++long_flagged;
        if (j.flagged->flag == "long") ++long_flagged_right;
      }
      if (j.searched != nullptr) {
        ++long_searched;
        if (j.searched->flag == "long") ++long_searched_right;
      }
    }
    if (j.flagged != nullptr && j.flagged->flag == "ok") ok_flagged.add(judge(j.flagged, v.period));
    if (j.searched != nullptr && j.searched->flag == "ok") ok_searched.add(judge(j.searched, v.period));
  }
  std::printf("| P > T/2, amplitude >= 0.2 mag: flagged `long` >= 95 %% | %s | %s |\n",
              share(long_flagged_right, long_flagged).c_str(), share(long_searched_right, long_searched).c_str());
  std::printf("| `ok` periods of variables: exact or harmonic >= 90 %% | %s | %s |\n",
              share(ok_flagged.exact + ok_flagged.harmonic, ok_flagged.n).c_str(),
              share(ok_searched.exact + ok_searched.harmonic, ok_searched.n).c_str());
  return 0;
}
