// vsx.dat: one fixed-column line per catalogue entry, LF line ends as in the
// distributed catalogue.
#include <ostream>

#include "line_format.h"
#include "series.h"
#include "text_format.h"

namespace varisift::simulate {

namespace {

constexpr int id_width = 7;
constexpr int name_width = 30;
constexpr int type_width = 30;
constexpr int band_width = 6;
constexpr int position_width = 9;
constexpr int magnitude_width = 6;
constexpr int epoch_width = 12;
constexpr int period_width = 17;
constexpr std::size_t flush_size = 1 << 20;

std::int64_t scaled_to(std::int64_t thousandths, int decimals) {
  std::int64_t divisor = 1;
  for (int i = decimals; i < 3; ++i) {
    divisor *= 10;
  }
  return thousandths / divisor;
}

void trim_trailing_blanks(std::string& out, std::size_t line_start) {
  while (out.size() > line_start && out.back() == ' ') {
    out.pop_back();
  }
}

}  // namespace

void append_vsx_line(std::string& out, const VsxEntry& entry) {
  const std::size_t start = out.size();
  append_int(out, entry.id, id_width);  // 1-7
  out += ' ';
  append_left(out, entry.name, name_width);  // 9-38
  out += ' ';
  out += entry.flag;  // 40
  out += ' ';
  append_fixed(out, entry.ra_e5, 5, position_width);  // 42-50
  out += ' ';
  append_fixed(out, entry.dec_e5, 5, position_width, Sign::always);  // 52-60
  out += ' ';
  append_left(out, entry.type, type_width);  // 62-91
  out += "   ";                              // 92-94
  append_fixed(out, scaled_to(entry.max_mag_thousandths, entry.max_mag_decimals), entry.max_mag_decimals,
               magnitude_width);           // 95-100
  out += entry.max_uncertain ? ':' : ' ';  // 101
  out += ' ';
  append_left(out, entry.band, band_width);  // 103-108
  out += "  ";
  append_fixed(out, entry.min_mag_thousandths, 3, magnitude_width);  // 111-116
  out += "  ";
  append_left(out, entry.band, band_width);  // 119-124
  if (entry.has_period) {
    out += ' ';
    append_fixed(out, entry.epoch_e4, 4, epoch_width);      // 126-137
    append_fixed(out, entry.period_e10, 10, period_width);  // 138-154
  }
  trim_trailing_blanks(out, start);
}

void write_vsx(const Series& series, std::ostream& out) {
  std::string buffer;
  buffer.reserve(flush_size + 256);
  for (const VsxEntry& entry : series.vsx) {
    append_vsx_line(buffer, entry);
    buffer += '\n';
    if (buffer.size() >= flush_size) {
      out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      buffer.clear();
    }
  }
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}

}  // namespace varisift::simulate
