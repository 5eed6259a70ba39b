// Loading vsx.dat: fixed columns, entries flagged "2" left out. Lines are
// read in batches, and while one batch is read the previous one is parsed on
// the second core; the entries are added in file order, so the catalogue is
// the same either way.
#include "store/vsx_catalogue.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>
#include <thread>

#include "run/column_number.h"
#include "run/input_files.h"
#include "run/line_reader.h"
#include "run/number_text.h"
#include "run/parameters.h"
#include "run/report_channel.h"
#include "run/text.h"

namespace varisift {

namespace {

// A catalogue entry whose flag column holds this is not loaded.
constexpr char skipped_flag = '2';
constexpr double centiarcsec_per_degree = 360000.0;
// The last column of a catalogue line that is read (the magnitude).
constexpr std::size_t last_read_column = VsxColumns::mag_start + VsxColumns::mag_width - 1;
// Lines per batch.
constexpr std::size_t batch_lines = 1 << 16;
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
  parsed.name_start = static_cast<std::uint32_t>(name.data() - line.data());
  entry.name_length = static_cast<std::uint8_t>(name.size());
  // Degrees / 15 x 3600000, evaluated in that order.
  entry.ra = round_to_s32(column_number(line, C::ra_start, C::ra_width) / 15.0 * 3600000.0);
  entry.dec = round_to_s32(column_number(line, C::dec_start, C::dec_width) * centiarcsec_per_degree);
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

// Lines collected for one batch, cut after the last column that is read.
class LineBatch {
 public:
  void add(std::string_view line) {
    start_.push_back(bytes_.size());
    std::size_t kept = std::min(line.size(), last_read_column);
    bytes_.insert(bytes_.end(), line.begin(), line.begin() + static_cast<std::ptrdiff_t>(kept));
  }
  std::size_t size() const { return start_.size(); }
  std::string_view line(std::size_t k) const {
    std::size_t end = k + 1 < start_.size() ? start_[k + 1] : bytes_.size();
    return {bytes_.data() + start_[k], end - start_[k]};
  }
  void clear() {
    bytes_.clear();
    start_.clear();
  }

 private:
  std::vector<char> bytes_;
  std::vector<std::size_t> start_;
};

void parse_batch(const LineBatch& batch, std::vector<ParsedLine>& parsed) {
  parsed.resize(batch.size());
  for (std::size_t k = 0; k < batch.size(); ++k) parsed[k] = parse_line(batch.line(k));
}

void append_batch(VsxCatalogue& catalogue, const LineBatch& batch, const std::vector<ParsedLine>& parsed) {
  for (std::size_t k = 0; k < batch.size(); ++k) append(catalogue, parsed[k], batch.line(k));
}

// Reads the catalogue lines in batches. On a machine with a second core,
// one batch is parsed there while the next one is read here; batches are
// added in file order.
void load_lines(VsxCatalogue& catalogue, LineReader& reader) {
  LineBatch batches[2];
  std::vector<ParsedLine> parsed[2];
  std::thread worker;
  bool use_worker = std::thread::hardware_concurrency() > 1;
  int filling = 0;
  bool worker_busy = false;
  auto finish_worker = [&] {
    if (!worker_busy) return;
    worker.join();
    worker_busy = false;
    append_batch(catalogue, batches[1 - filling], parsed[1 - filling]);
  };
  while (!reader.at_end()) {
    batches[filling].add(reader.read_line());
    if (batches[filling].size() < batch_lines) continue;
    finish_worker();
    if (use_worker) {
      worker = std::thread(parse_batch, std::cref(batches[filling]), std::ref(parsed[filling]));
      worker_busy = true;
    } else {
      parse_batch(batches[filling], parsed[filling]);
      append_batch(catalogue, batches[filling], parsed[filling]);
    }
    filling = 1 - filling;
    batches[filling].clear();
  }
  finish_worker();
  parse_batch(batches[filling], parsed[filling]);
  append_batch(catalogue, batches[filling], parsed[filling]);
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
  // not move while they grow.
  std::error_code ec;
  std::uintmax_t file_size = std::filesystem::file_size(catalogue_file_name, ec);
  if (!ec) {
    catalogue.entries.reserve(static_cast<std::size_t>(file_size / short_line_bytes));
    catalogue.names.reserve(static_cast<std::size_t>(file_size / 4));
  }
  LineReader reader(opened.file);
  load_lines(catalogue, reader);
  std::fclose(opened.file);
  catalogue.entries.shrink_to_fit();
  catalogue.names.shrink_to_fit();
  out.write_text(Destination::console, "number of VSX stars: ");
  out.write_plain(Destination::console, catalogue.count(), PlainKind::U32);
  out.end_line(Destination::console);
  return true;
}

}  // namespace varisift
