// What the benchmarks of simulated series read: the simulator's truth.txt
// (blank-separated fields under a header line "# name name ...") and
// Varisift's stars.csv (RFC 4180 fields under a header row), every column
// found by its name, and the angle between two positions of such files.
// Plain C++, no part of the program.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// Writes what went wrong to the error stream and ends the program with 1.
[[noreturn]] void fail(const std::string& what);

// A file of records whose columns the header names, read whole.
struct Table {
  std::string path;
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;  // each with as many fields as the header

  // The index of a named column; fails when the file has none.
  std::size_t column(const char* name) const;
};

// truth.txt: blank lines are skipped.
Table read_truth_table(const std::string& path);
// stars.csv (no line ends inside fields).
Table read_csv_table(const std::string& path);

// One variable of truth.txt.
struct TruthVariable {
  double ra_deg = 0, dec_deg = 0;
  double mag = 0;  // mean magnitude
  std::string kind;
  double amplitude = 0;  // mag
  double period = 0;     // days
  double span = 0;       // sampled span: max - min of its true magnitudes at the image times
  double cycles = 0;     // cycles in the span of its images
  double coverage = 0;   // share of 20 phase bins that hold an image
  int eclipses = 0;      // eclipses holding at least 3 images (eclipsing shapes)
};

std::vector<TruthVariable> read_truth(const std::string& path);

// Whether the images can show a variable's period: at least 2 cycles in
// their span, at least 60 % of 20 phase bins covered, an amplitude of at
// least 0.2 mag and, for eclipsing shapes, at least 2 eclipses of 3 images
// each.
bool period_determinable(const TruthVariable& v);

// The angle between two positions (degrees), in arcseconds, for the small
// angles of a match: across 0 h too.
double separation_arcsec(double ra1_deg, double dec1_deg, double ra2_deg, double dec2_deg);

}  // namespace bench
