// The VSX variable-star catalogue: position, magnitude, identifier and name
// of every entry, in file order, and the fixed columns of a catalogue line.
// Names live in one shared buffer so that millions of entries stay small in
// memory.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace varisift {

struct VsxEntry {
  std::int32_t id = 0;   // catalogue identifier
  std::int32_t ra = 0;   // ms of time
  std::int32_t dec = 0;  // 1/100 arcsec, negative south
  std::uint32_t name_offset = 0;
  std::int16_t mag = 0;  // 1/100 mag
  std::uint8_t name_length = 0;
};

struct VsxCatalogue {
  std::vector<VsxEntry> entries;  // index 0 is catalogue entry 1
  std::vector<char> names;

  std::uint32_t count() const { return static_cast<std::uint32_t>(entries.size()); }
  std::string_view name(const VsxEntry& e) const { return {names.data() + e.name_offset, e.name_length}; }
};

// Columns of a catalogue line: the first column (1-based) and the width of
// each field, cut with mid_text.
struct VsxColumns {
  static constexpr int id_start = 1, id_width = 7;
  static constexpr int name_start = 9, name_width = 30;
  static constexpr int flag_column = 40;
  static constexpr int ra_start = 42, ra_width = 9;
  static constexpr int dec_start = 52, dec_width = 9;
  static constexpr int mag_start = 95, mag_width = 6;
};

// One catalogue line read: its entry and where its name stands in the line;
// not loaded when its flag is "2".
struct VsxLine {
  VsxEntry entry;
  std::uint32_t name_start = 0;  // offset of the trimmed name in the line
  bool loaded = false;
};

VsxLine parse_vsx_line(std::string_view line);

// Appends a parsed line's entry (with its name, taken from the line) unless
// it is not loaded.
void add_parsed_vsx_line(VsxCatalogue& catalogue, const VsxLine& parsed, std::string_view line);

// Adds the entry of one catalogue line unless its flag is "2".
void add_vsx_line(VsxCatalogue& catalogue, std::string_view line);

}  // namespace varisift
