// Round trip from the simulator's model through Varisift's own log reader:
// a series is generated in memory, its Skymensor.log is written to a
// temporary file and read back with read_measurement_log, and every
// registered image and every stored measurement must carry exactly the
// numbers of the model - also for southern declinations, right ascensions
// around 0 h, a field at the pole, and sessions that list images again and
// measure some of them twice (the last table of an image wins).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "calendar.h"
#include "io/line_reader.h"
#include "io/report_channel.h"
#include "presets.h"
#include "series.h"
#include "store/log_parser.h"
#include "store/observation_store.h"

namespace {

namespace sim = varisift::simulate;

sim::Series preset_series(std::string_view name, std::uint64_t seed) {
  sim::SeriesOptions options;
  options.seed = seed;
  EXPECT_TRUE(sim::apply_preset(name, options)) << name;
  return sim::generate_series(options);
}

// The time stamp YYYYMMDDhhmmss of an instant, the seconds cut (the log
// writes them with a tenth that the reader does not take).
std::string time_stamp(std::int64_t tenths) {
  const sim::CalendarTime t = sim::calendar_time(tenths);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return text;
}

// What the reader makes of a log: the store, its console messages and
// whether it went on.
struct ReadBack {
  varisift::ObservationStore store;
  std::string console;
  varisift::RunFlow flow = varisift::RunFlow::stop;
};

void read_back(const sim::Series& series, ReadBack& out) {
  std::ostringstream text;
  sim::write_log(series, text);
  const std::string log = text.str();
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(log.data(), 1, log.size(), file), log.size());
  std::rewind(file);
  varisift::LineReader reader(file);
  varisift::ReportChannel channel;
  out.flow = varisift::read_measurement_log(out.store, reader, channel);
  out.console = channel.collected(varisift::Destination::console);
  std::fclose(file);
}

// The images in the order the log first lists them, which is the order in
// which the reader registers them; and how many listings repeat an image.
std::vector<int> registration_order(const sim::Series& series, int& repeats) {
  std::vector<int> order;
  std::map<int, bool> seen;
  repeats = 0;
  for (const sim::Session& session : series.sessions) {
    for (int image : session.images) {
      if (seen[image]) {
        ++repeats;
      } else {
        seen[image] = true;
        order.push_back(image);
      }
    }
  }
  return order;
}

std::size_t occurrences(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

void expect_read_back_equals_model(const sim::Series& series) {
  ReadBack read;
  read_back(series, read);
  ASSERT_EQ(read.flow, varisift::RunFlow::go_on) << read.console;
  const varisift::ObservationStore& store = read.store;

  int repeats = 0;
  const std::vector<int> order = registration_order(series, repeats);
  ASSERT_EQ(store.image_count(), order.size());
  EXPECT_EQ(store.session_count, series.sessions.size());
  EXPECT_EQ(occurrences(read.console, "' has a multiple entry.\r\n"), static_cast<std::size_t>(repeats))
      << read.console;
  EXPECT_EQ(occurrences(read.console, "\r\n"), static_cast<std::size_t>(repeats)) << "no other message";

  std::map<int, std::uint8_t> number_of;  // model image -> registration number
  for (std::size_t k = 0; k < order.size(); ++k) {
    const sim::Image& model = series.images[static_cast<std::size_t>(order[k])];
    const varisift::Image& image = store.images[k + 1];
    number_of[order[k]] = static_cast<std::uint8_t>(k + 1);
    SCOPED_TRACE(model.name);
    EXPECT_EQ(image.name, model.folder + "\\" + model.name);
    EXPECT_EQ(image.time, time_stamp(model.time_tenths));

    const sim::PhotometryTable* table = sim::final_table(series, order[k]);
    const std::size_t rows = table == nullptr ? 0 : table->rows.size();
    ASSERT_EQ(image.meas_count(), rows);
    varisift::ImageSums sums;
    for (std::size_t m = 0; m < rows; ++m) {
      const sim::Measurement& row = table->rows[m];
      const varisift::Measurement& stored = image.meas[m];
      ASSERT_EQ(stored.ra, row.ra_ms) << "row " << m + 1;
      ASSERT_EQ(stored.dec, row.dec_cas) << "row " << m + 1;
      ASSERT_EQ(stored.mag, row.mag) << "row " << m + 1;
      ASSERT_EQ(stored.fwhm, static_cast<std::uint8_t>(row.fwhm_tenths)) << "row " << m + 1;  // the low 8 bits
      EXPECT_EQ(stored.free, 1) << "row " << m + 1;
      EXPECT_EQ(stored.star, 0u) << "row " << m + 1;
      sums.ra += row.ra_ms;
      sums.dec += row.dec_cas;
      sums.dra += std::abs(row.ra_residual) * 10;  // hundredths of an arcsecond, summed in thousandths
      sums.ddec += std::abs(row.dec_residual);
      sums.mag += row.mag;
      sums.dmag += std::abs(row.mag_residual);
      sums.flux += row.flux;
      sums.fwhm += static_cast<std::uint8_t>(row.fwhm_tenths);
      sums.peak += row.peak_tenths;
      sums.rms += row.rms_thousandths;
    }
    EXPECT_EQ(image.sums.ra, sums.ra);
    EXPECT_EQ(image.sums.dec, sums.dec);
    EXPECT_EQ(image.sums.dra, sums.dra);
    EXPECT_EQ(image.sums.ddec, sums.ddec);
    EXPECT_EQ(image.sums.mag, sums.mag);
    EXPECT_EQ(image.sums.dmag, sums.dmag);
    EXPECT_EQ(image.sums.flux, sums.flux);
    EXPECT_EQ(image.sums.fwhm, sums.fwhm);
    EXPECT_EQ(image.sums.peak, sums.peak);
    EXPECT_EQ(image.sums.rms, sums.rms);
  }

  // The image of the last table written is the last one processed.
  const sim::Session& last_session = series.sessions.back();
  if (!last_session.tables.empty()) {
    EXPECT_EQ(store.current_image, number_of[last_session.tables.back().image]);
  }
}

TEST(RoundTrip, ReaderStoresTheModelsImagesAndMeasurements) {
  for (std::string_view name : {"typical", "tiny", "single", "cloudy", "southern", "pole", "ra0"}) {
    SCOPED_TRACE(std::string(name));
    expect_read_back_equals_model(preset_series(name, 5));
  }
}

// Four sessions across a leap day that list the last images of the previous
// session again and measure some images twice, mixed line ends and the
// settings line "Image flipped:  horizontally", which registers no image.
TEST(RoundTrip, SessionsWithRepeatedImagesKeepTheLastTableOfEachImage) {
  for (std::uint64_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    const sim::Series series = preset_series("sessions", seed);
    int twice = 0;
    std::map<int, int> tables_of;
    for (const sim::Session& session : series.sessions)
      for (const sim::PhotometryTable& table : session.tables) twice += ++tables_of[table.image] == 2;
    EXPECT_GT(twice, 0) << "the series measures no image twice";
    expect_read_back_equals_model(series);
  }
}

}  // namespace
