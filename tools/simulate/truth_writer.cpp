// write_truth: the variables of a series and the catalogue entries at their
// places, one line each, so a run of the detector can be checked by eye.
#include <cmath>
#include <ostream>
#include <string>

#include "line_format.h"
#include "series.h"
#include "sky_geometry.h"
#include "text_format.h"

namespace varisift::simulate {

namespace {

constexpr double hundredths = 100.0;
constexpr double ten_thousandths = 10000.0;

const char* kind_name(VariableKind kind) {
  switch (kind) {
    case VariableKind::constant:
      return "constant";
    case VariableKind::pulsating:
      return "pulsating";
    case VariableKind::eclipsing:
      return "eclipsing";
    case VariableKind::trend:
      return "trend";
  }
  return "?";
}

}  // namespace

void write_truth(const Series& series, std::ostream& out) {
  std::string text = "# star  RA            Dec           mag    kind        amplitude  period(d)   vsx\n";
  for (std::size_t i = 0; i < series.objects.size(); ++i) {
    const SkyObject& star = series.objects[i];
    if (star.kind == VariableKind::constant) {
      continue;
    }
    append_int(text, static_cast<std::int64_t>(i) + 1, 6);
    text += "  ";
    append_ra_text(text, ra_ms_of(star.ra_deg));
    text += "  ";
    append_dec_text(text, dec_cas_of(star.dec_deg));
    text += "  ";
    append_fixed(text, std::llround(star.mag * hundredths), 2, 5);
    text += "  ";
    append_left(text, kind_name(star.kind), 10);
    append_fixed(text, std::llround(star.amplitude_mag * hundredths), 2, 11);
    append_fixed(text, std::llround(star.period_days * ten_thousandths), 4, 11);
    text += "   ";
    if (star.vsx_entry >= 0) {
      const VsxEntry& entry = series.vsx[static_cast<std::size_t>(star.vsx_entry)];
      append_int(text, entry.id, 0);
      text += " flag ";
      text += entry.flag;
    } else {
      text += '-';
    }
    text += '\n';
  }
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace varisift::simulate
