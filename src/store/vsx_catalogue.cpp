// Loading vsx.dat: fixed columns, entries flagged "2" left out.
#include "store/vsx_catalogue.h"

#include <cstdio>

#include "run/input_files.h"
#include "run/line_reader.h"
#include "run/number_text.h"
#include "run/parameters.h"
#include "run/report_channel.h"
#include "run/text.h"

namespace varisift {

namespace {
// A catalogue entry whose flag column holds this is not loaded.
constexpr std::string_view skipped_flag = "2";
constexpr double centiarcsec_per_degree = 360000.0;

double column_number(std::string_view line, int start, int width) {
  return text_to_number(mid_text(line, start, width));
}
}  // namespace

void add_vsx_line(VsxCatalogue& catalogue, std::string_view line) {
  using C = VsxColumns;
  if (mid_text(line, C::flag_column, 1) == skipped_flag) return;
  VsxEntry entry;
  entry.id = round_to_s32(column_number(line, C::id_start, C::id_width));
  std::string_view name = trim_text(mid_text(line, C::name_start, C::name_width));
  entry.name_offset = static_cast<std::uint32_t>(catalogue.names.size());
  entry.name_length = static_cast<std::uint8_t>(name.size());
  catalogue.names.insert(catalogue.names.end(), name.begin(), name.end());
  // Degrees / 15 x 3600000, evaluated in that order.
  entry.ra = round_to_s32(column_number(line, C::ra_start, C::ra_width) / 15.0 * 3600000.0);
  entry.dec = round_to_s32(column_number(line, C::dec_start, C::dec_width) * centiarcsec_per_degree);
  entry.mag = round_to_s16(column_number(line, C::mag_start, C::mag_width) * 100.0);
  catalogue.entries.push_back(entry);
}

bool read_vsx_catalogue(VsxCatalogue& catalogue, ReportChannel& out) {
  OpenResult opened = open_for_reading(catalogue_file_name);
  if (opened.file == nullptr) {
    if (opened.error_code == open_error_cannot_open) return true;
    out.write_text(Destination::console, "Error ");
    out.write_plain(Destination::console, opened.error_code, PlainKind::U8);
    out.write_text(Destination::console, " during open of ");
    out.write_line(Destination::console, catalogue_file_name);
    return false;
  }
  out.write_text(Destination::console, "Reading VSX catalog...");
  out.flush();
  LineReader reader(opened.file);
  while (!reader.at_end()) add_vsx_line(catalogue, reader.read_line());
  std::fclose(opened.file);
  catalogue.entries.shrink_to_fit();
  catalogue.names.shrink_to_fit();
  out.write_text(Destination::console, "number of VSX stars: ");
  out.write_plain(Destination::console, catalogue.count(), PlainKind::U32);
  out.end_line(Destination::console);
  return true;
}

}  // namespace varisift
