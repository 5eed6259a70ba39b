// Catalogue entries with plausible names, types and magnitudes; see catalogue.h.
#include "catalogue.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "sky_geometry.h"
#include "text_format.h"

namespace varisift::simulate {

namespace {

constexpr int first_id = 100000;
constexpr int max_id_step = 5;
constexpr double e5 = 100000.0;
constexpr std::int32_t full_circle_e5 = 36000000;
constexpr double catalogue_position_sigma = 0.3;  // arcseconds
constexpr double catalogue_mag_sigma = 0.05;
constexpr double suspected_share = 0.15;  // flag "1" among listed variables
constexpr double period_share = 0.7;      // periodic entries that list a period
constexpr double two_decimals_share = 0.10;
constexpr double one_decimal_share = 0.05;
constexpr double uncertain_share = 0.05;
constexpr int in_field_share = 4;  // one filler in this many lies in the field
constexpr double min_filler_distance_arcsec = 10.0;
constexpr int placement_tries = 20;
constexpr double filler_min_mag = 8.0;
constexpr double filler_max_mag = 20.0;
constexpr double filler_min_amplitude = 0.1;
constexpr double filler_max_amplitude = 2.0;
constexpr double filler_max_dec = 89.0;
constexpr double min_epoch_days = 2450000.0;
constexpr double max_epoch_days = 2459000.0;
constexpr double filler_min_period = 0.05;
constexpr double filler_max_period = 400.0;
constexpr double e4 = 10000.0;
constexpr double e10 = 1e10;
constexpr double thousand = 1000.0;
constexpr double degrees_per_hour = 15.0;
constexpr double arcsec_per_unit = 3600.0;  // seconds per hour, arcseconds per degree
constexpr long long seconds_per_day = 86400;

constexpr std::array<std::string_view, 5> pulsating_types = {"RRAB", "RRC", "DSCT", "HADS", "CEP"};
constexpr std::array<std::string_view, 4> eclipsing_types = {"EA", "EB", "EW", "EA:"};
constexpr std::array<std::string_view, 4> trend_types = {"SR", "L", "M", "SRB"};
constexpr std::array<std::string_view, 12> filler_types = {"VAR",  "MISC", "ROT", "BY",   "YSO",   "L",
                                                           "SR|L", "EA",   "EW",  "RRAB", "E|ROT", "DSCT|EC|ESD"};
constexpr std::array<std::string_view, 10> bands = {"V", "CV", "G", "r", "g", "Hp", "TG", "I", "B", "CR"};
constexpr std::array<std::string_view, 12> constellations = {"Vir", "Psc", "Aur", "Oph", "Ori", "Cep",
                                                             "UMi", "Cet", "Aqr", "Per", "Cas", "Peg"};

template <std::size_t N>
std::string pick(const std::array<std::string_view, N>& list, Random& random) {
  return std::string(list[random.below(N)]);
}

// "J025807.16+295101.1"-style position part of a survey name (truncated digits).
std::string j_name(double ra_deg, double dec_deg, int ra_decimals, int dec_decimals) {
  long long ra_scale = 1;
  for (int i = 0; i < ra_decimals; ++i) {
    ra_scale *= 10;
  }
  const long long ra = static_cast<long long>(std::floor(wrap_degrees(ra_deg) / degrees_per_hour * arcsec_per_unit *
                                                         static_cast<double>(ra_scale))) %
                       (seconds_per_day * ra_scale);
  const long long ra_seconds = ra / ra_scale;
  std::string text = "J";
  append_zero_padded(text, ra_seconds / 3600, 2);
  append_zero_padded(text, (ra_seconds / 60) % 60, 2);
  append_zero_padded(text, ra_seconds % 60, 2);
  if (ra_decimals > 0) {
    text += '.';
    append_zero_padded(text, ra % ra_scale, ra_decimals);
  }
  long long dec_scale = 1;
  for (int i = 0; i < dec_decimals; ++i) {
    dec_scale *= 10;
  }
  const long long dec =
      static_cast<long long>(std::floor(std::fabs(dec_deg) * arcsec_per_unit * static_cast<double>(dec_scale)));
  const long long dec_seconds = dec / dec_scale;
  text += dec_deg < 0 ? '-' : '+';
  append_zero_padded(text, dec_seconds / 3600, 2);
  append_zero_padded(text, (dec_seconds / 60) % 60, 2);
  append_zero_padded(text, dec_seconds % 60, 2);
  if (dec_decimals > 0) {
    text += '.';
    append_zero_padded(text, dec % dec_scale, dec_decimals);
  }
  return text;
}

std::string digits(Random& random, int count) {
  std::string text;
  text += static_cast<char>('1' + random.below(9));
  for (int i = 1; i < count; ++i) {
    text += static_cast<char>('0' + random.below(10));
  }
  return text;
}

std::string entry_name(double ra_deg, double dec_deg, Random& random) {
  constexpr int styles = 8;
  switch (random.below(styles)) {
    case 0:
      return "ASASSN-V " + j_name(ra_deg, dec_deg, 2, 1);
    case 1:
      return "ZTF " + j_name(ra_deg, dec_deg, 2, 1);
    case 2:
      return "CSS_" + j_name(ra_deg, dec_deg, 1, 0);
    case 3: {
      const long long ra = std::llround(wrap_degrees(ra_deg) * e4);
      std::string name = "ATO J";
      append_zero_padded(name, ra / 10000, 3);
      name += '.';
      append_zero_padded(name, ra % 10000, 4);
      name += dec_deg < 0 ? '-' : '+';
      const long long dec = std::llround(std::fabs(dec_deg) * e4);
      append_zero_padded(name, dec / 10000, 2);
      name += '.';
      append_zero_padded(name, dec % 10000, 4);
      return name;
    }
    case 4:
      return "NSVS " + digits(random, 8);
    case 5:
      return "GSC " + digits(random, 4) + "-" + digits(random, 5);
    case 6: {
      std::string name = "V";
      append_zero_padded(name, 1 + static_cast<long long>(random.below(2999)), 4);
      return name + " " + pick(constellations, random);
    }
    default:
      return "Gaia DR2 " + digits(random, 19);
  }
}

std::int32_t thousandths_with_decimals(double mag, int decimals) {
  long long step = 1;
  for (int i = decimals; i < 3; ++i) {
    step *= 10;
  }
  return static_cast<std::int32_t>(std::llround(mag * thousand / static_cast<double>(step)) * step);
}

void set_magnitudes(VsxEntry& entry, double mean, double amplitude, Random& random) {
  const double u = random.uniform();
  entry.max_mag_decimals = u < one_decimal_share ? 1 : (u < one_decimal_share + two_decimals_share ? 2 : 3);
  entry.max_mag_thousandths = thousandths_with_decimals(mean - amplitude / 2.0, entry.max_mag_decimals);
  entry.min_mag_thousandths = thousandths_with_decimals(mean + amplitude / 2.0, 3);
  entry.max_uncertain = random.chance(uncertain_share);
  entry.band = pick(bands, random);
}

void set_period(VsxEntry& entry, double period_days, Random& random) {
  entry.has_period = true;
  entry.epoch_e4 = std::llround(random.uniform(min_epoch_days, max_epoch_days) * e4);
  entry.period_e10 = std::llround(period_days * e10);
}

void set_position(VsxEntry& entry, double ra_deg, double dec_deg) {
  entry.ra_e5 = static_cast<std::int32_t>(std::llround(wrap_degrees(ra_deg) * e5) % full_circle_e5);
  entry.dec_e5 = static_cast<std::int32_t>(std::llround(dec_deg * e5));
}

VsxEntry variable_entry(const SkyObject& star, int object, Random& random) {
  VsxEntry entry;
  entry.object = object;
  const double ra_err = random.normal(0.0, catalogue_position_sigma);
  const double dec_err = random.normal(0.0, catalogue_position_sigma);
  double ra = 0;
  double dec = 0;
  position_at(star.ra_deg, star.dec_deg, ra_err, dec_err, ra, dec);
  set_position(entry, ra, dec);
  entry.name = entry_name(star.ra_deg, star.dec_deg, random);
  entry.flag = random.chance(suspected_share) ? '1' : '0';
  switch (star.kind) {
    case VariableKind::pulsating:
      entry.type = pick(pulsating_types, random);
      break;
    case VariableKind::eclipsing:
      entry.type = pick(eclipsing_types, random);
      break;
    default:
      entry.type = pick(trend_types, random);
      break;
  }
  set_magnitudes(entry, star.mag + random.normal(0.0, catalogue_mag_sigma), star.amplitude_mag, random);
  if (star.kind != VariableKind::trend && random.chance(period_share)) {
    set_period(entry, star.period_days, random);
  }
  return entry;
}

bool near_a_star(const std::vector<SkyObject>& objects, double ra, double dec) {
  for (const SkyObject& star : objects) {
    double xi = 0;
    double eta = 0;
    field_offsets(ra, dec, star.ra_deg, star.dec_deg, xi, eta);
    if (std::fabs(xi) < min_filler_distance_arcsec && std::fabs(eta) < min_filler_distance_arcsec) {
      return true;
    }
  }
  return false;
}

VsxEntry filler_entry(const SeriesOptions& options, const std::vector<SkyObject>& objects, int index, Random& random) {
  VsxEntry entry;
  double ra = 0;
  double dec = 0;
  if (index % in_field_share == 0) {
    const double half = options.field_arcmin * 60.0 / 2.0;
    for (int attempt = 0; attempt < placement_tries; ++attempt) {
      // One draw per statement: the order in which a call's arguments are
      // evaluated differs between compilers. The offset north is drawn
      // first, the order the series have always had.
      const double north = random.uniform(-half, half);
      const double east = random.uniform(-half, half);
      position_at(options.center_ra_deg, options.center_dec_deg, east, north, ra, dec);
      if (!near_a_star(objects, ra, dec)) {
        break;
      }
    }
  } else {
    ra = random.uniform(0.0, 360.0);
    dec = random.uniform(-filler_max_dec, filler_max_dec);
  }
  set_position(entry, ra, dec);
  entry.name = entry_name(ra, dec, random);
  constexpr double flag0 = 0.65;
  constexpr double flag1 = 0.75;
  constexpr double flag2 = 0.90;
  const double u = random.uniform();
  entry.flag = u < flag0 ? '0' : (u < flag1 ? '1' : (u < flag2 ? '2' : '3'));
  entry.type = pick(filler_types, random);
  const double amplitude = random.uniform(filler_min_amplitude, filler_max_amplitude);  // drawn first, as always
  const double mean_mag = random.uniform(filler_min_mag, filler_max_mag);
  set_magnitudes(entry, mean_mag, amplitude, random);
  if (random.chance(period_share / 2.0)) {
    set_period(entry, random.log_uniform(filler_min_period, filler_max_period), random);
  }
  return entry;
}

}  // namespace

std::vector<VsxEntry> build_catalogue(const SeriesOptions& options, std::vector<SkyObject>& objects, Random& random) {
  std::vector<int> variables;
  for (int i = 0; i < static_cast<int>(objects.size()); ++i) {
    if (objects[static_cast<std::size_t>(i)].kind != VariableKind::constant) {
      variables.push_back(i);
    }
  }
  const int listed_default = static_cast<int>(variables.size()) - static_cast<int>(variables.size()) / 3;
  const int listed = std::clamp(options.vsx_variables < 0 ? listed_default : options.vsx_variables, 0,
                                static_cast<int>(variables.size()));
  // Which variables are listed, and which of those carry flag "2".
  for (int k = 0; k < listed; ++k) {
    const int pick_at =
        k +
        static_cast<int>(random.below(static_cast<std::uint64_t>(variables.size()) - static_cast<std::uint64_t>(k)));
    std::swap(variables[static_cast<std::size_t>(k)], variables[static_cast<std::size_t>(pick_at)]);
  }
  const int flagged = std::clamp(static_cast<int>(std::llround(listed * options.vsx_flag2_fraction)), 0, listed);

  std::vector<VsxEntry> entries;
  for (int k = 0; k < listed; ++k) {
    const int object = variables[static_cast<std::size_t>(k)];
    VsxEntry entry = variable_entry(objects[static_cast<std::size_t>(object)], object, random);
    if (k < flagged) {
      entry.flag = '2';
    }
    entries.push_back(entry);
  }
  for (int k = 0; k < options.vsx_filler; ++k) {
    entries.push_back(filler_entry(options, objects, k, random));
  }
  // File order: shuffled, then numbered upwards.
  for (std::size_t k = entries.size(); k > 1; --k) {
    std::swap(entries[k - 1], entries[static_cast<std::size_t>(random.below(k))]);
  }
  int id = first_id;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    entries[k].id = id;
    id += 1 + static_cast<int>(random.below(max_id_step));
    if (entries[k].object >= 0) {
      objects[static_cast<std::size_t>(entries[k].object)].vsx_entry = static_cast<int>(k);
    }
  }
  return entries;
}

}  // namespace varisift::simulate
