// Reading truth.txt and stars.csv by column name.
#include "series_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>

namespace bench {

namespace {

constexpr double arcsec_per_degree = 3600.0;
constexpr double min_cycles = 2;
constexpr double min_phase_coverage = 0.6;
constexpr double min_amplitude = 0.2;
constexpr int min_eclipses = 2;

std::vector<std::string> blank_fields(const std::string& line) {
  std::vector<std::string> f;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = line.find_first_not_of(" \r", at);
    if (start == std::string::npos) break;
    std::size_t end = line.find_first_of(" \r", start);
    if (end == std::string::npos) end = line.size();
    f.push_back(line.substr(start, end - start));
    at = end;
  }
  return f;
}

// One CSV record's fields (RFC 4180 quotes; no line ends inside fields).
std::vector<std::string> csv_fields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  return fields;
}

}  // namespace

void fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::exit(1);
}

std::size_t Table::column(const char* name) const {
  auto it = std::find(header.begin(), header.end(), name);
  if (it == header.end()) fail(path + " has no column " + name);
  return static_cast<std::size_t>(it - header.begin());
}

Table read_truth_table(const std::string& path) {
  std::ifstream in(path);
  if (!in) fail("cannot read " + path);
  Table table{path, {}, {}};
  std::string line;
  if (!std::getline(in, line) || line.empty() || line[0] != '#') fail("no header line in " + path);
  table.header = blank_fields(line.substr(1));
  while (std::getline(in, line)) {
    std::vector<std::string> f = blank_fields(line);
    if (f.empty()) continue;
    if (f.size() != table.header.size()) fail("wrong field count in " + path + ": " + line);
    table.rows.push_back(std::move(f));
  }
  return table;
}

Table read_csv_table(const std::string& path) {
  std::ifstream in(path);
  if (!in) fail("cannot read " + path);
  Table table{path, {}, {}};
  std::string line;
  if (!std::getline(in, line)) fail("empty " + path);
  table.header = csv_fields(line);
  while (std::getline(in, line)) {
    std::vector<std::string> f = csv_fields(line);
    if (f.size() != table.header.size()) fail("wrong field count in " + path + ": " + line);
    table.rows.push_back(std::move(f));
  }
  return table;
}

std::vector<TruthVariable> read_truth(const std::string& path) {
  const Table truth = read_truth_table(path);
  const std::size_t ra = truth.column("ra_deg"), dec = truth.column("dec_deg"), mag = truth.column("mag"),
                    kind = truth.column("kind"), amplitude = truth.column("amplitude_mag"),
                    period = truth.column("period_d"), span = truth.column("span_mag"), cycles = truth.column("cycles"),
                    coverage = truth.column("phase_coverage"), eclipses = truth.column("eclipses");
  std::vector<TruthVariable> variables;
  for (const std::vector<std::string>& f : truth.rows) {
    TruthVariable v;
    v.ra_deg = std::stod(f[ra]);
    v.dec_deg = std::stod(f[dec]);
    v.mag = std::stod(f[mag]);
    v.kind = f[kind];
    v.amplitude = std::stod(f[amplitude]);
    v.period = std::stod(f[period]);
    v.span = std::stod(f[span]);
    v.cycles = std::stod(f[cycles]);
    v.coverage = std::stod(f[coverage]);
    v.eclipses = f[eclipses] == "-" ? 0 : std::stoi(f[eclipses]);
    variables.push_back(v);
  }
  return variables;
}

bool period_determinable(const TruthVariable& v) {
  return v.cycles >= min_cycles && v.coverage >= min_phase_coverage && v.amplitude >= min_amplitude &&
         (v.kind != "eclipsing" || v.eclipses >= min_eclipses);
}

double separation_arcsec(double ra1_deg, double dec1_deg, double ra2_deg, double dec2_deg) {
  const double dra =
      std::remainder(ra1_deg - ra2_deg, 360.0) * std::cos((dec1_deg + dec2_deg) / 2 * std::numbers::pi / 180.0);
  return std::hypot(dra, dec1_deg - dec2_deg) * arcsec_per_degree;
}

}  // namespace bench
