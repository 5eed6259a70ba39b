// The lines of one photometry table, collected while the log is scanned and
// turned into the image's measurements and sums when the table ends. The
// numbers of the lines are read on both cores of the machine when the table
// is large; every line's values and the sums are the same either way.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "store/observation_store.h"

namespace varisift {

class PhotometryTable {
 public:
  void clear();
  // Keeps the part of a (right-trimmed) measurement line that is ever read.
  void add_line(std::string_view line);
  std::size_t size() const { return line_start_.size(); }

  // Replaces the image's measurements, texts and sums with this table's,
  // and with keep_snr its SNR column.
  void store_into(Image& image, bool keep_snr);

 private:
  // Parses lines [begin, end) into the image's slots, adding to sums.
  void parse_range(Image& image, std::size_t begin, std::size_t end, ImageSums& sums, bool keep_snr) const;

  std::vector<char> bytes_;
  std::vector<std::uint32_t> line_start_;  // offsets into bytes_; one more at the end
};

}  // namespace varisift
