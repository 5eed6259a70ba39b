// The option table and the reading of the command line.
#include "run/command_line.h"

#include <cstdint>
#include <limits>

#include "export/star_periods.h"
#include "text/number_format.h"

namespace varisift {

namespace {

// Applies an option's value to the command line; "" when the value is
// right, else what is wrong with it.
using ApplyOption = std::string (*)(CommandLine&, std::string_view value);

struct Option {
  std::string_view name;        // "--vsx"
  std::string_view value_name;  // "FILE"; empty for an option without value
  std::string_view help;        // one line per "\n"
  ApplyOption apply;
  // The value may be left out; it is then given only after "=", and apply
  // gets "".
  bool value_optional = false;
};

constexpr std::string_view help_option = "--help";

// The 3rd criterion is compared with the variation limit as a signed 16-bit
// value: a larger limit would wrap to a negative one and select nothing.
constexpr std::uint64_t max_min_variation = 32767;
// Periods are read in days with at most the decimals of period_d in
// stars.csv (six), up to about 270 years.
constexpr std::uint64_t min_period_micro_days = 1;
constexpr std::uint64_t max_period_micro_days = 100000000000;
constexpr double micro_days_per_day = 1e6;
constexpr std::string_view short_help_option = "-h";
constexpr std::string_view version_option = "--version";

// A value written as the parameter block prints it: decimal digits, then
// perhaps a point and at most `decimals` further digits. Leading zeros are
// plain zeros ("010" is ten). The result is the value times 10^decimals,
// exactly; nothing when the text is no such number or the result exceeds max.
std::optional<std::uint64_t> fixed_point_value(std::string_view text, int decimals, std::uint64_t max) {
  std::uint64_t value = 0;
  int digits = 0;
  int fraction_digits = -1;  // -1: no point yet
  for (char c : text) {
    if (c == '.' && fraction_digits < 0 && decimals > 0 && digits > 0) {
      fraction_digits = 0;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    if (fraction_digits >= 0 && ++fraction_digits > decimals) return std::nullopt;
    ++digits;
    if (value > (std::numeric_limits<std::uint64_t>::max() - 9) / 10) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (digits == 0 || fraction_digits == 0) return std::nullopt;  // "", ".", "3."
  for (int k = fraction_digits < 0 ? 0 : fraction_digits; k < decimals; ++k) {
    if (value > std::numeric_limits<std::uint64_t>::max() / 10) return std::nullopt;
    value *= 10;
  }
  if (value > max) return std::nullopt;
  return value;
}

// max / 10^decimals with its decimals, as in "2.55".
std::string fixed_point_text(std::uint64_t value, int decimals) {
  std::uint64_t scale = 1;
  for (int k = 0; k < decimals; ++k) scale *= 10;
  std::string text = std::to_string(value / scale);
  if (decimals == 0) return text;
  std::string fraction = std::to_string(value % scale + scale);  // "1" then the decimals
  text += '.';
  text.append(fraction, 1, std::string::npos);
  return text;
}

// Reads a parameter value into `field`, between `min` and `max` (by default
// the largest value of the field's integer type), both in units of
// 10^-decimals.
template <typename Field>
std::string read_parameter(std::string_view option, std::string_view value, int decimals, std::uint64_t min,
                           Field& field, std::uint64_t max = std::numeric_limits<Field>::max()) {
  std::optional<std::uint64_t> read = fixed_point_value(value, decimals, max);
  if (read && *read >= min) {
    field = static_cast<Field>(*read);
    return "";
  }
  std::string error(option);
  if (decimals == 0) {
    error += " takes a whole number";
  } else {
    error += " takes a number with at most ";
    error += std::to_string(decimals);
    error += decimals == 1 ? " decimal" : " decimals";
  }
  error += " from ";
  error += fixed_point_text(min, decimals);
  error += " to ";
  error += fixed_point_text(max, decimals);
  error += ", not '";
  error += value;
  error += "'";
  return error;
}

// Keeps the path an option names; a path is always right here (the files
// are checked once the whole command line is read).
std::string keep_path(std::optional<std::string>& path, std::string_view value) {
  path = std::string(value);
  return "";
}

// Reads a period limit in days into `limit`.
std::string read_period(std::string_view option, std::string_view value, std::optional<double>& limit) {
  std::uint64_t micro_days = 0;
  std::string error =
      read_parameter(option, value, period_decimals, min_period_micro_days, micro_days, max_period_micro_days);
  // A whole number of micro-days over an exact power of ten: the double
  // nearest to the decimal the user wrote.
  if (error.empty()) limit = static_cast<double>(micro_days) / micro_days_per_day;
  return error;
}

const std::vector<Option>& options() {
  static const std::vector<Option> table = {
      {"--vsx", "FILE",
       "the VSX catalogue from FILE instead of DIR/vsx.dat;\nread compressed when it holds gzip data, as a "
       "name\nending in .gz must",
       [](CommandLine& c, std::string_view v) { return keep_path(c.catalogue, v); }},
      {"--report", "FILE", "append the report to FILE instead of DIR/Varisift.log",
       [](CommandLine& c, std::string_view v) { return keep_path(c.report, v); }},
      {"--csv", "FOLDER",
       "write stars.csv and the light curves (lc_<star>.csv)\nof the candidates and index-flagged stars to FOLDER;\n"
       "stars.csv holds their periods",
       [](CommandLine& c, std::string_view v) { return keep_path(c.exports.csv_folder, v); }},
      {"--aavso", "FILE", "write the measurements of the candidates that VSX\nnames to FILE, in AAVSO Extended format",
       [](CommandLine& c, std::string_view v) { return keep_path(c.exports.aavso_file, v); }},
      {"--obscode", "CODE", "your AAVSO observer code (with --aavso)",
       [](CommandLine& c, std::string_view v) {
         if (!aavso_observer_code(v)) return "--obscode takes letters and digits, not '" + std::string(v) + "'";
         c.exports.aavso.observer_code = std::string(v);
         return std::string();
       }},
      {"--filter", "F",
       "the band the photometry was reduced to, as an AAVSO\nfilter code: CV or CR for unfiltered images reduced\nto V "
       "or R, V or R with those filters (with --aavso,\nor with --html for the passband of the ranges)",
       [](CommandLine& c, std::string_view v) {
         if (!aavso_filter_code(v, c.exports.aavso.filter))
           return "--filter takes an AAVSO filter code (such as V, CV, R, CR), not '" + std::string(v) + "'";
         return std::string();
       }},
      {"--html", "FILE", "write a report page with the light curves and periods",
       [](CommandLine& c, std::string_view v) { return keep_path(c.exports.html_file, v); }},
      {"--match-radius", "ARCSEC", "name a star by the nearest VSX entry within ARCSEC\nin the exports and the page",
       [](CommandLine& c, std::string_view v) {
         c.exports.match_radius_given = true;
         return read_parameter("--match-radius", v, 1, min_match_radius_tenths, c.exports.match_radius_tenths,
                               max_match_radius_tenths);
       }},
      {"--periods-all", "",
       "search the period of every star with statistics, not\nonly of the candidates and index-flagged stars (with\n"
       "--csv or --html)",
       [](CommandLine& c, std::string_view) {
         c.exports.periods_all = true;
         return std::string();
       }},
      {"--period-min", "DAYS",
       "search periods from DAYS on (by default twice the\nmedian time between measurements, at least 0.02)",
       [](CommandLine& c, std::string_view v) { return read_period("--period-min", v, c.exports.period_range.min_d); }},
      {"--period-max", "DAYS", "search periods up to DAYS (by default the span of\nthe measurements)",
       [](CommandLine& c, std::string_view v) { return read_period("--period-max", v, c.exports.period_range.max_d); }},
      {"--watch", "SECONDS",
       "refresh the --csv and --html files every SECONDS\n(2 to 3600) while Skymensor writes the log; Ctrl+C\nends "
       "with a final run",
       [](CommandLine& c, std::string_view v) {
         c.watch = true;
         if (v.empty()) return std::string();
         return read_parameter("--watch", v, 0, min_watch_seconds, c.watch_settings.interval_seconds,
                               max_watch_seconds);
       },
       true},
      {"--watch-idle-exit", "SECONDS", "end the watch after SECONDS without growth of the log",
       [](CommandLine& c, std::string_view v) {
         std::uint32_t seconds = 0;
         std::string error = read_parameter("--watch-idle-exit", v, 0, 1, seconds, max_watch_idle_exit_seconds);
         if (error.empty()) c.watch_settings.idle_exit_seconds = seconds;
         return error;
       }},
      {"--trend", "", "correct each image by its mean magnitude (this can\nadd scatter on one night of one field)",
       [](CommandLine& c, std::string_view) {
         c.parameters.trend_correction = 1;
         return std::string();
       }},
      {"--fwhm-divisor", "N", "search stars within the FWHM divided by N",
       [](CommandLine& c, std::string_view v) {
         return read_parameter("--fwhm-divisor", v, 0, 1, c.parameters.fwhm_divisor);
       }},
      {"--min-variation", "N",
       "select a star whose 3rd criterion per measurement\nis below N: a larger N admits more (at most 32767;\nlowered "
       "to the number of images read)",
       [](CommandLine& c, std::string_view v) {
         return read_parameter("--min-variation", v, 0, 0, c.parameters.min_variation, max_min_variation);
       }},
      {"--min-total", "N", "more than N in-range measurements needed",
       [](CommandLine& c, std::string_view v) {
         return read_parameter("--min-total", v, 0, 0, c.parameters.min_total_measurements);
       }},
      {"--min-selected", "N", "more than N valid measurements needed",
       [](CommandLine& c, std::string_view v) {
         return read_parameter("--min-selected", v, 0, 0, c.parameters.min_selected_measurements);
       }},
      {"--min-interval", "MAG", "smallest magnitude range of a variable",
       [](CommandLine& c, std::string_view v) {
         return read_parameter("--min-interval", v, 2, 0, c.parameters.min_mag_interval);
       }},
      {"--outlier-factor", "X", "outlier fences at X quartile distances",
       [](CommandLine& c, std::string_view v) {
         return read_parameter("--outlier-factor", v, 1, 0, c.parameters.outlier_factor);
       }},
  };
  return table;
}

const Option* find_option(std::string_view name) {
  for (const Option& option : options())
    if (option.name == name) return &option;
  return nullptr;
}

// The default of a parameter option as the help shows it, "" for others.
std::string default_text(std::string_view name) {
  const DetectionParameters d;
  if (name == "--fwhm-divisor") return std::to_string(d.fwhm_divisor);
  if (name == "--min-variation") return std::to_string(d.min_variation);
  if (name == "--min-total") return std::to_string(d.min_total_measurements);
  if (name == "--min-selected") return std::to_string(d.min_selected_measurements);
  if (name == "--min-interval") return fixed_point_text(d.min_mag_interval, 2);
  if (name == "--outlier-factor") return fixed_point_text(d.outlier_factor, 1);
  if (name == "--match-radius") return fixed_point_text(default_match_radius_tenths, 1);
  if (name == "--watch") return std::to_string(default_watch_seconds);
  return "";
}

}  // namespace

ParsedCommandLine parse_command_line(const std::vector<std::string_view>& arguments) {
  ParsedCommandLine parsed;
  CommandLine& command = parsed.command;
  command.any_argument = !arguments.empty();
  std::vector<std::string_view> seen;
  bool options_ended = false;
  for (std::size_t k = 0; k < arguments.size(); ++k) {
    std::string_view argument = arguments[k];
    bool is_option = !options_ended && argument.size() > 1 && argument[0] == '-';
    if (!is_option) {
      if (command.folder_given) {
        parsed.error = "two folders given, '" + command.folder + "' and '" + std::string(argument) + "'";
        return parsed;
      }
      command.folder = std::string(argument);
      command.folder_given = true;
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    if (argument == help_option || argument == short_help_option) {
      command.action = CommandLine::Action::help;
      return parsed;
    }
    if (argument == version_option) {
      command.action = CommandLine::Action::version;
      return parsed;
    }
    std::string_view name = argument;
    std::optional<std::string_view> value;
    if (std::size_t equals = argument.find('='); equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    }
    const Option* option = find_option(name);
    if (option == nullptr) {
      parsed.error = "unknown option '" + std::string(name) + "'";
      return parsed;
    }
    for (std::string_view earlier : seen) {
      if (earlier == option->name) {
        parsed.error = std::string(option->name) + " given twice";
        return parsed;
      }
    }
    seen.push_back(option->name);
    if (option->value_name.empty()) {
      if (value) {
        parsed.error = std::string(option->name) + " takes no value";
        return parsed;
      }
    } else if (!value && !option->value_optional) {
      if (k + 1 == arguments.size()) {
        parsed.error = std::string(option->name) + " needs a value (" + std::string(option->value_name) + ")";
        return parsed;
      }
      value = arguments[++k];
    }
    if (!option->value_name.empty() && value && value->empty()) {
      parsed.error = std::string(option->name) + " needs a value (" + std::string(option->value_name) + ")";
      return parsed;
    }
    parsed.error = option->apply(command, value.value_or(""));
    if (!parsed.error.empty()) return parsed;
  }
  const ExportRequest& exports = command.exports;
  const PeriodRange& periods = exports.period_range;
  if (exports.aavso_file && (exports.aavso.observer_code.empty() || exports.aavso.filter.empty()))
    parsed.error = "--aavso needs --obscode and --filter";
  else if (!exports.aavso_file && !exports.aavso.observer_code.empty())
    parsed.error = "--obscode goes with --aavso";
  else if (!exports.aavso_file && !exports.html_file && !exports.aavso.filter.empty())
    parsed.error = "--filter goes with --aavso or --html";
  else if (exports.match_radius_given && !exports.any())
    parsed.error = "--match-radius goes with --csv, --aavso or --html";
  else if (!exports.searches_periods() && (exports.periods_all || periods.min_d || periods.max_d))
    parsed.error = std::string(exports.periods_all ? "--periods-all"
                               : periods.min_d     ? "--period-min"
                                                   : "--period-max") +
                   " goes with --csv or --html";
  else if (periods.min_d && periods.max_d && !(*periods.min_d < *periods.max_d))
    parsed.error = "--period-min must be below --period-max";
  else if (command.watch && exports.aavso_file)
    parsed.error = "--watch does not go with --aavso: a submission is made from the finished night";
  else if (command.watch && !exports.csv_folder && !exports.html_file)
    parsed.error = "--watch needs --csv or --html";
  else if (!command.watch && command.watch_settings.idle_exit_seconds)
    parsed.error = "--watch-idle-exit goes with --watch";
  return parsed;
}

std::vector<std::string> usage_lines() {
  constexpr std::size_t help_column = 25;
  std::vector<std::string> lines = {
      "Usage: varisift [OPTIONS] [DIR]",
      "",
      "Finds probable variable stars in a series of sky images measured with",
      "Skymensor. Reads DIR/Skymensor.log and, when it is there, the VSX",
      "catalogue DIR/vsx.dat; appends the report to DIR/Varisift.log. DIR is",
      "the current folder when none is given; files named by options are taken",
      "relative to the current folder.",
      "",
      "Options:",
  };
  auto add = [&](std::string_view option, std::string_view help) {
    std::string left = "  ";
    left += option;
    // An option too long for its column stands on a line of its own.
    if (left.size() + 2 > help_column) {
      lines.push_back(left);
      left.clear();
    }
    for (;;) {
      std::size_t end = help.find('\n');
      std::string line = left;
      line.resize(help_column, ' ');
      line += help.substr(0, end);
      lines.push_back(line);
      if (end == std::string_view::npos) break;
      help.remove_prefix(end + 1);
      left.clear();
    }
  };
  for (const Option& option : options()) {
    std::string left(option.name);
    if (option.value_optional) {
      left += "[=";
      left += option.value_name;
      left += ']';
    } else if (!option.value_name.empty()) {
      left += ' ';
      left += option.value_name;
    }
    std::string help(option.help);
    if (std::string d = default_text(option.name); !d.empty()) {
      help += " (default ";
      help += d;
      help += ')';
    }
    add(left, help);
  }
  add("-h, --help", "show this text and exit");
  add("--version", "show the program's version and exit");
  return lines;
}

}  // namespace varisift
