// recovery_match: how many simulated variables a Varisift run finds. Each
// series folder holds the simulator's truth.txt (the variables, their
// positions and amplitudes) and the run's stars.csv. A variable counts as
// found when a star within 2 arcseconds of it is flagged; a flagged star with
// no variable within 2 arcseconds is a false one. Three flags are judged:
// the results table (`reported`), the index flag (`index_flag`) and their
// union. Prints completeness by amplitude and purity, over all series and
// per preset (the folder name up to its first '-').
//
// With --tune it instead searches thresholds of the index flag's rule on the
// scores in stars.csv and prints the settings that find the most variables
// (in the union) at a given purity: how the thresholds in
// src/indices/index_flag.cpp were chosen, on series other than those the
// recovery is measured on.
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

// Amplitude bins (mag): lower ends; the last bin is open above.
const double amplitude_bin_starts[] = {0.0, 0.1, 0.2, 0.5, 1.0};
constexpr int amplitude_bins = sizeof(amplitude_bin_starts) / sizeof(amplitude_bin_starts[0]);

// The bright variables whose change the images can show: brighter than
// this (by the truth's magnitude) and with at least this sampled span (the
// range of their true magnitudes at the image times).
constexpr double bright_limit_mag = 15.0;
constexpr double visible_span_mag = 0.1;

using Variable = bench::TruthVariable;

bool bright_and_visible(const Variable& v) { return v.mag < bright_limit_mag && v.span >= visible_span_mag; }

struct Star {
  double ra_deg = 0;
  double dec_deg = 0;
  bool reported = false;
  bool index_flag = false;
  std::optional<double> iqr_score, mad_score, inv_eta_score;
  std::vector<int> variables;  // variables within the match radius (indices into the series' list)
};

struct Series {
  std::string name;
  std::string preset;
  std::vector<Variable> variables;
  std::vector<Star> stars;
};

std::optional<double> number_or_empty(const std::string& field) {
  if (field.empty()) return std::nullopt;
  return std::stod(field);
}

std::vector<Star> read_stars(const std::string& path) {
  const bench::Table csv = bench::read_csv_table(path);
  const std::size_t ra = csv.column("ra_deg"), dec = csv.column("dec_deg"), reported = csv.column("reported"),
                    flag = csv.column("index_flag"), iqr = csv.column("iqr_score"), mad = csv.column("mad_score"),
                    inv_eta = csv.column("inv_eta_score");
  std::vector<Star> stars;
  for (const std::vector<std::string>& f : csv.rows) {
    Star s;
    s.ra_deg = std::stod(f[ra]);
    s.dec_deg = std::stod(f[dec]);
    s.reported = f[reported] == "1";
    s.index_flag = f[flag] == "1";
    s.iqr_score = number_or_empty(f[iqr]);
    s.mad_score = number_or_empty(f[mad]);
    s.inv_eta_score = number_or_empty(f[inv_eta]);
    stars.push_back(s);
  }
  return stars;
}

Series read_series(const std::string& folder) {
  Series s;
  std::size_t slash = folder.find_last_of('/');
  s.name = slash == std::string::npos ? folder : folder.substr(slash + 1);
  s.preset = s.name.substr(0, s.name.find('-'));
  s.variables = bench::read_truth(folder + "/truth.txt");
  s.stars = read_stars(folder + "/csv/stars.csv");
  for (Star& star : s.stars) {
    for (std::size_t v = 0; v < s.variables.size(); ++v) {
      const Variable& var = s.variables[v];
      if (bench::separation_arcsec(star.ra_deg, star.dec_deg, var.ra_deg, var.dec_deg) <= match_radius_arcsec)
        star.variables.push_back(static_cast<int>(v));
    }
  }
  return s;
}

int amplitude_bin(double amplitude) {
  int bin = 0;
  while (bin + 1 < amplitude_bins && amplitude >= amplitude_bin_starts[bin + 1]) ++bin;
  return bin;
}

// What one flag finds over a set of series.
struct Tally {
  int variables[amplitude_bins] = {};
  int found[amplitude_bins] = {};
  int flagged = 0;
  int false_ones = 0;
  int bright = 0;  // bright variables with a visible span, and those found
  int bright_found = 0;
  int all_variables() const {
    int n = 0;
    for (int v : variables) n += v;
    return n;
  }
  int all_found() const {
    int n = 0;
    for (int v : found) n += v;
    return n;
  }
  double completeness() const { return all_variables() ? 100.0 * all_found() / all_variables() : 0; }
  double purity() const { return flagged ? 100.0 * (flagged - false_ones) / flagged : 100; }
};

template <typename Flag>
void tally_series(const Series& s, Flag flagged, Tally& t) {
  std::vector<bool> found(s.variables.size(), false);
  for (const Star& star : s.stars) {
    if (!flagged(star)) continue;
    ++t.flagged;
    if (star.variables.empty()) ++t.false_ones;
    for (int v : star.variables) found[static_cast<std::size_t>(v)] = true;
  }
  for (std::size_t v = 0; v < s.variables.size(); ++v) {
    int bin = amplitude_bin(s.variables[v].amplitude);
    ++t.variables[bin];
    if (found[v]) ++t.found[bin];
    if (bright_and_visible(s.variables[v])) {
      ++t.bright;
      t.bright_found += found[v];
    }
  }
}

bool method_flag(int method, const Star& s) {
  if (method == 0) return s.reported;
  if (method == 1) return s.index_flag;
  return s.reported || s.index_flag;
}

std::string percent(int part, int whole) {
  char text[64];
  std::snprintf(text, sizeof text, "%d (%.1f %%)", part, whole ? 100.0 * part / whole : 0.0);
  return text;
}

void print_recovery(const std::vector<Series>& all) {
  Tally total[3];
  std::map<std::string, Tally[3]> per_preset;
  for (const Series& s : all) {
    for (int m = 0; m < 3; ++m) {
      auto flag = [m](const Star& star) { return method_flag(m, star); };
      tally_series(s, flag, total[m]);
      tally_series(s, flag, per_preset[s.preset][m]);
    }
  }
  std::printf("%zu series, %d simulated variables\n\n", all.size(), total[0].all_variables());
  std::printf("| amplitude (mag) | variables | results table | index flag | union |\n|---|---:|---:|---:|---:|\n");
  for (int b = 0; b < amplitude_bins; ++b) {
    char label[32];
    if (b == 0)
      std::snprintf(label, sizeof label, "< %.2f", amplitude_bin_starts[b + 1]);
    else if (b + 1 < amplitude_bins)
      std::snprintf(label, sizeof label, "%.2f - %.2f", amplitude_bin_starts[b], amplitude_bin_starts[b + 1]);
    else
      std::snprintf(label, sizeof label, ">= %.2f", amplitude_bin_starts[b]);
    std::printf("| %s | %d | %s | %s | %s |\n", label, total[0].variables[b],
                percent(total[0].found[b], total[0].variables[b]).c_str(),
                percent(total[1].found[b], total[1].variables[b]).c_str(),
                percent(total[2].found[b], total[2].variables[b]).c_str());
  }
  std::printf("| all | %d | %s | %s | %s |\n", total[0].all_variables(),
              percent(total[0].all_found(), total[0].all_variables()).c_str(),
              percent(total[1].all_found(), total[1].all_variables()).c_str(),
              percent(total[2].all_found(), total[2].all_variables()).c_str());
  std::printf("| brighter than %.0f mag, sampled span >= %.1f mag | %d | %s | %s | %s |\n", bright_limit_mag,
              visible_span_mag, total[0].bright, percent(total[0].bright_found, total[0].bright).c_str(),
              percent(total[1].bright_found, total[1].bright).c_str(),
              percent(total[2].bright_found, total[2].bright).c_str());
  std::printf("| flagged stars | | %d | %d | %d |\n", total[0].flagged, total[1].flagged, total[2].flagged);
  std::printf("| false ones | | %d | %d | %d |\n", total[0].false_ones, total[1].false_ones, total[2].false_ones);
  std::printf("| purity | | %.1f %% | %.1f %% | %.1f %% |\n\n", total[0].purity(), total[1].purity(),
              total[2].purity());
  std::printf("| preset | series variables | found: table / flag / union | purity: table / flag / union |\n");
  std::printf("|---|---:|---|---|\n");
  for (const auto& [preset, t] : per_preset) {
    std::printf("| %s | %d | %d / %d / %d | %.1f / %.1f / %.1f %% |\n", preset.c_str(), t[0].all_variables(),
                t[0].all_found(), t[1].all_found(), t[2].all_found(), t[0].purity(), t[1].purity(), t[2].purity());
  }
  std::printf("\nunion / results table: %.2fx\n",
              total[0].all_found() ? static_cast<double>(total[2].all_found()) / total[0].all_found() : 0.0);
}

// The rule of the index flag with free thresholds: IQR score > a; or IQR
// score > b and MAD score > c and 1/eta score > h; or 1/eta score > d and
// IQR score > e; or 1/eta score > f.
struct Rule {
  double a, b, c, h, d, e, f;
};

bool above(const std::optional<double>& score, double threshold) { return score && *score > threshold; }

bool rule_flag(const Rule& r, const Star& s) {
  return above(s.iqr_score, r.a) ||
         (above(s.iqr_score, r.b) && above(s.mad_score, r.c) && above(s.inv_eta_score, r.h)) ||
         (above(s.inv_eta_score, r.d) && above(s.iqr_score, r.e)) || above(s.inv_eta_score, r.f);
}

// Thresholds from..to in steps, then "left out" (no score reaches it).
constexpr double left_out = 1e9;

std::vector<double> steps(double from, double to, double step, bool with_left_out) {
  std::vector<double> v;
  for (int k = 0; from + k * step <= to + step / 2; ++k) v.push_back(from + k * step);
  if (with_left_out) v.push_back(left_out);
  return v;
}

// A star that no clause can flag with the lowest thresholds tried (IQR
// score at most 0 and 1/eta score at most the lowest alone-threshold)
// matters only when it is reported.
constexpr double lowest_iqr_threshold = 0;
constexpr double lowest_eta_alone_threshold = 8;

void tune(const std::vector<Series>& all, double purity_goal) {
  struct Result {
    Rule rule;
    int union_found, union_flagged, union_false;
    int flag_found, flag_flagged, flag_false;
    int union_bright;  // bright variables with a visible span the union finds
  };
  // Per series, the stars the rule may flag or the table reports.
  std::vector<std::vector<const Star*>> candidates(all.size());
  for (std::size_t i = 0; i < all.size(); ++i)
    for (const Star& star : all[i].stars)
      if (star.reported || above(star.iqr_score, lowest_iqr_threshold) ||
          above(star.inv_eta_score, lowest_eta_alone_threshold))
        candidates[i].push_back(&star);
  int variables = 0;
  int bright = 0;
  for (const Series& s : all) {
    variables += static_cast<int>(s.variables.size());
    for (const Variable& v : s.variables) bright += bright_and_visible(v);
  }

  std::vector<Rule> rules;
  for (double a : {10.0, 20.0, 30.0, left_out})
    for (double b : steps(2, 6, 1, true))
      for (double c : steps(2, 6, 1, false))
        for (double h : {-1.0, 0.0, 1.0, 2.0, 3.0, 4.0}) {
          if (b >= left_out && (c > 2 || h > -1)) continue;  // one rule without the clause
          for (double d : steps(2, 10, 1, true))
            for (double e : steps(lowest_iqr_threshold, 4, 0.5, false)) {
              if (d >= left_out && e > lowest_iqr_threshold) continue;
              for (double f : {lowest_eta_alone_threshold, 10.0, 12.0, 15.0, 20.0, 25.0, left_out})
                rules.push_back({a, b, c, h, d, e, f});
            }
        }

  std::vector<Result> results;
  std::vector<char> union_found, flag_found;
  for (const Rule& r : rules) {
    Result result{r, 0, 0, 0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < all.size(); ++i) {
      union_found.assign(all[i].variables.size(), 0);
      flag_found.assign(all[i].variables.size(), 0);
      for (const Star* star : candidates[i]) {
        bool by_rule = rule_flag(r, *star);
        if (!by_rule && !star->reported) continue;
        bool is_false = star->variables.empty();
        ++result.union_flagged;
        result.union_false += is_false;
        if (by_rule) {
          ++result.flag_flagged;
          result.flag_false += is_false;
        }
        for (int v : star->variables) {
          union_found[static_cast<std::size_t>(v)] = 1;
          if (by_rule) flag_found[static_cast<std::size_t>(v)] = 1;
        }
      }
      for (std::size_t v = 0; v < union_found.size(); ++v)
        result.union_bright += union_found[v] && bright_and_visible(all[i].variables[v]);
      for (char f : union_found) result.union_found += f;
      for (char f : flag_found) result.flag_found += f;
    }
    if (100.0 * (result.flag_flagged - result.flag_false) >= purity_goal * result.flag_flagged)
      results.push_back(result);
  }
  std::sort(results.begin(), results.end(), [](const Result& x, const Result& y) {
    if (x.union_found != y.union_found) return x.union_found > y.union_found;
    return x.union_false < y.union_false;
  });
  Tally table;
  for (const Series& s : all)
    tally_series(
        s, [](const Star& star) { return star.reported; }, table);
  std::printf("%zu series, %d variables; the results table finds %d (%d false of %d flagged, purity %.1f %%)\n",
              all.size(), variables, table.all_found(), table.false_ones, table.flagged, table.purity());
  std::printf("%d bright variables with a visible span (B: those the union finds)\n", bright);
  std::printf(
      "%zu rules tried; those whose index flag alone has a purity >= %.1f %%, most variables found by\n"
      "the union first:\n",
      rules.size(), purity_goal);
  std::printf(
      "     a      b      c      h      d      e      f | union: found flagged false purity     B | flag: found "
      "flagged false purity\n");
  auto shown = [](double t) {
    char text[16];
    if (t >= left_out) return std::string("     -");
    std::snprintf(text, sizeof text, "%6.1f", t);
    return std::string(text);
  };
  auto percent_of = [](int flagged, int false_ones) {
    return flagged ? 100.0 * (flagged - false_ones) / flagged : 100.0;
  };
  for (std::size_t i = 0; i < results.size() && i < 40; ++i) {
    const Result& x = results[i];
    const bool no_pair = x.rule.b >= left_out;
    const bool no_eta = x.rule.d >= left_out;
    std::printf("%s %s %s %s %s %s %s | %12d %7d %5d %5.1f %% %5d | %11d %7d %5d %5.1f %%\n", shown(x.rule.a).c_str(),
                shown(x.rule.b).c_str(), shown(no_pair ? left_out : x.rule.c).c_str(),
                shown(no_pair ? left_out : x.rule.h).c_str(), shown(x.rule.d).c_str(),
                shown(no_eta ? left_out : x.rule.e).c_str(), shown(x.rule.f).c_str(), x.union_found, x.union_flagged,
                x.union_false, percent_of(x.union_flagged, x.union_false), x.union_bright, x.flag_found, x.flag_flagged,
                x.flag_false, percent_of(x.flag_flagged, x.flag_false));
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool tuning = false;
  double purity_goal = 98;
  std::vector<std::string> folders;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--tune") {
      tuning = true;
    } else if (arg == "--purity" && i + 1 < argc) {
      purity_goal = std::stod(argv[++i]);
    } else if (!arg.empty() && arg[0] == '-') {
      std::fprintf(stderr, "usage: recovery_match [--tune [--purity PERCENT]] SERIES_FOLDER...\n");
      return 1;
    } else {
      folders.push_back(arg);
    }
  }
  std::vector<Series> all;
  for (const std::string& folder : folders) all.push_back(read_series(folder));
  if (tuning)
    tune(all, purity_goal);
  else
    print_recovery(all);
  return 0;
}
