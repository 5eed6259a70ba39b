// Loading vsx.dat: fixed columns, entries flagged "2" left out. The file is
// read in blocks of whole lines whose two halves are parsed on two cores;
// the entries are added in file order, so the catalogue is the same either
// way.
#include "store/vsx_catalogue.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>

#include "base/parameters.h"
#include "io/block_reader.h"
#include "io/helper_thread.h"
#include "io/input_files.h"
#include "io/report_channel.h"
#include "store/sky_units.h"
#include "text/column_number.h"
#include "text/number_text.h"
#include "text/text.h"

namespace varisift {

namespace {

// A catalogue entry whose flag column holds this is not loaded.
constexpr char skipped_flag = '2';
// A typical catalogue line is longer than this; the estimate only reserves room.
constexpr std::uintmax_t short_line_bytes = 100;

// One catalogue line read: its entry and where its name stands in the line.
struct ParsedLine {
  VsxEntry entry;
  std::uint32_t name_start = 0;  // offset of the trimmed name in the line
  bool loaded = false;
};

ParsedLine parse_line(std::string_view line) {
  using C = VsxColumns;
  ParsedLine parsed;
  if (line.size() >= C::flag_column && line[C::flag_column - 1] == skipped_flag) return parsed;
  parsed.loaded = true;
  VsxEntry& entry = parsed.entry;
  entry.id = round_to_s32(column_number(line, C::id_start, C::id_width));
  std::string_view name = trim_text(line_columns(line, C::name_start, C::name_width));
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

void append(VsxCatalogue& catalogue, const ParsedLine& parsed, std::string_view line) {
  if (!parsed.loaded) return;
  VsxEntry entry = parsed.entry;
  entry.name_offset = static_cast<std::uint32_t>(catalogue.names.size());
  const char* name = line.data() + parsed.name_start;
  catalogue.names.insert(catalogue.names.end(), name, name + entry.name_length);
  catalogue.entries.push_back(entry);
}

// The entries of a part of a block of whole lines, in line order.
void parse_lines(std::string_view text, std::vector<ParsedLine>& parsed, std::vector<std::string_view>& lines) {
  parsed.clear();
  lines.clear();
  while (!text.empty()) {
    std::string_view line = next_line(text);
    lines.push_back(line);
    parsed.push_back(parse_line(line));
  }
}

void append_lines(VsxCatalogue& catalogue, const std::vector<ParsedLine>& parsed,
                  const std::vector<std::string_view>& lines) {
  for (std::size_t k = 0; k < parsed.size(); ++k) append(catalogue, parsed[k], lines[k]);
}

// Reads the catalogue in blocks of whole lines. On a machine with a second
// core, the second half of each block is split and parsed there while the
// first half is parsed here; the entries are added in file order.
void load_lines(VsxCatalogue& catalogue, BlockReader& reader) {
  bool two_cores = std::thread::hardware_concurrency() > 1;
  std::vector<ParsedLine> parsed[2];
  std::vector<std::string_view> lines[2];
  std::string_view block;
  while (reader.next_block(block)) {
    std::size_t middle = two_cores ? next_line_start(block, block.size() / 2) : block.size();
    std::string_view first = block.substr(0, middle);
    std::string_view second = block.substr(middle);
    std::thread worker;
    if (!second.empty()) worker = start_helper_thread([&] { parse_lines(second, parsed[1], lines[1]); });
    parse_lines(first, parsed[0], lines[0]);
    if (worker.joinable())
      worker.join();
    else if (!second.empty())
      parse_lines(second, parsed[1], lines[1]);
    append_lines(catalogue, parsed[0], lines[0]);
    if (!second.empty()) append_lines(catalogue, parsed[1], lines[1]);
  }
}

}  // namespace

void add_vsx_line(VsxCatalogue& catalogue, std::string_view line) { append(catalogue, parse_line(line), line); }

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
  // Room for the entries of a catalogue of this size, so that the tables do
  // not move while they grow. Room that stays unused is never touched, so it
  // takes no memory.
  std::error_code ec;
  std::uintmax_t file_size = std::filesystem::file_size(catalogue_file_name, ec);
  if (!ec) {
    catalogue.entries.reserve(static_cast<std::size_t>(file_size / short_line_bytes));
    catalogue.names.reserve(static_cast<std::size_t>(file_size / 4));
  }
  BlockReader reader(opened.file);
  load_lines(catalogue, reader);
  std::fclose(opened.file);
  out.write_text(Destination::console, "number of VSX stars: ");
  out.write_plain(Destination::console, catalogue.count(), PlainKind::U32);
  out.end_line(Destination::console);
  return true;
}

}  // namespace varisift
