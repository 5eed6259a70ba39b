// When and how the images were taken, and how they were later measured: the
// nights with their exposures and sky conditions, and the sessions of the
// measuring program that list the images and hold their tables.
#pragma once

#include <string>
#include <vector>

#include "random.h"
#include "series.h"

namespace varisift::simulate {

// Folder and file prefix from the field centre: "F" + hours and minutes of
// right ascension + signed whole degrees of declination, e.g. "F0300+30",
// "F0535-00".
std::string default_field_name(double center_ra_deg, double center_dec_deg);

// The images in time order: names, time stamps, nights, seeing, clouds,
// zero-point drift (none under white noise) and pointing. Nights follow one another with now and then
// a night lost to weather.
std::vector<Image> plan_images(const SeriesOptions& options, const std::string& field_name, Random& random);

// The sessions: the images split into consecutive runs, each run listing
// also the last `relisted_images` images of the previous run, started the
// morning after its last night. Each session gets one table per listed image
// (rows still empty) and, by chance, a second table for some images.
std::vector<Session> plan_sessions(const SeriesOptions& options, const std::vector<Image>& images, Random& random);

}  // namespace varisift::simulate
