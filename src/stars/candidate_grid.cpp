// The grid over a run of images: built by counting the measurements of each
// cell, then placing them.
#include "stars/candidate_grid.h"

#include <algorithm>

#include "stars/search_box.h"

namespace varisift {

namespace {
// A box spanning more rows of cells than this is refused.
constexpr std::int64_t max_rows_per_box = 256;
// A box whose cells hold more measurements than this many per image of the
// grid (plus the slack) is refused: the images' own indexes answer it faster.
constexpr std::int64_t max_points_per_image = 16;
constexpr std::int64_t crowd_slack = 64;
// Measurements whose boxes and positions shape the grid.
constexpr std::size_t grid_shape_sample = 256;
// Cells are about this many median box half-widths wide.
constexpr std::int64_t half_widths_per_cell = 4;
// The table has at most this many cells per measurement (and at least one).
constexpr std::int64_t cells_per_point = 2;
// Widest table side, in bits.
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

// Cell sides about twice the median full box of a sample of the run's
// measurements, and a table about as large as the sample's extent.
GridShape typical_grid_shape(const ObservationStore& store, std::size_t first, std::size_t last) {
  std::size_t total = 0;
  for (std::size_t position = first; position <= last; ++position)
    total += store.images[store.image_order[position]].meas.size();
  std::size_t stride = std::max<std::size_t>(1, total / grid_shape_sample);
  std::vector<std::int64_t> ra_windows, dec_windows;
  std::int64_t ra_min = 0, ra_max = 0, dec_min = 0, dec_max = 0;
  // Every stride-th measurement, counted across the images.
  std::size_t skip = 0;
  for (std::size_t position = first; position <= last; ++position) {
    const std::vector<Measurement>& meas = store.images[store.image_order[position]].meas;
    std::size_t k = skip;
    for (; k < meas.size(); k += stride) {
      SearchBox box = search_box(meas[k], store.parameters.fwhm_divisor);
      if (box.ra_window <= 0 || box.dec_window <= 0) continue;
      if (ra_windows.empty()) {
        ra_min = ra_max = meas[k].ra;
        dec_min = dec_max = meas[k].dec;
      }
      ra_min = std::min<std::int64_t>(ra_min, meas[k].ra);
      ra_max = std::max<std::int64_t>(ra_max, meas[k].ra);
      dec_min = std::min<std::int64_t>(dec_min, meas[k].dec);
      dec_max = std::max<std::int64_t>(dec_max, meas[k].dec);
      ra_windows.push_back(box.ra_window);
      dec_windows.push_back(box.dec_window);
    }
    skip = k - meas.size();
  }
  GridShape shape;
  if (ra_windows.empty()) return shape;
  shape.ra_shift = bits_at_least(half_widths_per_cell * median(ra_windows), 40);
  shape.dec_shift = bits_at_least(half_widths_per_cell * median(dec_windows), 40);
  // The sample's extent in cells, with a cell to spare on each side.
  shape.column_bits = bits_at_least(((ra_max - ra_min) >> shape.ra_shift) + 3, max_table_bits);
  shape.row_bits = bits_at_least(((dec_max - dec_min) >> shape.dec_shift) + 3, max_table_bits);
  return shape;
}

}  // namespace

void CandidateGrid::build(const ObservationStore& store, std::size_t first, std::size_t last) {
  std::size_t count = 0;
  for (std::size_t position = first; position <= last; ++position)
    count += store.images[store.image_order[position]].meas.size();
  images_ = last >= first ? static_cast<std::int64_t>(last - first + 1) : 0;
  points_.clear();
  cell_start_.clear();
  if (count == 0) return;

  // A smaller table for fewer measurements: more positions share a cell.
  shape_ = typical_grid_shape(store, first, last);
  std::int64_t max_cells = cells_per_point * static_cast<std::int64_t>(count) + 1;
  while ((std::int64_t{1} << (shape_.column_bits + shape_.row_bits)) > max_cells) {
    if (shape_.column_bits >= shape_.row_bits)
      --shape_.column_bits;
    else
      --shape_.row_bits;
  }
  columns_ = std::int64_t{1} << shape_.column_bits;
  rows_ = std::int64_t{1} << shape_.row_bits;

  std::size_t cells = static_cast<std::size_t>(columns_ * rows_);
  cell_start_.assign(cells + 1, 0);
  auto cell_of_meas = [&](const Measurement& meas) {
    return cell_of(meas.ra >> shape_.ra_shift, meas.dec >> shape_.dec_shift);
  };
  for (std::size_t position = first; position <= last; ++position)
    for (const Measurement& meas : store.images[store.image_order[position]].meas)
      ++cell_start_[cell_of_meas(meas) + 1];
  for (std::size_t c = 0; c < cells; ++c) cell_start_[c + 1] += cell_start_[c];
  points_.resize(count);
  measurements_.assign(last + 1, nullptr);
  for (std::size_t position = first; position <= last; ++position)
    measurements_[position] = store.images[store.image_order[position]].meas.data();
  std::vector<std::uint32_t> fill(cell_start_.begin(), cell_start_.end() - 1);
  for (std::size_t position = first; position <= last; ++position) {
    const Image& image = store.images[store.image_order[position]];
    for (std::uint32_t m = 1; m <= image.meas_count(); ++m) {
      const Measurement& meas = image.measurement(m);
      points_[fill[cell_of_meas(meas)]++] = candidate_key(position, m);
    }
  }
}

bool CandidateGrid::gather_free(const OpenBox& box, std::size_t after, std::vector<CandidateKey>& keys) const {
  keys.clear();
  if (points_.empty()) return true;
  // Cell coordinates holding values strictly inside the open intervals.
  // (An arithmetic right shift rounds toward minus infinity.)
  std::int64_t x0 = (box.ra_low + 1) >> shape_.ra_shift;
  std::int64_t x1 = (box.ra_high - 1) >> shape_.ra_shift;
  std::int64_t y0 = (box.dec_low + 1) >> shape_.dec_shift;
  std::int64_t y1 = (box.dec_high - 1) >> shape_.dec_shift;
  if (x0 > x1 || y0 > y1) return true;
  // Every row and column of the table at most once.
  std::int64_t rows = std::min(y1 - y0 + 1, rows_);
  if (rows > max_rows_per_box) return false;
  // The columns of a row as at most two runs of neighbouring cells.
  std::int64_t column_runs[2][2];
  int run_count = 1;
  if (x1 - x0 + 1 >= columns_) {
    column_runs[0][0] = 0;
    column_runs[0][1] = columns_ - 1;
  } else {
    std::int64_t from = x0 & (columns_ - 1), to = x1 & (columns_ - 1);
    column_runs[0][0] = from;
    column_runs[0][1] = from <= to ? to : columns_ - 1;
    if (from > to) {
      column_runs[1][0] = 0;
      column_runs[1][1] = to;
      run_count = 2;
    }
  }
  auto run_begin = [&](std::int64_t y, int run) { return cell_start_[cell_of(column_runs[run][0], y)]; };
  auto run_end = [&](std::int64_t y, int run) { return cell_start_[cell_of(column_runs[run][1], y) + 1]; };

  std::int64_t inside = 0;
  for (std::int64_t y = y0; y < y0 + rows; ++y)
    for (int run = 0; run < run_count; ++run) inside += run_end(y, run) - run_begin(y, run);
  if (inside > max_points_per_image * images_ + crowd_slack) return false;

  CandidateKey lowest = candidate_key(after + 1, 0);
  for (std::int64_t y = y0; y < y0 + rows; ++y) {
    for (int run = 0; run < run_count; ++run) {
      std::uint32_t end = run_end(y, run);
      for (std::uint32_t pos = run_begin(y, run); pos < end; ++pos) {
        CandidateKey key = points_[pos];
        if (key < lowest) continue;
        const Measurement& p = measurements_[key_position(key)][key_index(key) - 1];
        if (p.free && p.ra > box.ra_low && p.ra < box.ra_high && p.dec > box.dec_low && p.dec < box.dec_high)
          keys.push_back(key);
      }
    }
  }
  return true;
}

}  // namespace varisift
