// The facts and figures of one star's period.
#include "html/period_section.h"

#include "export/period_data.h"
#include "html/page_text.h"
#include "html/period_figures.h"
#include "store/value_text.h"
#include "text/decimal_text.h"
#include "text/scientific_text.h"

namespace varisift {

namespace {

constexpr const char* lower_limit_note = "No phase plot: the period is longer than half the span of the measurements.";
constexpr const char* no_model_note = "No phase plot: no model could be fitted at this period.";

// A name and its value, grouped so that a row that wraps keeps them together.
void add_fact(std::string& s, std::string_view name, const std::string& value) {
  s += "<div><dt>";
  s += name;
  s += "</dt><dd>" + value + "</dd></div>\n";
}

std::string facts(const StarResult& r, const PeriodResult& p, std::string_view passband) {
  const bool lower_limit = p.flag == PeriodFlag::long_period;
  std::string s = "<dl class=\"period-facts\">\n";
  std::string period = (lower_limit ? "&gt; " : "") + fixed_decimals(p.period_d, period_decimals);
  if (p.period_err_d) period += " \u00b1 " + fixed_decimals(*p.period_err_d, period_decimals);
  period += " d";
  if (lower_limit)
    period += " (fewer than two cycles seen)";
  else if (p.eclipsing)
    period += " (eclipsing: twice the peak's)";
  add_fact(s, "Period", period);
  if (p.epoch_hjd)
    add_fact(s, "Epoch",
             "HJD " + fixed_decimals(*p.epoch_hjd, epoch_decimals) + " (" + (p.eclipsing ? "minimum" : "maximum") +
                 " light)");
  if (p.amplitude_mag) add_fact(s, "Amplitude", fixed_decimals(*p.amplitude_mag, amplitude_decimals) + " mag");
  add_fact(s, "Range",
           magnitude_text(r.curve_min) + " \u2013 " + magnitude_text(r.curve_max) + " " +
               (passband.empty() ? std::string("mag") : escaped(passband)));
  add_fact(s, "False-alarm probability", two_digit_scientific(p.log10_fap));
  add_fact(s, "Cycles", fixed_decimals(p.cycles, cycles_decimals));
  add_fact(s, "Flag", std::string(period_flag_name(p.flag)));
  return s + "</dl>\n";
}

}  // namespace

std::string period_section(const ObservationStore& store, const StarResult& r, const StarPeriod& period,
                           std::string_view passband) {
  std::string s = "<div class=\"period\">\n";
  if (!period.result) {
    return s +
           "<p class=\"note\">No period search: fewer than eight measurements in images with valid data, all "
           "at one time, or no frequency in the periods asked for.</p>\n</div>\n";
  }
  const PeriodResult& p = *period.result;
  s += facts(r, p, passband);
  s += periodogram_svg(p, r.star);
  if (!p.model) {
    const char* why = p.flag == PeriodFlag::long_period ? lower_limit_note : no_model_note;
    return s + "<p class=\"note\">" + why + "</p>\n</div>\n";
  }
  s += phase_plot_svg(p, period_data(star_measurements(store, r)), r.star, store.parameters.trend_correction != 0);
  return s + "</div>\n";
}

}  // namespace varisift
