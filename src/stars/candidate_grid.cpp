// The candidate grid: its shape from a sample of boxes, built by counting
// the candidates of each cell and then placing them.
#include "stars/candidate_grid.h"

#include <algorithm>

namespace varisift {

namespace {
// A box whose cells hold more candidates than this many per later image
// (plus the slack) is declined.
constexpr std::int64_t max_candidates_per_image = 64;
constexpr std::int64_t crowd_slack = 256;
// Measurements whose boxes and positions shape the grid.
constexpr std::size_t shape_sample = 256;
// Cells are about this many typical box half-widths wide.
constexpr std::int64_t half_widths_per_cell = 4;
// The table has at most this many cells per candidate (and at least one).
constexpr std::int64_t cells_per_candidate = 2;
// Widest cell side and widest table side, in bits.
constexpr int max_cell_bits = 40;
constexpr int max_table_bits = 24;

int bits_at_least(std::int64_t wanted, int most) {
  int bits = 0;
  while (bits < most && (std::int64_t{1} << bits) < wanted) ++bits;
  return bits;
}

std::int64_t median(std::vector<std::int64_t>& values) {
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// The measurements of the sample: about shape_sample, evenly spread over
// the candidates, those with an empty box left out.
std::vector<const Measurement*> sample_of(const ObservationStore& store, std::size_t candidates) {
  std::size_t stride = std::max<std::size_t>(1, candidates / shape_sample);
  std::vector<const Measurement*> sample;
  // Every stride-th candidate, counted across the images.
  std::size_t k = 0;
  for (std::size_t position = 2; position <= store.image_count(); ++position) {
    const std::vector<Measurement>& meas = store.image_at(position).meas;
    for (; k < meas.size(); k += stride)
      if (meas[k].fwhm != 0) sample.push_back(&meas[k]);
    k -= meas.size();
  }
  return sample;
}

}  // namespace

CandidateGrid::CandidateGrid(const ObservationStore& store) {
  std::size_t n = store.image_count();
  later_images_ = n > 1 ? static_cast<std::int64_t>(n - 1) : 0;
  measurements_.assign(n + 1, nullptr);
  std::size_t candidates = 0;
  for (std::size_t position = 2; position <= n; ++position) {
    measurements_[position] = store.image_at(position).meas.data();
    candidates += store.image_at(position).meas.size();
  }

  // Cells about half_widths_per_cell median half-widths wide; a table as
  // large as the sample's extent with a cell to spare on each side, or
  // smaller where there are few candidates (more positions then share a cell).
  std::vector<const Measurement*> sample = sample_of(store, candidates);
  int column_bits = 0, row_bits = 0;
  if (!sample.empty()) {
    std::vector<std::int64_t> ra_windows, dec_windows;
    std::int64_t ra_min = sample[0]->ra, ra_max = ra_min, dec_min = sample[0]->dec, dec_max = dec_min;
    for (const Measurement* meas : sample) {
      SearchBox box = search_box(*meas, store.parameters.fwhm_divisor);
      ra_windows.push_back(box.ra_window);
      dec_windows.push_back(box.dec_window);
      ra_min = std::min<std::int64_t>(ra_min, meas->ra);
      ra_max = std::max<std::int64_t>(ra_max, meas->ra);
      dec_min = std::min<std::int64_t>(dec_min, meas->dec);
      dec_max = std::max<std::int64_t>(dec_max, meas->dec);
    }
    ra_shift_ = bits_at_least(half_widths_per_cell * median(ra_windows), max_cell_bits);
    dec_shift_ = bits_at_least(half_widths_per_cell * median(dec_windows), max_cell_bits);
    column_bits = bits_at_least(((ra_max - ra_min) >> ra_shift_) + 3, max_table_bits);
    row_bits = bits_at_least(((dec_max - dec_min) >> dec_shift_) + 3, max_table_bits);
  }
  std::int64_t max_cells = cells_per_candidate * static_cast<std::int64_t>(candidates) + 1;
  while ((std::int64_t{1} << (column_bits + row_bits)) > max_cells) {
    if (column_bits >= row_bits)
      --column_bits;
    else
      --row_bits;
  }
  columns_ = std::int64_t{1} << column_bits;
  rows_ = std::int64_t{1} << row_bits;

  // Counted per cell, then placed.
  std::size_t cells = static_cast<std::size_t>(columns_ * rows_);
  cell_start_.assign(cells + 1, 0);
  auto cell_of_meas = [&](const Measurement& meas) { return cell_of(meas.ra >> ra_shift_, meas.dec >> dec_shift_); };
  for (std::size_t position = 2; position <= n; ++position)
    for (const Measurement& meas : store.image_at(position).meas) ++cell_start_[cell_of_meas(meas) + 1];
  for (std::size_t c = 0; c < cells; ++c) cell_start_[c + 1] += cell_start_[c];
  keys_.resize(candidates);
  std::vector<std::uint32_t> fill(cell_start_.begin(), cell_start_.end() - 1);
  for (std::size_t position = 2; position <= n; ++position) {
    const Image& image = store.image_at(position);
    for (std::uint32_t m = 1; m <= image.meas_count(); ++m)
      keys_[fill[cell_of_meas(image.measurement(m))]++] = static_cast<Key>(position << 16 | m);
  }
}

bool CandidateGrid::first_free(const OpenBox& box, std::size_t after, FirstFreeByImage& by_image,
                               std::uint64_t& box_tests) const {
  if (keys_.empty()) return true;
  // Cell coordinates holding values strictly inside the open intervals.
  // (An arithmetic right shift rounds toward minus infinity.)
  std::int64_t x0 = (box.ra_low + 1) >> ra_shift_;
  std::int64_t x1 = (box.ra_high - 1) >> ra_shift_;
  std::int64_t y0 = (box.dec_low + 1) >> dec_shift_;
  std::int64_t y1 = (box.dec_high - 1) >> dec_shift_;
  if (x0 > x1 || y0 > y1) return true;
  // Every row of the table at most once. A box is at most 2 x 2550
  // hundredths of an arcsecond high and a row at least 64 (four typical
  // half-widths of 10 or more), so this is at most about 80 rows; the
  // columns of a row cost the same however many they are.
  std::int64_t rows = std::min(y1 - y0 + 1, rows_);
  // The box's columns of a row are neighbouring cells, so their keys lie
  // together: one span of columns, or two where they wrap past the table's
  // edge ([from, last column] and [0, to]).
  std::int64_t from = x0 & (columns_ - 1), to = x1 & (columns_ - 1);
  if (x1 - x0 + 1 >= columns_) {
    from = 0;
    to = columns_ - 1;
  }
  int span_count = from <= to ? 1 : 2;
  std::int64_t spans[2][2] = {{from, span_count == 1 ? to : columns_ - 1}, {0, to}};
  auto span_begin = [&](std::int64_t y, int s) { return cell_start_[cell_of(spans[s][0], y)]; };
  auto span_end = [&](std::int64_t y, int s) { return cell_start_[cell_of(spans[s][1], y) + 1]; };

  std::int64_t covered = 0;
  for (std::int64_t y = y0; y < y0 + rows; ++y)
    for (int s = 0; s < span_count; ++s) covered += span_end(y, s) - span_begin(y, s);
  if (covered > max_candidates_per_image * later_images_ + crowd_slack) return false;
  box_tests += static_cast<std::uint64_t>(covered);

  Key lowest = static_cast<Key>((after + 1) << 16);
  for (std::int64_t y = y0; y < y0 + rows; ++y) {
    for (int s = 0; s < span_count; ++s) {
      std::uint32_t end = span_end(y, s);
      for (std::uint32_t k = span_begin(y, s); k < end; ++k) {
        Key key = keys_[k];
        if (key < lowest) continue;
        std::size_t position = key >> 16;
        std::uint16_t m = static_cast<std::uint16_t>(key & 0xFFFF);
        const Measurement& candidate = measurements_[position][m - 1];
        if (!candidate.free || !box.holds(candidate)) continue;
        if (!by_image.found[position] || m < by_image.first[position]) by_image.first[position] = m;
        by_image.found[position] = true;
      }
    }
  }
  return true;
}

}  // namespace varisift
