// The AAVSO file of one eclipsing candidate: its minima beyond the fences go
// in with their note, measurements in a bad image and in an image with an
// impossible time stamp stay out with a comment, the error column keeps its
// limits, and the name is the nearest catalogue entry, not the results
// table's, whole up to the field's 30 characters.
#include "export/aavso_extended.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/observation_time.h"
#include "support/detect_fixtures.h"

namespace varisift {
namespace {

using detect_fixtures::add_image;
using detect_fixtures::lines_of;

struct EclipseRun {
  ObservationStore store;
  DetectionResults results;
  ExportData data;
  AavsoSettings settings{"XYZ", "CV", "Varisift 9.9"};

  EclipseRun() {
    // Eight images: three in the minimum (16.00, beyond the fences of a
    // curve at 14.00), the sixth judged bad, the seventh stamped in month 13.
    const char* times[] = {"20190301200000", "20190301201000", "20190301202000", "20190301203000",
                           "20190301204000", "20190301205000", "20191301210000", "20190301211000"};
    const std::int16_t mags[] = {1400, 1401, 1600, 1600, 1600, 1400, 1400, 1399};
    // SNR in tenths: 0, a tiny one (cap 9.999), 35.6 (0.030) and 10 (0.109), which tell 1.0857 from 1.086 and
    // 1.085, one so high that 1.0857/SNR rounds to 0.000, and one below 0.
    const std::int32_t snr[] = {0, 1, 356, 22000, 100, 500, 500, -10};
    for (int i = 0; i < 8; ++i) {
      std::uint8_t image = add_image(store, times[i], {mags[i]});
      store.images[image].snr_tenths = {snr[i]};
    }
    store.images[6].no_valid_data = true;
    detect_fixtures::set_stars(store, {detect_fixtures::one_per_image(1, 8)});
    // The long name of the log's one reference catalogue, with a Latin-1 e-acute as its 20th character.
    store.reference_catalogues = {"Catalogue of Stars \xE9 and more"};
    detect_fixtures::add_vsx_entry(store.vsx, 7, 0, 0, 1400, "V0001 Ecl");
    detect_fixtures::add_vsx_entry(store.vsx, 8, 0, 2500, 1400, "NSVS 1");
    StarResult star{.star = 1, .has_statistics = true, .lower_fence = 1380, .upper_fence = 1420, .candidate = 1};
    star.vsx_match = 2;  // the results table took the entry 25" away
    results.stars = {star};
    data.anchors = {{0, 0}};
    data.names = {{1, 0.0}};
    data.match_radius_arcsec = 5;
  }
};

TEST(AavsoExtended, EclipseMinimaGoInWithTheirNoteAndEveryRuleOfTheLines) {
  EclipseRun run;
  AavsoFile file = aavso_extended(run.store, run.results, run.data, run.settings);
  const std::vector<std::string> lines = lines_of(file.text);
  const std::vector<std::string> expected = {
      "#TYPE=Extended",
      "#OBSCODE=XYZ",
      "#SOFTWARE=Varisift 9.9",
      "#DELIM=,",
      "#DATE=JD",
      "#OBSTYPE=CCD",
      "#NAME,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AMASS,GROUP,CHART,NOTES",
      "# Image img007.fit has the time stamp 20191301210000, which is no date and time from 1990 to 2100: "
      "its measurements are left out",
      "# Candidate 1 (star 1): the report's results table names NSVS 1, 25.0 arcsec from its row, which is not the "
      "nearest VSX entry within 5.0 arcsec",
      "# Candidate 1 (star 1): 3 measurements at or beyond the outlier fences are marked in NOTES; 1 in images judged "
      "bad are left out",
      "V0001 Ecl,2458544.33333,14.00,na,CV,NO,STD,ENSEMBLE,na,na,na,na,na,Catalogue of Stars \xC3\xA9,na",
      "V0001 Ecl,2458544.34028,14.01,9.999,CV,NO,STD,ENSEMBLE,na,na,na,na,na,Catalogue of Stars \xC3\xA9,na",
      "V0001 Ecl,2458544.34722,16.00,0.030,CV,NO,STD,ENSEMBLE,na,na,na,na,na,Catalogue of Stars \xC3\xA9,"
      "at or beyond the outlier fences",
      "V0001 Ecl,2458544.35417,16.00,0.001,CV,NO,STD,ENSEMBLE,na,na,na,na,na,Catalogue of Stars \xC3\xA9,"
      "at or beyond the outlier fences",
      "V0001 Ecl,2458544.36111,16.00,0.109,CV,NO,STD,ENSEMBLE,na,na,na,na,na,Catalogue of Stars \xC3\xA9,"
      "at or beyond the outlier fences",
      "V0001 Ecl,2458544.38194,13.99,na,CV,NO,STD,ENSEMBLE,na,na,na,na,na,Catalogue of Stars \xC3\xA9,na",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(file.observations, 6u);
}

TEST(AavsoExtended, ACandidateWithoutAnEntryWithinTheRadiusIsNotSubmitted) {
  EclipseRun run;
  run.data.names = {{}};
  AavsoFile file = aavso_extended(run.store, run.results, run.data, run.settings);
  EXPECT_EQ(file.observations, 0u);
  const std::vector<std::string> lines = lines_of(file.text);
  EXPECT_EQ(lines.back(),
            "# Candidate 1 (star 1) at RA 0.000000 Dec 0.000000 has no VSX identification within 5.0 arcsec: it needs "
            "a VSX registration first");
}

// A catalogue name has at most the 30 characters of the STARID field, and
// goes in whole: a Latin-1 letter takes two bytes in UTF-8 and still counts
// as one character.
TEST(AavsoExtended, TheStarIdHoldsAWholeNameOfThirtyCharacters) {
  EclipseRun run;
  detect_fixtures::add_vsx_entry(run.store.vsx, 9, 0, 0, 1400, "Gaia DR3 123456789012345 L\xF6wen");
  run.data.names = {{3, 0.0}};
  const std::string text = aavso_extended(run.store, run.results, run.data, run.settings).text;
  const std::string last = lines_of(text).back();
  EXPECT_EQ(last.substr(0, last.find(',')), "Gaia DR3 123456789012345 L\xC3\xB6wen");
}

TEST(AavsoExtended, TimeStampsOnlyOfTheCalendarFrom1990To2100) {
  struct Case {
    const char* stamp;
    bool submittable;
  };
  const Case cases[] = {
      {"19900101000000", true},  {"19891231235959", false}, {"21001231235959", true},  {"21010101000000", false},
      {"00000101000000", false}, {"20200229120000", true},  {"21000229120000", false}, {"20000229120000", true},
      {"20190431120000", false}, {"20190430120000", true},  {"20190100120000", false}, {"20190101240000", false},
      {"20190101236000", false}, {"20190101235960", false}, {"2019010123595", false},  {"2019 101235959", false},
  };
  for (const Case& c : cases) EXPECT_EQ(submittable_time_stamp(c.stamp), c.submittable) << c.stamp;
}

}  // namespace
}  // namespace varisift
