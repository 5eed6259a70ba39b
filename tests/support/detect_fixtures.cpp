// Builders of small observation stores for the detection tests.
#include "support/detect_fixtures.h"

#include <cstdio>

#include "io/line_reader.h"
#include "io/report_channel.h"
#include "stars/identify_stars.h"
#include "store/log_parser.h"
#include "support/star_entries.h"

namespace varisift::detect_fixtures {

namespace {

void put(std::string& line, int column, const char* format, auto value) {
  char field[64];
  int length = std::snprintf(field, sizeof field, format, value);
  line.replace(static_cast<std::size_t>(column - 1), static_cast<std::size_t>(length), field);
}

std::string image_name(std::size_t i) {
  char name[32];
  std::snprintf(name, sizeof name, "img%03zu.fit", i);
  return name;
}

// The 108-column table line of l.
std::string log_line(const LogLine& l) {
  std::string line(108, ' ');
  put(line, 3, "%s", l.ra.c_str());
  put(line, 18, "%+5.2f", l.ra_residual);
  put(line, 26, "%s", l.dec.c_str());
  put(line, 41, "%+5.2f", l.dec_residual);
  put(line, 48, "%6.2f", l.mag);
  put(line, 57, "%+5.2f", l.mag_residual);
  put(line, 64, "%s", "1024.00   1024.00");
  put(line, 82, "%7ld", l.flux);
  put(line, 91, "%4.1f", l.fwhm);
  put(line, 96, "%6.1f", l.peak);
  put(line, 103, "%6.3f", l.rms);
  return line;
}

}  // namespace

ObservationStore read_log(const std::vector<LogImage>& images) {
  std::string text = "08:29:42 - Start 2017/03/02\n";
  for (std::size_t i = 1; i <= images.size(); ++i) {
    const std::string& t = images[i - 1].time;
    text += "           Image " + std::to_string(i) + ": D:\\obs\\" + image_name(i) + "\n";
    text += "           Time Stamp: " + t.substr(0, 4) + " " + t.substr(4, 2) + " " + t.substr(6, 2) + ", " +
            t.substr(8, 2) + ":" + t.substr(10, 2) + ":" + t.substr(12, 2) + ".0 UT\n";
  }
  for (std::size_t i = 1; i <= images.size(); ++i) {
    if (images[i - 1].lines.empty()) continue;
    text += "08:30:14 - Photometry of Image " + std::to_string(i) + " (" + image_name(i) + "): \n";
    text += std::string(log_heading_1) + "\n" + std::string(log_heading_2) + "\n";
    text += ' ';
    text.append(107, '-');
    text += '\n';
    for (const LogLine& l : images[i - 1].lines) text += log_line(l) + "\n";
    text += "\n";
  }
  ObservationStore store;
  std::FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  LineReader reader(file);
  ReportChannel out;
  read_measurement_log(store, reader, out);
  std::fclose(file);
  return store;
}

std::uint8_t add_image(ObservationStore& store, const std::string& time, const std::vector<std::int16_t>& mags) {
  Image image;
  image.name = image_name(store.images.size());
  image.time = time;
  for (std::int16_t mag : mags) {
    image.meas.push_back(Measurement{.mag = mag});
    image.sums.mag += mag;
  }
  image.text_stride = 1;  // an empty text per measurement
  image.text.assign(mags.size(), '\0');
  store.images.push_back(std::move(image));
  store.image_order.push_back(static_cast<std::uint8_t>(store.image_count()));
  return static_cast<std::uint8_t>(store.image_count());
}

StarMeasurements one_per_image(std::uint8_t first, std::uint8_t last, std::uint16_t m) {
  StarMeasurements star;
  for (unsigned i = first; i <= last; ++i) star.emplace_back(static_cast<std::uint8_t>(i), m);
  return star;
}

void set_stars(ObservationStore& store, const std::vector<StarMeasurements>& stars) {
  for (const StarMeasurements& star : stars) {
    store.stars.images_seen.push_back(static_cast<std::uint8_t>(star.size()));
    for (auto [image, m] : star) store.images[image].measurement(m).star = store.stars.count();
  }
  build_star_entries(store);
}

void add_vsx_entry(VsxCatalogue& catalogue, std::int32_t id, std::int32_t ra, std::int32_t dec, std::int16_t mag,
                   std::string_view name) {
  catalogue.entries.push_back(VsxEntry{.id = id,
                                       .ra = ra,
                                       .dec = dec,
                                       .name_offset = static_cast<std::uint32_t>(catalogue.names.size()),
                                       .mag = mag,
                                       .name_length = static_cast<std::uint8_t>(name.size())});
  catalogue.names.insert(catalogue.names.end(), name.begin(), name.end());
}

std::vector<std::string> lines_of(const std::string& bytes) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; start < bytes.size(); start = end + 2) {
    end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
  }
  return lines;
}

std::string minutes_after_six(int minutes) {
  char time[32];
  std::snprintf(time, sizeof time, "20170301%02d%02d00", 18 + minutes / 60, minutes % 60);
  return time;
}

}  // namespace varisift::detect_fixtures
