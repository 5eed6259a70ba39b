// A simulated observation series: the options that describe it, the model of
// everything that goes into Skymensor.log and vsx.dat, and the functions that
// generate the model and write the two files.
//
// The model holds the exact numbers that are written (right ascension in
// milliseconds of time, declination in hundredths of an arcsecond, magnitudes
// in hundredths, FWHM in tenths of an arcsecond ...), so a test can cut a
// written line at its columns and compare it with the model. Generation is
// deterministic: the same options give the same bytes on every platform.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace varisift::simulate {

// How the lines of Skymensor.log end.
enum class LineEnding {
  crlf,   // every line ends in CR LF, as the Windows program writes them
  lf,     // every line ends in LF
  mixed,  // LF, CR LF after the " - End" lines, a lone CR inside the fit polynomials
};

// What a star does over time.
enum class VariableKind {
  constant,   // no intrinsic change
  pulsating,  // fast rise, slow decline; periods of hours to a day
  eclipsing,  // constant light with primary and secondary eclipses
  trend,      // slow change over days: a long-period wave
};

// The text after "Image flipped:" in the settings block of every session.
// "horizontally" is what the program writes for a mirrored camera; readers
// that take any line with " Image " and ": " for an image line register it as
// an image of that name.
enum class FlipNote { no, yes, horizontally };

// What disturbs the measured magnitudes besides each measurement's own noise.
enum class NoiseModel {
  realistic,  // zero-point random walk, cloud offsets and patchy clouds, single outliers
  white,      // none of these: each magnitude is the true one plus its own Gaussian noise
};

struct SeriesOptions {
  std::uint64_t seed = 1;  // every random choice follows from it

  // Observing plan.
  int images = 40;                   // distinct images in the series
  int nights = 1;                    // nights over which the images are taken
  int images_per_night = 0;          // images in each night; 0 = spread evenly over `nights`
  int sessions = 1;                  // runs of the measuring program, each with its " - Start " line
  int relisted_images = 0;           // images of the previous session listed (and measured) again
  double remeasure_probability = 0;  // chance that an image gets a second table in its session
  int start_year = 2019;             // date of the first night
  int start_month = 10;
  int start_day = 12;
  double night_start_hour = 19.0;  // UT of the first exposure of a night (may exceed 24)
  double cadence_seconds = 300.0;  // time between exposures

  // The field.
  double center_ra_deg = 45.0;     // field centre, right ascension in degrees
  double center_dec_deg = 30.0;    // field centre, declination in degrees
  double field_arcmin = 12.0;      // side of the square field
  int stars = 300;                 // stars placed in the field
  double bright_mag = 11.5;        // brightest star
  double limit_mag = 19.0;         // magnitude detected in half of clear images
  double faint_margin_mag = 0.5;   // stars are placed down to limit_mag + this
  double dropout_width_mag = 0.4;  // range over which detection falls from 88 % to 12 %
  int spurious_per_image = 2;      // mean number of one-image detections (cosmic rays)

  // Variables.
  int variables = 12;                           // variable stars among `stars`
  std::vector<VariableKind> variable_kinds = {  // kinds, used in turn
      VariableKind::pulsating, VariableKind::eclipsing, VariableKind::trend};
  double min_amplitude_mag = 0.05;  // amplitudes are log-uniform
  double max_amplitude_mag = 2.0;   // between these two

  // Conditions.
  double seeing_min_arcsec = 2.0;      // FWHM of the sharpest image
  double seeing_max_arcsec = 3.5;      // FWHM of the softest image
  double zero_point_drift_mag = 0.01;  // step of the per-image zero-point random walk
  double cloudy_probability = 0.05;    // chance that an image is taken through clouds
  double outlier_probability = 0.002;  // chance that a measurement is a single outlier
  bool moving_object = true;           // a minor planet crosses the field in the first night
  NoiseModel noise = NoiseModel::realistic;
  double nightly_systematic_mag = 0;  // range of an airmass-like term repeating each night; 0 = none

  // The catalogue vsx.dat.
  int vsx_variables = -1;           // variables with an entry; -1 = two thirds of them
  double vsx_flag2_fraction = 0.2;  // of those, the share flagged "2" in column 40
  int vsx_filler = 25;              // unrelated entries (a quarter of them inside the field)

  // Layout of the log.
  LineEnding line_ending = LineEnding::crlf;
  FlipNote flipped = FlipNote::yes;
  int max_lines_per_image = 19999;  // the faintest rows beyond this are not listed
  int reference_stars = 50;         // brightest stars of an image used for the fits
  bool hour_blank_padded = true;    // " 9:05:07.2" rather than "09:05:07.2" in time stamps
  std::string field_name;           // folder and file prefix; empty = from the centre ("F0300+30")
};

// The star a measurement row belongs to, when it is not a field star.
constexpr int moving_object_row = -1;
constexpr int spurious_row = -2;

// A star of the field, with the truth behind its measurements.
struct SkyObject {
  double ra_deg = 0;  // true position, degrees in [0, 360)
  double dec_deg = 0;
  double mag = 0;                        // mean magnitude
  double catalogue_ra_error_arcsec = 0;  // reference catalogue position minus truth
  double catalogue_dec_error_arcsec = 0;
  double catalogue_mag_error = 0;  // reference catalogue magnitude minus mean
  VariableKind kind = VariableKind::constant;
  double amplitude_mag = 0;    // full range of the intrinsic change
  double period_days = 0;      // period (wave length for a trend)
  double phase = 0;            // phase at the first image, 0..1
  double shape = 0;            // rise fraction (pulsating) or eclipse half-width (eclipsing)
  double secondary_depth = 0;  // secondary eclipse depth as a fraction of the primary
  int vsx_entry = -1;          // index into Series::vsx, -1 = not catalogued
};

// A minor planet moving in a straight line across the field.
struct MovingObject {
  bool present = false;
  double ra_deg = 0;  // position at time t0
  double dec_deg = 0;
  double ra_rate_arcsec_per_day = 0;  // motion on the sky (east positive)
  double dec_rate_arcsec_per_day = 0;
  double mag = 0;
  std::int64_t t0_tenths = 0;
  std::string designation;             // packed provisional designation, e.g. "K19N79A"
  std::string long_designation;        // as in the longer report lines, e.g. "K19N0079A"
  int speed_centi_arcsec_per_min = 0;  // "58.38"/min"
  int position_angle_tenths = 0;       // "PA 49.3"
};

// One line of a photometry table, as written.
struct Measurement {
  std::int32_t ra_ms = 0;         // right ascension, milliseconds of time
  std::int32_t dec_cas = 0;       // declination, hundredths of an arcsecond, signed
  std::int32_t x_hundredths = 0;  // pixel position, hundredths of a pixel
  std::int32_t y_hundredths = 0;
  std::int32_t flux = 0;         // ADU, at most 9999999
  std::int32_t peak_tenths = 0;  // the "SNR" column, tenths, at most 99999
  std::int32_t object = 0;       // index into Series::objects, or moving_object_row / spurious_row
  std::int16_t ra_residual = 0;  // hundredths of an arcsecond, -999..999
  std::int16_t dec_residual = 0;
  std::int16_t mag = 0;              // hundredths of a magnitude
  std::int16_t mag_residual = 0;     // hundredths of a magnitude, -999..999
  std::int16_t fwhm_tenths = 0;      // tenths of an arcsecond, at most 999
  std::int16_t rms_thousandths = 0;  // fit RMS, thousandths, at most 99999
  bool ra_residual_minus = false;    // written with "-" (also "-0.00")
  bool dec_residual_minus = false;
  bool mag_residual_minus = false;
  bool astrometry_excluded = false;  // RA and Dec residuals in parentheses
  bool photometry_excluded = false;  // magnitude residual in parentheses
  bool reference = false;            // one of the reference stars of the image
  bool outlier = false;              // truth: a single outlier was added
};

// A polynomial coefficient of the astrometric fit, written as +1.704422805E-6.
struct Coefficient {
  bool negative = false;
  std::uint64_t mantissa = 1000000000;  // ten digits, the first before the point
  int exponent = 0;
};

// Number of coefficients of one axis of the cubic fit.
constexpr int fit_terms = 10;

// One "Astrometry of Image" block followed by one "Photometry of Image" table.
struct PhotometryTable {
  int image = 0;                  // index into Series::images
  int number_in_session = 0;      // the N of "Image N" in its session
  std::vector<Measurement> rows;  // in the order written (by right ascension)
  int detections = 0;             // "56 Detections"
  int astrometry_refs = 0;        // "10 of 13 Reference Stars used"
  int astrometry_used = 0;
  int photometry_refs = 0;  // "11 of 13 Reference Stars used"
  int photometry_used = 0;
  int dra_hundredths = 0;  // RMS of the used residuals
  int ddec_hundredths = 0;
  int dmag_hundredths = 0;
  int zero_point_thousandths = 0;  // "Zero Point: 28.252mag"
  Coefficient x_fit[fit_terms];    // "X = ..." terms: 1, x', y', x'^2, x'y', y'^2, x'^3, x'^2y', x'y'^2, y'^3
  Coefficient y_fit[fit_terms];
  std::int32_t center_ra_centis = 0;   // fitted centre, hundredths of a second of time
  std::int32_t center_dec_tenths = 0;  // tenths of an arcsecond, signed
  int focal_length_tenths = 0;         // millimetres
  int rotation_hundredths = 0;         // degrees, signed
};

// One image of the series.
struct Image {
  std::string name;              // file name, "F0300+30-0001-V.fit"
  std::string folder;            // "D:\Astro\F0300+30\2019-10-12"
  std::int64_t time_tenths = 0;  // UT of the time stamp, tenths of a second since 1970
  int night = 0;                 // 0-based night
  bool cloudy = false;
  double extinction_mag = 0;         // light lost to clouds and air
  double zero_point_offset_mag = 0;  // what calibration leaves of the drift
  double nightly_offset_mag = 0;     // the airmass-like term of the image's time of day
  double cloud_gradient_mag = 0;     // patchy clouds: offset across the field
  double seeing_arcsec = 0;
  double pointing_ra_arcsec = 0;  // telescope pointing minus field centre
  double pointing_dec_arcsec = 0;
};

// One run of the measuring program, from "HH:MM:SS - Start" to " - End".
struct Session {
  std::int64_t start_seconds = 0;       // local clock of the run, seconds since 1970
  std::vector<int> images;              // listed images (indices), numbered 1.. in this order
  std::vector<PhotometryTable> tables;  // in the order written
};

// One line of vsx.dat.
struct VsxEntry {
  int id = 0;                            // columns 1-7
  std::string name;                      // columns 9-38
  char flag = '0';                       // column 40
  std::int32_t ra_e5 = 0;                // degrees times 100000, 0..35999999
  std::int32_t dec_e5 = 0;               // degrees times 100000, signed
  std::string type;                      // columns 62-91
  std::int32_t max_mag_thousandths = 0;  // magnitude at maximum, columns 95-100
  int max_mag_decimals = 3;              // 1..3 decimals written
  bool max_uncertain = false;            // ":" after the magnitude
  std::int32_t min_mag_thousandths = 0;
  std::string band;  // passband, "V", "CV", "G" ...
  bool has_period = false;
  std::int64_t epoch_e4 = 0;    // Julian date times 10000
  std::int64_t period_e10 = 0;  // days times 10^10
  int object = -1;              // the star it lists, -1 = unrelated
};

struct Series {
  SeriesOptions options;
  std::string field_name;
  std::vector<SkyObject> objects;
  MovingObject mover;
  std::vector<Image> images;  // in time order
  std::vector<Session> sessions;
  std::vector<VsxEntry> vsx;  // in file order
};

// The whole series from its options. Options out of range are brought into
// range (for example at least one image and one session).
Series generate_series(const SeriesOptions& options);

// Skymensor.log and vsx.dat. The writers format every number by hand and
// hand the stream large blocks; they do not change the stream's flags.
void write_log(const Series& series, std::ostream& out);
void write_vsx(const Series& series, std::ostream& out);

// truth.txt: a header line naming the columns, then one line per variable
// with its place, kind, amplitude, period and epoch, what the image times
// sample of its light curve, and its catalogue entry; for checking a run by
// eye and for measuring how well a run recovers the variables.
void write_truth(const Series& series, std::ostream& out);

// The table that a reader keeping the last table of each image would use;
// nullptr when the image has none.
const PhotometryTable* final_table(const Series& series, int image);

}  // namespace varisift::simulate
