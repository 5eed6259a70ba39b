// Loading the catalogue. The file is read in blocks of whole lines whose two
// halves are parsed on two threads; the entries are added in file order, so
// the catalogue is the same either way.
#include "store/vsx_reader.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "base/parameters.h"
#include "io/block_reader.h"
#include "io/file_names.h"
#include "io/gzip_source.h"
#include "io/helper_thread.h"
#include "io/input_files.h"
#include "text/number_format.h"

namespace varisift {

namespace {

// A typical catalogue line is longer than this; the estimate only reserves room.
constexpr std::uintmax_t short_line_bytes = 100;

// The entries of a part of a block of whole lines, in line order.
void parse_lines(std::string_view text, std::vector<VsxLine>& parsed, std::vector<std::string_view>& lines) {
  parsed.clear();
  lines.clear();
  while (!text.empty()) {
    std::string_view line = next_line(text);
    lines.push_back(line);
    parsed.push_back(parse_vsx_line(line));
  }
}

void append_lines(VsxCatalogue& catalogue, const std::vector<VsxLine>& parsed,
                  const std::vector<std::string_view>& lines) {
  for (std::size_t k = 0; k < parsed.size(); ++k) add_parsed_vsx_line(catalogue, parsed[k], lines[k]);
}

// Limits no real catalogue comes near (today's has about 2.4 million
// entries in about 320 MB): beyond them a file is damaged or crafted, and a
// few megabytes of gzip data must not take the machine's memory.
constexpr std::uint64_t max_text_bytes = std::uint64_t{4} << 30;
constexpr std::uint32_t max_entries = 50000000;

// What stopped the reading of a catalogue before its end.
enum class Fault { none, device, damaged, too_much_text, too_many_entries, line_too_long };

struct LoadResult {
  Fault fault = Fault::none;
  std::string text;  // what is wrong, as a message continues "vsx.dat ..."
};

LoadResult fault_of(Fault fault) {
  switch (fault) {
    case Fault::none:
      return {};
    case Fault::device:
      return {fault, "cannot be read"};
    case Fault::damaged:
      return {fault, "is damaged"};
    case Fault::too_much_text:
      return {fault, "holds more than 4 GiB of text"};
    case Fault::too_many_entries:
      return {fault, "holds more than " + std::to_string(max_entries) + " entries"};
    case Fault::line_too_long:
      return {fault, "holds a line of 16 MiB or more"};
  }
  return {};
}

// Reads the catalogue in blocks of whole lines, up to the limits. On a
// machine with a second core, the second half of each block is split and
// parsed there while the first half is parsed here; the entries are added in
// file order.
Fault load_lines(VsxCatalogue& catalogue, BlockReader& reader) {
  bool two_cores = std::thread::hardware_concurrency() > 1;
  std::vector<VsxLine> parsed[2];
  std::vector<std::string_view> lines[2];
  std::string_view block;
  std::uint64_t text_bytes = 0;
  while (reader.next_block(block)) {
    text_bytes += block.size();
    if (text_bytes > max_text_bytes) return Fault::too_much_text;
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
    if (catalogue.count() > max_entries) return Fault::too_many_entries;
  }
  return reader.line_too_long() ? Fault::line_too_long : Fault::none;
}

// Room for the entries of a catalogue of this many bytes, so that the tables
// do not move while they grow. Room that stays unused is never touched, so it
// takes no memory.
void reserve_for_size(VsxCatalogue& catalogue, const std::string& path) {
  std::error_code ec;
  std::uintmax_t file_size = std::filesystem::file_size(path_of(path), ec);
  if (ec) return;
  catalogue.entries.reserve(static_cast<std::size_t>(file_size / short_line_bytes));
  catalogue.names.reserve(static_cast<std::size_t>(file_size / 4));
}

// Reads every line of an open catalogue file and closes it: decompressed
// when its bytes begin with the gzip signature, whatever its name.
LoadResult load_open_file(VsxCatalogue& catalogue, std::FILE* file, const std::string& path) {
  if (!starts_with_gzip_signature(file)) {
    reserve_for_size(catalogue, path);
    FileSource source(file);
    BlockReader reader(source);
    Fault fault = load_lines(catalogue, reader);
    if (fault == Fault::none && source.failed()) fault = Fault::device;
    std::fclose(file);
    return fault_of(fault);
  }
  std::fclose(file);
  std::string error;
  std::unique_ptr<GzipSource> source = GzipSource::open(path, error);
  if (!source) return {Fault::damaged, error};
  BlockReader reader(*source);
  Fault fault = load_lines(catalogue, reader);
  if (fault == Fault::none && source->failed()) return {Fault::damaged, source->error()};
  return fault_of(fault);
}

}  // namespace

bool read_vsx_beside_log(VsxCatalogue& catalogue, const std::string& path, ReportChannel& out) {
  OpenResult opened = open_for_reading(path);
  if (opened.file == nullptr) {
    if (opened.error_code == open_error_cannot_open) return true;
    out.write_line(Destination::console, open_error_line(opened.error_code, catalogue_file_name));
    return false;
  }
  out.write_text(Destination::console, vsx_progress_text);
  out.flush();
  LoadResult loaded = load_open_file(catalogue, opened.file, path);
  // A plain file the device stops delivering is read as far as it goes.
  if (loaded.fault != Fault::none && loaded.fault != Fault::device) {
    out.write_line(Destination::console, std::string(catalogue_file_name) + " " + loaded.text);
    return false;
  }
  out.write_line(Destination::console, vsx_count_text(catalogue));
  return true;
}

std::string load_vsx_file(VsxCatalogue& catalogue, const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path_of(path), ec)) return "is a folder";
  OpenResult opened = open_for_reading(path);
  if (opened.file == nullptr) return "cannot be opened";
  if (std::string_view(path).ends_with(compressed_suffix) && !starts_with_gzip_signature(opened.file)) {
    std::fclose(opened.file);
    return "is no gzip file";
  }
  return load_open_file(catalogue, opened.file, path).text;
}

std::string vsx_count_text(const VsxCatalogue& catalogue) {
  std::string line = "number of VSX stars: ";
  append_plain(line, catalogue.count(), PlainKind::U32);
  return line;
}

}  // namespace varisift
