// write_truth: the variables of a series and the catalogue entries at their
// places, one line each under a header line that names the columns, so a run
// of the detector can be checked by eye and read back by a program (split
// at blanks; "-" stands for a value that does not apply).
#include <cmath>
#include <ostream>
#include <string>
#include <string_view>

#include "sampling.h"
#include "series.h"
#include "text_format.h"

namespace varisift::simulate {

namespace {

constexpr char not_applicable[] = "-";

// The columns in order, each right-aligned in its width (the kind
// left-aligned); the header's "#" stands in the first column's width.
struct Column {
  std::string_view name;
  int width;
  int decimals;
};

constexpr Column star_column{"star", 6, 0};
constexpr Column ra_column{"ra_deg", 12, 6};
constexpr Column dec_column{"dec_deg", 11, 6};
constexpr Column mag_column{"mag", 7, 2};
constexpr Column kind_column{"kind", 11, 0};
constexpr Column amplitude_column{"amplitude_mag", 15, 2};
constexpr Column period_column{"period_d", 13, 7};
constexpr Column epoch_column{"epoch_jd", 16, 6};
constexpr Column span_column{"span_mag", 10, 3};
constexpr Column cycles_column{"cycles", 9, 3};
constexpr Column coverage_column{"phase_coverage", 16, 2};
constexpr Column eclipses_column{"eclipses", 10, 0};
constexpr Column vsx_column{"vsx", 8, 0};
constexpr Column flag_column{"vsx_flag", 10, 0};

constexpr Column numeric_columns_after_kind[] = {amplitude_column, period_column, epoch_column,
                                                 span_column,      cycles_column, coverage_column,
                                                 eclipses_column,  vsx_column,    flag_column};

const char* kind_name(VariableKind kind) {
  switch (kind) {
    case VariableKind::constant:
      return "constant";
    case VariableKind::pulsating:
      return "pulsating";
    case VariableKind::eclipsing:
      return "eclipsing";
    case VariableKind::trend:
      return "trend";
  }
  return "?";
}

void append_right(std::string& out, std::string_view text, int width) {
  append_blanks(out, width - static_cast<int>(text.size()));
  out += text;
}

void append_real(std::string& out, double value, const Column& column) {
  double scale = 1.0;
  for (int i = 0; i < column.decimals; ++i) {
    scale *= 10.0;
  }
  append_fixed(out, std::llround(value * scale), column.decimals, column.width);
}

std::string header_line() {
  std::string text = "#";
  append_right(text, star_column.name, star_column.width - 1);
  for (const Column& c : {ra_column, dec_column, mag_column}) {
    append_right(text, c.name, c.width);
  }
  text += "  ";
  append_left(text, kind_column.name, kind_column.width - 2);
  for (const Column& c : numeric_columns_after_kind) {
    append_right(text, c.name, c.width);
  }
  return text + '\n';
}

void append_variable(std::string& text, const Series& series, std::size_t index) {
  const SkyObject& star = series.objects[index];
  const Sampling sampling = sampling_of(series, star);
  append_int(text, static_cast<std::int64_t>(index) + 1, star_column.width);
  append_real(text, star.ra_deg, ra_column);
  append_real(text, star.dec_deg, dec_column);
  append_real(text, star.mag, mag_column);
  text += "  ";
  append_left(text, kind_name(star.kind), kind_column.width - 2);
  append_real(text, star.amplitude_mag, amplitude_column);
  append_real(text, star.period_days, period_column);
  append_real(text, sampling.epoch_jd, epoch_column);
  append_real(text, sampling.span_mag, span_column);
  append_real(text, sampling.cycles, cycles_column);
  append_real(text, sampling.phase_coverage, coverage_column);
  if (star.kind == VariableKind::eclipsing) {
    append_int(text, sampling.eclipses, eclipses_column.width);
  } else {
    append_right(text, not_applicable, eclipses_column.width);
  }
  if (star.vsx_entry >= 0) {
    const VsxEntry& entry = series.vsx[static_cast<std::size_t>(star.vsx_entry)];
    append_int(text, entry.id, vsx_column.width);
    append_right(text, std::string_view(&entry.flag, 1), flag_column.width);
  } else {
    append_right(text, not_applicable, vsx_column.width);
    append_right(text, not_applicable, flag_column.width);
  }
  text += '\n';
}

}  // namespace

void write_truth(const Series& series, std::ostream& out) {
  std::string text = header_line();
  for (std::size_t i = 0; i < series.objects.size(); ++i) {
    if (series.objects[i].kind != VariableKind::constant) {
      append_variable(text, series, i);
    }
  }
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace varisift::simulate
