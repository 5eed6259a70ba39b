// The photometry of one image; see observe.h.
#include "observe.h"

#include <algorithm>
#include <cmath>

#include "calendar.h"
#include "light_curve.h"
#include "portable_math.h"
#include "random.h"
#include "sky_field.h"
#include "sky_geometry.h"

namespace varisift::simulate {

namespace {

constexpr std::uint64_t table_stream = 0x7AB1E;
constexpr std::uint64_t max_repeats = 64;

// Detector and optics.
constexpr double detector_pixels = 2048.0;
constexpr double detector_center = 1024.0;
constexpr double pixel_microns = 9.0;
constexpr double arcsec_per_radian = 206264.80624709636;
constexpr double radians_per_degree = 0.017453292519943295;
constexpr double min_cos_dec = 1e-6;  // keeps 1 / cos(Dec) finite at the pole
constexpr double clear_zero_point = 28.25;
constexpr double zero_point_sigma = 0.01;

// Signal to noise: SNR = limit_snr * F / sqrt(source_share * F + sky_share)
// with F the flux in units of the flux at the limiting magnitude.
constexpr double limit_snr = 5.0;
constexpr double source_share = 0.3;
constexpr double sky_share = 0.7;
constexpr double magnitude_per_snr = 1.0857;  // 2.5 / ln 10
constexpr double noise_floor_mag = 0.004;
constexpr double cloudy_noise_factor = 1.6;
constexpr double cloudy_scatter_mag = 0.03;
constexpr double random_loss = 0.003;  // star on a bad column, in a satellite trail ...
constexpr double min_dropout_scale = 0.01;
constexpr double max_exponent = 60.0;

constexpr double outlier_min_mag = 0.3;
constexpr double outlier_max_mag = 1.5;

// Positions and shape.
constexpr double position_floor_arcsec = 0.02;
constexpr double position_per_seeing = 0.5;  // times seeing / SNR
constexpr double fwhm_scatter = 0.04;        // relative
constexpr double cosmic_min_fwhm = 0.8;
constexpr double cosmic_max_fwhm = 1.6;
constexpr double cosmic_bright_range = 1.5;  // mag above the limit
constexpr double peak_scatter = 0.05;        // relative
constexpr double rms_base = 0.07;
constexpr double rms_per_inverse_snr = 1.0;
constexpr double rms_scatter = 0.005;
constexpr double cloudy_rms = 0.01;

// What the program leaves out of its fits.
constexpr double astrometry_reject_arcsec = 0.5;
constexpr double photometry_reject_mag = 0.25;
constexpr double astrometry_drop_chance = 0.10;
constexpr double photometry_drop_chance = 0.08;
constexpr double unmatched_min_residual = 0.2;
constexpr double unmatched_max_residual = 3.0;
constexpr double rotation_sigma_deg = 0.03;
constexpr double focal_scatter = 0.0005;      // relative
constexpr double constant_term_sigma = 2e-6;  // radians

// Written ranges.
constexpr int residual_limit = 999;    // +9.99
constexpr int magnitude_limit = 9999;  // 99.99
constexpr int magnitude_floor = -999;  // -9.99
constexpr int fwhm_limit = 999;        // 99.9
constexpr int fwhm_floor = 5;
constexpr std::int32_t flux_limit = 9999999;
constexpr std::int32_t peak_limit = 99999;  // 9999.9
constexpr int rms_limit = 9999;             // 9.999
constexpr int rms_floor = 5;
constexpr double hundredths = 100.0;
constexpr double tenths = 10.0;
constexpr double thousandths = 1000.0;

struct ImageFrame {
  double pixel_scale = 0;  // arcseconds per pixel
  double pointing_xi = 0;  // arcseconds
  double pointing_eta = 0;
  double half_side = 0;  // arcseconds
  bool mirrored = false;
};

double clamp_exp_argument(double x) { return std::clamp(x, -max_exponent, max_exponent); }

double snr_at(double magnitude_above_limit) {
  const double f = portable_pow10(-0.4 * magnitude_above_limit);
  return limit_snr * f / std::sqrt(source_share * f + sky_share);
}

double detection_chance(const SeriesOptions& options, double magnitude_above_limit) {
  const double scale = std::max(options.dropout_width_mag / 4.0, min_dropout_scale);
  return 1.0 / (1.0 + portable_exp(clamp_exp_argument(magnitude_above_limit / scale)));
}

std::int16_t residual_hundredths(double value, bool& minus) {
  minus = value < 0.0;
  const long long v = std::llround(value * hundredths);
  return static_cast<std::int16_t>(std::clamp<long long>(v, -residual_limit, residual_limit));
}

void set_pixel(const ImageFrame& frame, double xi, double eta, Measurement& row) {
  double dx = (xi - frame.pointing_xi) / frame.pixel_scale;
  if (!frame.mirrored) {
    dx = -dx;  // east to the left
  }
  const double x = detector_center + dx;
  const double y = detector_center - (eta - frame.pointing_eta) / frame.pixel_scale;
  row.x_hundredths = static_cast<std::int32_t>(std::llround(x * hundredths));
  row.y_hundredths = static_cast<std::int32_t>(std::llround(y * hundredths));
}

// The numbers that follow from the signal: magnitude, flux, FWHM, SNR, RMS.
void set_photometry(const Image& image, double measured_mag, double snr, double fwhm, Random& random,
                    Measurement& row) {
  const long long mag = std::llround(measured_mag * hundredths);
  row.mag = static_cast<std::int16_t>(std::clamp<long long>(mag, magnitude_floor, magnitude_limit));
  const double flux = portable_pow10(0.4 * (clear_zero_point - measured_mag - image.extinction_mag));
  row.flux = static_cast<std::int32_t>(std::clamp<long long>(std::llround(flux), 1, flux_limit));
  row.fwhm_tenths =
      static_cast<std::int16_t>(std::clamp<long long>(std::llround(fwhm * tenths), fwhm_floor, fwhm_limit));
  const double peak = snr * (1.0 + random.normal(0.0, peak_scatter));
  row.peak_tenths = static_cast<std::int32_t>(std::clamp<long long>(std::llround(peak * tenths), 1, peak_limit));
  double rms = rms_base + rms_per_inverse_snr / snr + random.normal(0.0, rms_scatter);
  if (image.cloudy) {
    rms += cloudy_rms;
  }
  row.rms_thousandths =
      static_cast<std::int16_t>(std::clamp<long long>(std::llround(rms * thousandths), rms_floor, rms_limit));
}

// Residuals of an object that the program could not match to its catalogue.
void set_unmatched_residuals(Random& random, Measurement& row) {
  auto draw = [&random]() {
    const double size = random.uniform(unmatched_min_residual, unmatched_max_residual);
    return random.chance(0.5) ? -size : size;
  };
  row.ra_residual = residual_hundredths(draw(), row.ra_residual_minus);
  row.dec_residual = residual_hundredths(draw(), row.dec_residual_minus);
  row.mag_residual = residual_hundredths(draw(), row.mag_residual_minus);
  row.astrometry_excluded = true;
  row.photometry_excluded = true;
}

bool measure_star(const Series& series, const ImageFrame& frame, const Image& image, int index, const StarPlace& place,
                  double days, Random& random, Measurement& row) {
  const SeriesOptions& options = series.options;
  const SkyObject& star = series.objects[static_cast<std::size_t>(index)];
  const double true_mag = star.mag + variability_offset(star, days);
  const double above_limit = true_mag + image.extinction_mag - options.limit_mag;
  if (!random.chance(detection_chance(options, above_limit)) || random.chance(random_loss)) {
    return false;
  }
  const double snr = snr_at(above_limit);
  double sigma = std::sqrt((magnitude_per_snr / snr) * (magnitude_per_snr / snr) + noise_floor_mag * noise_floor_mag);
  // Under white noise the cloud offsets and the outliers are drawn all the
  // same, so the detections stay those of the realistic series, but only the
  // measurement's own noise is added.
  const bool realistic = options.noise == NoiseModel::realistic;
  double mag = true_mag + image.zero_point_offset_mag + image.nightly_offset_mag;
  if (image.cloudy) {
    sigma *= cloudy_noise_factor;
    const double patchy =
        image.cloud_gradient_mag * place.xi_arcsec / frame.half_side + random.normal(0.0, cloudy_scatter_mag);
    if (realistic) {
      mag += patchy;
    }
  }
  mag += random.normal(0.0, sigma);
  if (random.chance(options.outlier_probability)) {
    const double jump = random.log_uniform(outlier_min_mag, outlier_max_mag);
    const double signed_jump = random.chance(0.5) ? jump : -jump;
    if (realistic) {
      mag += signed_jump;
      row.outlier = true;
    }
  }

  const double position_sigma = position_floor_arcsec + position_per_seeing * image.seeing_arcsec / snr;
  const double dxi = random.normal(0.0, position_sigma);
  const double deta = random.normal(0.0, position_sigma);
  row.ra_ms = ra_ms_of(star.ra_deg + dxi / arcsec_per_degree / place.cos_dec);
  row.dec_cas = dec_cas_of(star.dec_deg + deta / arcsec_per_degree);
  row.ra_residual = residual_hundredths(dxi - star.catalogue_ra_error_arcsec, row.ra_residual_minus);
  row.dec_residual = residual_hundredths(deta - star.catalogue_dec_error_arcsec, row.dec_residual_minus);
  row.mag_residual = residual_hundredths(mag - star.mag - star.catalogue_mag_error, row.mag_residual_minus);
  set_pixel(frame, place.xi_arcsec + dxi, place.eta_arcsec + deta, row);

  // One draw per statement, so that every compiler draws in this order.
  const double seeing_change = random.normal(0.0, fwhm_scatter);
  const double fwhm =
      image.seeing_arcsec * (1.0 + seeing_change) + std::fabs(random.normal(0.0, image.seeing_arcsec / snr));
  set_photometry(image, mag, snr, fwhm, random, row);
  row.object = index;
  return true;
}

bool measure_mover(const Series& series, const ImageFrame& frame, const Image& image, Random& random,
                   Measurement& row) {
  const SeriesOptions& options = series.options;
  double ra = 0;
  double dec = 0;
  moving_object_position(series.mover, image.time_tenths, ra, dec);
  double xi = 0;
  double eta = 0;
  field_offsets(options.center_ra_deg, options.center_dec_deg, ra, dec, xi, eta);
  if (std::fabs(xi) > frame.half_side || std::fabs(eta) > frame.half_side) {
    return false;
  }
  const double above_limit = series.mover.mag + image.extinction_mag - options.limit_mag;
  if (!random.chance(detection_chance(options, above_limit))) {
    return false;
  }
  const double snr = snr_at(above_limit);
  const double mag = series.mover.mag + image.zero_point_offset_mag + image.nightly_offset_mag +
                     random.normal(0.0, magnitude_per_snr / snr);
  row.ra_ms = ra_ms_of(ra);
  row.dec_cas = dec_cas_of(dec);
  set_pixel(frame, xi, eta, row);
  set_unmatched_residuals(random, row);
  const double fwhm = image.seeing_arcsec * (1.0 + random.normal(0.0, fwhm_scatter));
  set_photometry(image, mag, snr, fwhm, random, row);
  row.object = moving_object_row;
  return true;
}

// A cosmic-ray hit or a hot pixel taken for a faint star.
Measurement measure_spurious(const Series& series, const ImageFrame& frame, const Image& image, Random& random) {
  const SeriesOptions& options = series.options;
  Measurement row;
  const double xi = random.uniform(-frame.half_side, frame.half_side);
  const double eta = random.uniform(-frame.half_side, frame.half_side);
  double ra = 0;
  double dec = 0;
  position_at(options.center_ra_deg, options.center_dec_deg, xi, eta, ra, dec);
  row.ra_ms = ra_ms_of(ra);
  row.dec_cas = dec_cas_of(dec);
  set_pixel(frame, xi, eta, row);
  set_unmatched_residuals(random, row);
  const double above_limit = -random.uniform(0.0, cosmic_bright_range);
  const double mag = options.limit_mag - image.extinction_mag + above_limit;
  set_photometry(image, mag, snr_at(above_limit), random.uniform(cosmic_min_fwhm, cosmic_max_fwhm), random, row);
  row.object = spurious_row;
  return row;
}

// Keeps the `limit` brightest rows, in their present order.
void keep_brightest(std::vector<Measurement>& rows, int limit) {
  if (limit < 0 || static_cast<int>(rows.size()) <= limit) {
    return;
  }
  std::vector<std::size_t> order(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
  }
  std::stable_sort(order.begin(), order.end(),
                   [&rows](std::size_t a, std::size_t b) { return rows[a].mag < rows[b].mag; });
  std::vector<char> keep(rows.size(), 0);
  for (int k = 0; k < limit; ++k) {
    keep[order[static_cast<std::size_t>(k)]] = 1;
  }
  std::size_t out = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (keep[i]) {
      rows[out++] = rows[i];
    }
  }
  rows.resize(out);
}

// Marks the reference stars and what the fits left out.
void mark_references(const Series& series, Random& random, std::vector<Measurement>& rows) {
  std::vector<std::size_t> stars;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].object >= 0) {
      stars.push_back(i);
    } else {
      rows[i].astrometry_excluded = true;
      rows[i].photometry_excluded = true;
    }
  }
  auto catalogue_mag = [&series, &rows](std::size_t i) {
    const SkyObject& star = series.objects[static_cast<std::size_t>(rows[i].object)];
    return star.mag + star.catalogue_mag_error;
  };
  std::stable_sort(stars.begin(), stars.end(),
                   [&catalogue_mag](std::size_t a, std::size_t b) { return catalogue_mag(a) < catalogue_mag(b); });
  const std::size_t reference_count =
      std::min(stars.size(), static_cast<std::size_t>(std::max(series.options.reference_stars, 0)));
  for (std::size_t k = 0; k < stars.size(); ++k) {
    Measurement& row = rows[stars[k]];
    row.reference = k < reference_count;
    if (!row.reference) {
      row.astrometry_excluded = true;
      row.photometry_excluded = true;
      continue;
    }
    const double reject = astrometry_reject_arcsec * hundredths;
    row.astrometry_excluded = std::abs(row.ra_residual) > reject || std::abs(row.dec_residual) > reject ||
                              random.chance(astrometry_drop_chance);
    row.photometry_excluded = std::abs(row.mag_residual) > photometry_reject_mag * hundredths || row.outlier ||
                              random.chance(photometry_drop_chance);
  }
}

int rms_of(const std::vector<long long>& values) {
  if (values.empty()) {
    return 0;
  }
  double sum = 0;
  for (long long v : values) {
    sum += static_cast<double>(v) * static_cast<double>(v);
  }
  return static_cast<int>(std::llround(std::sqrt(sum / static_cast<double>(values.size()))));
}

void summarise(PhotometryTable& table) {
  std::vector<long long> ra;
  std::vector<long long> dec;
  std::vector<long long> mag;
  table.astrometry_refs = 0;
  table.photometry_refs = 0;
  for (const Measurement& row : table.rows) {
    if (!row.reference) {
      continue;
    }
    ++table.astrometry_refs;
    ++table.photometry_refs;
    if (!row.astrometry_excluded) {
      ra.push_back(row.ra_residual);
      dec.push_back(row.dec_residual);
    }
    if (!row.photometry_excluded) {
      mag.push_back(row.mag_residual);
    }
  }
  table.astrometry_used = static_cast<int>(ra.size());
  table.photometry_used = static_cast<int>(mag.size());
  table.dra_hundredths = rms_of(ra);
  table.ddec_hundredths = rms_of(dec);
  table.dmag_hundredths = rms_of(mag);
}

Coefficient coefficient_of(double value) {
  Coefficient c;
  constexpr std::uint64_t mantissa_low = 1000000000;
  constexpr std::uint64_t mantissa_high = 10000000000;
  c.negative = value < 0.0;
  const double size = std::fabs(value);
  if (size == 0.0) {
    c.mantissa = 0;
    return c;
  }
  int exponent = static_cast<int>(std::floor(portable_log10(size)));
  double scaled = size / portable_pow10(exponent) * static_cast<double>(mantissa_low);
  auto mantissa = static_cast<std::uint64_t>(std::llround(scaled));
  if (mantissa >= mantissa_high) {
    mantissa = (mantissa + 5) / 10;
    ++exponent;
  } else if (mantissa < mantissa_low) {
    mantissa *= 10;
    --exponent;
  }
  c.mantissa = mantissa;
  c.exponent = exponent;
  return c;
}

// A random higher-order term of the size seen in real fits.
Coefficient small_term(Random& random, int exponent_high) {
  Coefficient c;
  c.negative = random.chance(0.5);
  c.mantissa = 1000000000 + random.below(9000000000ULL);
  c.exponent = exponent_high - static_cast<int>(random.below(2));
  return c;
}

void set_fit(const Series& series, const ImageFrame& frame, const Image& image, Random& random,
             PhotometryTable& table) {
  const SeriesOptions& options = series.options;
  constexpr int quadratic_exponent = -14;
  constexpr int cubic_exponent = -16;
  const double scale = frame.pixel_scale / arcsec_per_radian;
  const double rotation_deg = random.normal(0.0, rotation_sigma_deg);
  const double cross = scale * rotation_deg * radians_per_degree;
  table.x_fit[0] =
      coefficient_of(-image.pointing_ra_arcsec / arcsec_per_radian + random.normal(0.0, constant_term_sigma));
  table.x_fit[1] = coefficient_of(frame.mirrored ? -scale : scale);
  table.x_fit[2] = coefficient_of(-cross);
  table.y_fit[0] =
      coefficient_of(-image.pointing_dec_arcsec / arcsec_per_radian + random.normal(0.0, constant_term_sigma));
  table.y_fit[1] = table.x_fit[2];
  table.y_fit[2] = coefficient_of(-scale);
  for (int term = 3; term < fit_terms; ++term) {
    const int exponent = term < 6 ? quadratic_exponent : cubic_exponent;
    table.x_fit[term] = small_term(random, exponent);
    table.y_fit[term] = small_term(random, exponent);
  }
  double ra = 0;
  double dec = 0;
  position_at(options.center_ra_deg, options.center_dec_deg, image.pointing_ra_arcsec, image.pointing_dec_arcsec, ra,
              dec);
  table.center_ra_centis = static_cast<std::int32_t>(std::llround(wrap_degrees(ra) * ms_of_time_per_degree / tenths) %
                                                     (ms_per_day_of_time / 10));
  table.center_dec_tenths = static_cast<std::int32_t>(std::llround(dec * arcsec_per_degree * tenths));
  const double focal_mm = arcsec_per_radian * pixel_microns / thousandths / frame.pixel_scale;
  table.focal_length_tenths =
      static_cast<int>(std::llround(focal_mm * (1.0 + random.normal(0.0, focal_scatter)) * tenths));
  table.rotation_hundredths = static_cast<int>(std::llround(rotation_deg * hundredths));
  table.zero_point_thousandths = static_cast<int>(
      std::llround((clear_zero_point + random.normal(0.0, zero_point_sigma) - image.extinction_mag) * thousandths));
}

}  // namespace

std::vector<StarPlace> star_places(const SeriesOptions& options, const std::vector<SkyObject>& objects) {
  std::vector<StarPlace> places;
  places.reserve(objects.size());
  for (const SkyObject& star : objects) {
    StarPlace place;
    field_offsets(options.center_ra_deg, options.center_dec_deg, star.ra_deg, star.dec_deg, place.xi_arcsec,
                  place.eta_arcsec);
    place.cos_dec = std::max(portable_cos_deg(star.dec_deg), min_cos_dec);
    places.push_back(place);
  }
  return places;
}

void measure_table(const Series& series, const std::vector<StarPlace>& places, int repeat, PhotometryTable& table) {
  const SeriesOptions& options = series.options;
  const Image& image = series.images[static_cast<std::size_t>(table.image)];
  Random random(stream_seed(options.seed, table_stream + static_cast<std::uint64_t>(table.image) * max_repeats +
                                              static_cast<std::uint64_t>(repeat)));
  ImageFrame frame;
  frame.pixel_scale = options.field_arcmin * 60.0 / detector_pixels;
  frame.pointing_xi = image.pointing_ra_arcsec;
  frame.pointing_eta = image.pointing_dec_arcsec;
  frame.half_side = options.field_arcmin * 60.0 / 2.0;
  frame.mirrored = options.flipped == FlipNote::horizontally;

  const double days = series.images.empty()
                          ? 0.0
                          : static_cast<double>(image.time_tenths - series.images.front().time_tenths) /
                                static_cast<double>(tenths_per_day);
  table.rows.clear();
  table.rows.reserve(series.objects.size() / 2 + 16);
  for (int i = 0; i < static_cast<int>(series.objects.size()); ++i) {
    Measurement row;
    if (measure_star(series, frame, image, i, places[static_cast<std::size_t>(i)], days, random, row)) {
      table.rows.push_back(row);
    }
  }
  if (series.mover.present) {
    Measurement row;
    if (measure_mover(series, frame, image, random, row)) {
      table.rows.push_back(row);
    }
  }
  for (int k = 0; k < 2 * options.spurious_per_image; ++k) {
    if (random.chance(0.5)) {
      table.rows.push_back(measure_spurious(series, frame, image, random));
    }
  }
  keep_brightest(table.rows, options.max_lines_per_image);
  std::stable_sort(table.rows.begin(), table.rows.end(), [](const Measurement& a, const Measurement& b) {
    return a.ra_ms != b.ra_ms ? a.ra_ms < b.ra_ms : a.dec_cas < b.dec_cas;
  });
  mark_references(series, random, table.rows);
  summarise(table);
  const int rows = static_cast<int>(table.rows.size());
  table.detections = rows + static_cast<int>(random.below(static_cast<std::uint64_t>(rows / 3 + 5)));
  set_fit(series, frame, image, random, table);
}

}  // namespace varisift::simulate
