// Fuzz target: arbitrary bytes as vsx.dat, one add_vsx_line per line as the
// catalogue reader does it. Checks that every line except those flagged "2"
// adds one entry with a trimmed name of at most 30 characters, and that the
// declination index finds the same first match as a scan of the whole
// catalogue, for windows around every entry's own position.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "detect/vsx_match.h"
#include "fuzz_support.h"
#include "io/line_reader.h"
#include "store/vsx_catalogue.h"
#include "text/text.h"

namespace {
constexpr std::size_t max_input = 64 * 1024;
constexpr std::size_t max_match_checks = 64;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::check;
  if (size > max_input) return 0;
  fuzz::MemoryFile file(data, size);
  varisift::LineReader reader(file.get());
  varisift::VsxCatalogue catalogue;
  std::size_t expected = 0;
  while (!reader.at_end()) {
    std::string_view line = reader.read_line();
    if (varisift::mid_text(line, varisift::VsxColumns::flag_column, 1) != "2") ++expected;
    varisift::add_vsx_line(catalogue, line);
  }
  check(catalogue.count() == expected, "one entry per line not flagged 2");
  for (const varisift::VsxEntry& e : catalogue.entries) {
    std::string_view name = catalogue.name(e);
    check(name.size() <= varisift::VsxColumns::name_width, "name within its columns");
    check(varisift::trim_text(name) == name, "name trimmed");
  }

  varisift::VsxIndex index;
  index.build(catalogue);
  std::size_t checks = 0;
  for (const varisift::VsxEntry& e : catalogue.entries) {
    if (++checks > max_match_checks) break;
    // The FWHM of a results row is at most 255 tenths; vary it with the entry.
    std::uint16_t fwhm = static_cast<std::uint16_t>(static_cast<std::uint32_t>(e.id) & 0xffu);
    for (std::int64_t shift : {0, 1, -7, 250}) {
      std::int64_t ra = static_cast<std::int64_t>(e.ra) + shift * 13;
      std::int64_t dec = static_cast<std::int64_t>(e.dec) - shift;
      std::uint32_t indexed = fwhm == 0 ? 0 : index.first_match(catalogue, ra, dec, fwhm);
      std::uint32_t scanned = fwhm == 0 ? 0 : varisift::first_match_by_scan(catalogue, ra, dec, fwhm);
      check(indexed == scanned, "indexed catalogue match equals the scan");
    }
  }
  return 0;
}
