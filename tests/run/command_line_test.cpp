// The command line: the forms it accepts and those it refuses, with the
// exact stored parameter values, and the help text as the README shows it.
#include "run/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace varisift {
namespace {

ParsedCommandLine parse(std::vector<std::string_view> arguments) { return parse_command_line(arguments); }

TEST(CommandLine, NoArgumentsIsTheDefaultRun) {
  ParsedCommandLine p = parse({});
  EXPECT_EQ(p.error, "");
  EXPECT_FALSE(p.command.any_argument);
  EXPECT_FALSE(p.command.folder_given);
  EXPECT_EQ(p.command.folder, ".");
  const DetectionParameters defaults;
  EXPECT_EQ(p.command.parameters.outlier_factor, defaults.outlier_factor);
  EXPECT_EQ(p.command.parameters.trend_correction, 0);
}

TEST(CommandLine, AcceptedFormsStoreExactValues) {
  struct Case {
    std::vector<std::string_view> arguments;
    DetectionParameters expected;
  };
  auto with = [](auto change) {
    DetectionParameters p;
    change(p);
    return p;
  };
  const std::vector<Case> cases = {
      {{"--trend"}, with([](auto& p) { p.trend_correction = 1; })},
      {{"--outlier-factor", "3.0"}, with([](auto& p) { p.outlier_factor = 30; })},
      {{"--outlier-factor=2.5"}, with([](auto& p) { p.outlier_factor = 25; })},
      {{"--outlier-factor", "4"}, with([](auto& p) { p.outlier_factor = 40; })},
      {{"--outlier-factor", "429496729.5"}, with([](auto& p) { p.outlier_factor = 4294967295u; })},
      {{"--min-interval", "0.10"}, with([](auto& p) { p.min_mag_interval = 10; })},
      {{"--min-interval", "0.1"}, with([](auto& p) { p.min_mag_interval = 10; })},
      {{"--min-interval", "2.55"}, with([](auto& p) { p.min_mag_interval = 255; })},
      {{"--min-interval", "0"}, with([](auto& p) { p.min_mag_interval = 0; })},
      {{"--min-variation", "010"}, with([](auto& p) { p.min_variation = 10; })},  // decimal, not octal
      {{"--min-variation", "32767"}, with([](auto& p) { p.min_variation = 32767; })},
      {{"--min-total=0"}, with([](auto& p) { p.min_total_measurements = 0; })},
      {{"--min-selected", "255"}, with([](auto& p) { p.min_selected_measurements = 255; })},
      {{"--fwhm-divisor", "1"}, with([](auto& p) { p.fwhm_divisor = 1; })},
      {{"--fwhm-divisor", "255"}, with([](auto& p) { p.fwhm_divisor = 255; })},
  };
  for (const Case& c : cases) {
    ParsedCommandLine p = parse(c.arguments);
    ASSERT_EQ(p.error, "") << c.arguments[0];
    const DetectionParameters& got = p.command.parameters;
    EXPECT_EQ(got.trend_correction, c.expected.trend_correction) << c.arguments[0];
    EXPECT_EQ(got.outlier_factor, c.expected.outlier_factor) << c.arguments[0];
    EXPECT_EQ(got.min_mag_interval, c.expected.min_mag_interval) << c.arguments[0];
    EXPECT_EQ(got.min_variation, c.expected.min_variation) << c.arguments[0];
    EXPECT_EQ(got.min_total_measurements, c.expected.min_total_measurements) << c.arguments[0];
    EXPECT_EQ(got.min_selected_measurements, c.expected.min_selected_measurements) << c.arguments[0];
    EXPECT_EQ(got.fwhm_divisor, c.expected.fwhm_divisor) << c.arguments[0];
  }
}

TEST(CommandLine, MatchRadiusInTenthsOfAnArcsecond) {
  struct Case {
    std::vector<std::string_view> arguments;
    std::uint16_t tenths;
  };
  const std::vector<Case> cases = {
      {{"--html", "p.html"}, 50},
      {{"--html", "p.html", "--match-radius", "0.1"}, 1},
      {{"--csv", "o", "--match-radius=60"}, 600},
      {{"--aavso", "a", "--obscode", "ABCDE12345", "--filter", "V", "--match-radius", "2.5"}, 25},  // longest code
  };
  for (const Case& c : cases) {
    ParsedCommandLine p = parse(c.arguments);
    ASSERT_EQ(p.error, "") << c.arguments.back();
    EXPECT_EQ(p.command.exports.match_radius_tenths, c.tenths) << c.arguments.back();
  }
}

TEST(CommandLine, WatchIntervalOnlyAfterAnEqualsSign) {
  struct Case {
    std::vector<std::string_view> arguments;
    std::uint16_t seconds;
    std::string folder;
  };
  const std::vector<Case> cases = {
      {{"--watch", "--csv", "o"}, 30, "."},
      {{"--watch", "30", "--html", "p.html"}, 30, "30"},  // a folder named 30
      {{"--watch=2", "--html", "p.html"}, 2, "."},
      {{"--html=p.html", "--watch=3600", "--watch-idle-exit", "86400"}, 3600, "."},
  };
  for (const Case& c : cases) {
    ParsedCommandLine p = parse(c.arguments);
    ASSERT_EQ(p.error, "") << c.arguments[0];
    EXPECT_TRUE(p.command.watch);
    EXPECT_EQ(p.command.watch_settings.interval_seconds, c.seconds) << c.arguments[0];
    EXPECT_EQ(p.command.folder, c.folder) << c.arguments[0];
  }
  EXPECT_EQ(parse({"--watch", "--csv", "o", "--watch-idle-exit=1"}).command.watch_settings.idle_exit_seconds, 1u);
  EXPECT_FALSE(parse({"--csv", "o"}).command.watch);
}

TEST(CommandLine, FolderAndFilesAnywhereAmongTheOptions) {
  ParsedCommandLine p = parse({"--vsx", "cat/vsx.dat.gz", "night1", "--report=out.log"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.command.folder, "night1");
  EXPECT_TRUE(p.command.folder_given);
  EXPECT_EQ(p.command.catalogue, "cat/vsx.dat.gz");
  EXPECT_EQ(p.command.report, "out.log");
  // After "--" a name that begins with "-" is a folder.
  p = parse({"--", "-night"});
  EXPECT_EQ(p.error, "");
  EXPECT_EQ(p.command.folder, "-night");
  // A lone "-" is no option.
  p = parse({"-"});
  EXPECT_EQ(p.error, "");
  EXPECT_EQ(p.command.folder, "-");
}

TEST(CommandLine, HelpAndVersionWinOverWhateverFollows) {
  EXPECT_EQ(parse({"-h", "--bogus"}).command.action, CommandLine::Action::help);
  EXPECT_EQ(parse({"night", "--help"}).command.action, CommandLine::Action::help);
  EXPECT_EQ(parse({"--version"}).command.action, CommandLine::Action::version);
}

TEST(CommandLine, RefusedFormsSayWhatIsWrong) {
  struct Case {
    std::vector<std::string_view> arguments;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"-x"}, "unknown option '-x'"},
      {{"--vsx"}, "--vsx needs a value (FILE)"},
      {{"--vsx="}, "--vsx needs a value (FILE)"},
      {{"--trend=1"}, "--trend takes no value"},
      {{"--trend", "--trend"}, "--trend given twice"},
      {{"--csv=o", "--csv", "p"}, "--csv given twice"},
      {{"--aavso", "a", "--obscode", "X"}, "--aavso needs --obscode and --filter"},
      {{"--aavso", "a", "--obscode", "ABCDE123456", "--filter", "V"},
       "--obscode takes letters and digits, not 'ABCDE123456'"},
      {{"a", "b"}, "two folders given, 'a' and 'b'"},
      {{"--outlier-factor", "3.25"},
       "--outlier-factor takes a number with at most 1 decimal from 0.0 to "
       "429496729.5, not '3.25'"},
      {{"--outlier-factor", "429496729.6"},
       "--outlier-factor takes a number with at most 1 decimal from 0.0 to "
       "429496729.5, not '429496729.6'"},
      {{"--min-interval", "0.101"},
       "--min-interval takes a number with at most 2 decimals from 0.00 to 2.55, "
       "not '0.101'"},
      {{"--min-interval", "2.56"},
       "--min-interval takes a number with at most 2 decimals from 0.00 to 2.55, "
       "not '2.56'"},
      {{"--min-selected", "6.0"}, "--min-selected takes a whole number from 0 to 255, not '6.0'"},
      {{"--min-selected", "256"}, "--min-selected takes a whole number from 0 to 255, not '256'"},
      {{"--min-total", "-1"}, "--min-total takes a whole number from 0 to 65535, not '-1'"},
      {{"--min-variation", "1e3"}, "--min-variation takes a whole number from 0 to 32767, not '1e3'"},
      {{"--min-variation", "32768"}, "--min-variation takes a whole number from 0 to 32767, not '32768'"},
      // 2^64 + 30, and a value that is 2^64 + 84 once scaled: not taken modulo 2^64.
      {{"--min-variation", "18446744073709551646"},
       "--min-variation takes a whole number from 0 to 32767, not '18446744073709551646'"},
      {{"--min-interval", "184467440737095517"},
       "--min-interval takes a number with at most 2 decimals from 0.00 to 2.55, not '184467440737095517'"},
      {{"--min-variation", " 30"}, "--min-variation takes a whole number from 0 to 32767, not ' 30'"},
      {{"--csv", "o", "--match-radius", "0.05"},
       "--match-radius takes a number with at most 1 decimal from 0.1 to 60.0, not '0.05'"},
      {{"--csv", "o", "--match-radius", "60.1"},
       "--match-radius takes a number with at most 1 decimal from 0.1 to 60.0, not '60.1'"},
      {{"--csv", "o", "--match-radius", "0"},
       "--match-radius takes a number with at most 1 decimal from 0.1 to 60.0, not '0'"},
      {{"--match-radius", "5"}, "--match-radius goes with --csv, --aavso or --html"},
      {{"--watch=1", "--csv", "o"}, "--watch takes a whole number from 2 to 3600, not '1'"},
      {{"--watch=3601", "--csv", "o"}, "--watch takes a whole number from 2 to 3600, not '3601'"},
      {{"--watch=", "--csv", "o"}, "--watch needs a value (SECONDS)"},
      {{"--watch", "--watch=5", "--csv", "o"}, "--watch given twice"},
      {{"--watch"}, "--watch needs --csv or --html"},
      {{"--watch", "--csv", "o", "--aavso", "a", "--obscode", "X", "--filter", "V"},
       "--watch does not go with --aavso: a submission is made from the finished night"},
      {{"--csv", "o", "--watch-idle-exit", "60"}, "--watch-idle-exit goes with --watch"},
      {{"--watch", "--csv", "o", "--watch-idle-exit", "0"},
       "--watch-idle-exit takes a whole number from 1 to 86400, not '0'"},
      {{"--watch", "--csv", "o", "--watch-idle-exit"}, "--watch-idle-exit needs a value (SECONDS)"},
      {{"--fwhm-divisor", "0"}, "--fwhm-divisor takes a whole number from 1 to 255, not '0'"},
      {{"--outlier-factor", "3."},
       "--outlier-factor takes a number with at most 1 decimal from 0.0 to "
       "429496729.5, not '3.'"},
      {{"--outlier-factor", ".5"},
       "--outlier-factor takes a number with at most 1 decimal from 0.0 to "
       "429496729.5, not '.5'"},
  };
  for (const Case& c : cases) EXPECT_EQ(parse(c.arguments).error, c.error) << c.arguments[0];
}

// Period limits are days with up to six decimals, read to the nearest
// double; they and --periods-all go with the files that show periods, as
// --filter now goes with the page too.
TEST(CommandLine, PeriodOptionsAndTheFilterOfThePage) {
  struct Case {
    std::vector<std::string_view> arguments;
    std::string error;
    std::optional<double> min_d = std::nullopt;
    std::optional<double> max_d = std::nullopt;
  };
  const std::string range_error = " takes a number with at most 6 decimals from 0.000001 to 100000.000000, not ";
  const std::vector<Case> cases = {
      {{"--csv", "o", "--period-min", "0.000001", "--period-max=100000"}, "", 0.000001, 100000},
      {{"--html", "p", "--period-min", "0.1", "--period-max", "0.100001"}, "", 0.1, 0.100001},
      {{"--csv", "o", "--period-min", "2", "--period-max", "2.000000"}, "--period-min must be below --period-max"},
      {{"--csv", "o", "--period-min", "0"}, "--period-min" + range_error + "'0'"},
      {{"--csv", "o", "--period-max", "0.0000005"}, "--period-max" + range_error + "'0.0000005'"},
      {{"--csv", "o", "--period-max", "100000.000001"}, "--period-max" + range_error + "'100000.000001'"},
      {{"--aavso", "a", "--obscode", "X", "--filter", "V", "--periods-all"}, "--periods-all goes with --csv or --html"},
      {{"--period-max", "2"}, "--period-max goes with --csv or --html"},
      {{"--html", "p", "--filter", "cv"}, ""},
      {{"--csv", "o", "--filter", "V"}, "--filter goes with --aavso or --html"},
      {{"--html", "p", "--obscode", "X"}, "--obscode goes with --aavso"},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine p = parse(c.arguments);
    EXPECT_EQ(p.error, c.error) << c.arguments[2];
    if (!c.error.empty()) continue;
    EXPECT_EQ(p.command.exports.period_range.min_d, c.min_d) << c.arguments[2];
    EXPECT_EQ(p.command.exports.period_range.max_d, c.max_d) << c.arguments[2];
  }
  EXPECT_EQ(parse({"--html", "p", "--filter", "cv"}).command.exports.aavso.filter, "CV");
  EXPECT_TRUE(parse({"--csv", "o", "--periods-all"}).command.exports.periods_all);
}

// The README's usage section quotes --help line by line.
TEST(CommandLine, ReadmeUsageSectionIsTheHelpText) {
  std::ifstream readme(VARISIFT_README);
  ASSERT_TRUE(readme) << VARISIFT_README;
  std::stringstream text;
  text << readme.rdbuf();
  std::string help;
  for (const std::string& line : usage_lines()) help += (line.empty() ? "" : "    " + line) + "\n";
  EXPECT_NE(text.str().find(help), std::string::npos) << "README.md must hold, indented by four blanks:\n" << help;
}

}  // namespace
}  // namespace varisift
