// Parsing of the simulate options; see command_line.h.
#include "command_line.h"

#include <charconv>
#include <string_view>

#include "presets.h"

namespace varisift::simulate {

namespace {

bool read_int(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

bool read_u64(std::string_view text, std::uint64_t& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

bool read_real(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

// "MIN:MAX"
bool read_range(std::string_view text, double& low, double& high) {
  const std::size_t colon = text.find(':');
  return colon != std::string_view::npos && read_real(text.substr(0, colon), low) &&
         read_real(text.substr(colon + 1), high);
}

// "YYYY-MM-DD"
bool read_date(std::string_view text, SeriesOptions& o) {
  constexpr std::size_t date_length = 10;
  if (text.size() != date_length || text[4] != '-' || text[7] != '-') {
    return false;
  }
  return read_int(text.substr(0, 4), o.start_year) && read_int(text.substr(5, 2), o.start_month) &&
         read_int(text.substr(8, 2), o.start_day);
}

bool read_kinds(std::string_view text, std::vector<VariableKind>& kinds) {
  kinds.clear();
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view word = text.substr(0, comma);
    if (word == "pulsating") {
      kinds.push_back(VariableKind::pulsating);
    } else if (word == "eclipsing") {
      kinds.push_back(VariableKind::eclipsing);
    } else if (word == "trend") {
      kinds.push_back(VariableKind::trend);
    } else {
      return false;
    }
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  return !kinds.empty();
}

bool read_switch(std::string_view text, bool& value) {
  if (text == "on" || text == "yes") {
    value = true;
    return true;
  }
  if (text == "off" || text == "no") {
    value = false;
    return true;
  }
  return false;
}

bool read_line_ending(std::string_view text, LineEnding& value) {
  if (text == "crlf") {
    value = LineEnding::crlf;
  } else if (text == "lf") {
    value = LineEnding::lf;
  } else if (text == "mixed") {
    value = LineEnding::mixed;
  } else {
    return false;
  }
  return true;
}

bool read_flip(std::string_view text, FlipNote& value) {
  if (text == "no") {
    value = FlipNote::no;
  } else if (text == "yes") {
    value = FlipNote::yes;
  } else if (text == "horizontally") {
    value = FlipNote::horizontally;
  } else {
    return false;
  }
  return true;
}

bool read_noise(std::string_view text, NoiseModel& value) {
  if (text == "realistic") {
    value = NoiseModel::realistic;
  } else if (text == "white") {
    value = NoiseModel::white;
  } else {
    return false;
  }
  return true;
}

bool read_non_negative(std::string_view text, double& value) { return read_real(text, value) && value >= 0.0; }

// Applies one option with a value; false when the value is bad, and the
// name is cleared when the option is unknown.
bool apply_option(std::string& name, std::string_view v, CommandLine& c) {
  SeriesOptions& o = c.options;
  if (name == "--seed") return read_u64(v, o.seed);
  if (name == "--images") return read_int(v, o.images);
  if (name == "--stars") return read_int(v, o.stars);
  if (name == "--variables") return read_int(v, o.variables);
  if (name == "--kinds") return read_kinds(v, o.variable_kinds);
  if (name == "--amplitudes") return read_range(v, o.min_amplitude_mag, o.max_amplitude_mag);
  if (name == "--ra") return read_real(v, o.center_ra_deg);
  if (name == "--dec") return read_real(v, o.center_dec_deg);
  if (name == "--field") return read_real(v, o.field_arcmin);
  if (name == "--field-name") {
    o.field_name = std::string(v);
    return !v.empty();
  }
  if (name == "--nights") return read_int(v, o.nights);
  if (name == "--images-per-night") return read_int(v, o.images_per_night);
  if (name == "--sessions") return read_int(v, o.sessions);
  if (name == "--relist") return read_int(v, o.relisted_images);
  if (name == "--remeasure") return read_real(v, o.remeasure_probability);
  if (name == "--date") return read_date(v, o);
  if (name == "--night-start") return read_real(v, o.night_start_hour);
  if (name == "--cadence") return read_real(v, o.cadence_seconds);
  if (name == "--bright") return read_real(v, o.bright_mag);
  if (name == "--limit") return read_real(v, o.limit_mag);
  if (name == "--dropout") return read_real(v, o.dropout_width_mag);
  if (name == "--spurious") return read_int(v, o.spurious_per_image);
  if (name == "--seeing") return read_range(v, o.seeing_min_arcsec, o.seeing_max_arcsec);
  if (name == "--drift") return read_real(v, o.zero_point_drift_mag);
  if (name == "--cloudy") return read_real(v, o.cloudy_probability);
  if (name == "--outliers") return read_real(v, o.outlier_probability);
  if (name == "--mover") return read_switch(v, o.moving_object);
  if (name == "--noise") return read_noise(v, o.noise);
  if (name == "--nightly-systematic") return read_non_negative(v, o.nightly_systematic_mag);
  if (name == "--vsx") return read_int(v, o.vsx_variables);
  if (name == "--vsx-flag2") return read_real(v, o.vsx_flag2_fraction);
  if (name == "--vsx-filler") return read_int(v, o.vsx_filler);
  if (name == "--line-ends") return read_line_ending(v, o.line_ending);
  if (name == "--flipped") return read_flip(v, o.flipped);
  if (name == "--max-lines") return read_int(v, o.max_lines_per_image);
  if (name == "--reference-stars") return read_int(v, o.reference_stars);
  if (name == "--out") {
    c.out_dir = std::string(v);
    return !v.empty();
  }
  name.clear();
  return false;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args) {
  CommandLine c;
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--preset" && !apply_preset(args[i + 1], c.options)) {
      c.error = "unknown preset '" + args[i + 1] + "'";
      return c;
    }
  }
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    if (name == "--help" || name == "-h") {
      c.show_help = true;
      continue;
    }
    if (name == "--list-presets") {
      c.list_presets = true;
      continue;
    }
    if (name == "--truth") {
      c.write_truth = true;
      continue;
    }
    if (name == "--hour-zero") {
      c.options.hour_blank_padded = false;
      continue;
    }
    if (i + 1 >= args.size()) {
      c.error = "option '" + name + "' needs a value";
      return c;
    }
    const std::string& value = args[++i];
    if (name == "--preset") {
      continue;
    }
    const std::string original = name;
    if (!apply_option(name, value, c)) {
      c.error = name.empty() ? "unknown option '" + original + "'" : "bad value '" + value + "' for " + original;
      return c;
    }
  }
  return c;
}

std::string usage_text() {
  std::string text =
      "usage: simulate [--preset NAME] [options] --out DIR\n"
      "Writes DIR/Skymensor.log and DIR/vsx.dat for a simulated series of images.\n"
      "\n"
      "  --seed N              random seed (default 1); same seed, same bytes\n"
      "  --images N            distinct images\n"
      "  --stars N             stars in the field\n"
      "  --variables N         variable stars among them\n"
      "  --kinds LIST          kinds used in turn: pulsating,eclipsing,trend\n"
      "  --amplitudes MIN:MAX  amplitude range of the variables (mag)\n"
      "  --ra DEG --dec DEG    field centre\n"
      "  --field ARCMIN        side of the square field\n"
      "  --field-name TEXT     folder and file prefix (default from the centre)\n"
      "  --nights N            nights (images spread evenly)\n"
      "  --images-per-night N  images per night (overrides --nights)\n"
      "  --sessions N          sessions of the measuring program\n"
      "  --relist N            images of the previous session listed again\n"
      "  --remeasure P         chance of a second table for an image\n"
      "  --date YYYY-MM-DD     first night\n"
      "  --night-start HOURS   UT of the first exposure of a night\n"
      "  --cadence SECONDS     time between exposures\n"
      "  --bright MAG          brightest star\n"
      "  --limit MAG           magnitude detected in half of clear images\n"
      "  --dropout MAG         width of the detection fall-off at the limit\n"
      "  --spurious N          mean one-image detections per image\n"
      "  --seeing MIN:MAX      FWHM range (arcsec)\n"
      "  --drift MAG           zero-point random-walk step\n"
      "  --cloudy P            chance of a cloudy image\n"
      "  --outliers P          chance of a single outlier per measurement\n"
      "  --mover on|off        minor planet crossing the field\n"
      "  --noise MODEL         realistic (default) or white: only each measurement's\n"
      "                        own noise, no zero-point walk, cloud offsets or outliers\n"
      "  --nightly-systematic MAG\n"
      "                        airmass-like term over MAG, the same each night\n"
      "  --vsx N               variables listed in vsx.dat (-1: two thirds)\n"
      "  --vsx-flag2 F         share of those flagged 2\n"
      "  --vsx-filler N        unrelated catalogue entries\n"
      "  --line-ends crlf|lf|mixed\n"
      "  --flipped no|yes|horizontally\n"
      "  --max-lines N         most lines in one photometry table\n"
      "  --reference-stars N   reference stars per image\n"
      "  --hour-zero           time stamps as 09:05:07.2 instead of  9:05:07.2\n"
      "  --truth               also write DIR/truth.txt (the variables and their sampling)\n"
      "  --out DIR             output folder (created if missing)\n"
      "  --list-presets        list the presets\n"
      "\npresets:";
  for (const Preset& p : presets()) {
    text += ' ';
    text += p.name;
  }
  text += '\n';
  return text;
}

}  // namespace varisift::simulate
