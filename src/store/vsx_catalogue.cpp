// The columns of a catalogue line and the entry they make.
#include "store/vsx_catalogue.h"

#include "store/sky_units.h"
#include "text/column_number.h"
#include "text/number_text.h"
#include "text/text.h"

namespace varisift {

namespace {
// A catalogue entry whose flag column holds this is not loaded.
constexpr char skipped_flag = '2';
}  // namespace

VsxLine parse_vsx_line(std::string_view line) {
  using C = VsxColumns;
  VsxLine parsed;
  if (line.size() >= C::flag_column && line[C::flag_column - 1] == skipped_flag) return parsed;
  parsed.loaded = true;
  VsxEntry& entry = parsed.entry;
  entry.id = round_to_s32(column_number(line, C::id_start, C::id_width));
  std::string_view name = trim_text(mid_text(line, C::name_start, C::name_width));
  // A line that ends before the name columns has no name, and its empty view
  // points nowhere inside the line.
  parsed.name_start = name.empty() ? 0 : static_cast<std::uint32_t>(name.data() - line.data());
  entry.name_length = static_cast<std::uint8_t>(name.size());
  // Degrees / 15 x 3600000, evaluated in that order.
  entry.ra = round_to_s32(column_number(line, C::ra_start, C::ra_width) / 15.0 * 3600000.0);
  entry.dec =
      round_to_s32(column_number(line, C::dec_start, C::dec_width) * static_cast<double>(centiarcsec_per_degree));
  entry.mag = round_to_s16(column_number(line, C::mag_start, C::mag_width) * 100.0);
  return parsed;
}

void add_parsed_vsx_line(VsxCatalogue& catalogue, const VsxLine& parsed, std::string_view line) {
  if (!parsed.loaded) return;
  VsxEntry entry = parsed.entry;
  entry.name_offset = static_cast<std::uint32_t>(catalogue.names.size());
  const char* name = line.data() + parsed.name_start;
  catalogue.names.insert(catalogue.names.end(), name, name + entry.name_length);
  catalogue.entries.push_back(entry);
}

void add_vsx_line(VsxCatalogue& catalogue, std::string_view line) {
  add_parsed_vsx_line(catalogue, parse_vsx_line(line), line);
}

}  // namespace varisift
