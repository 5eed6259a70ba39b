// Quoting and joining CSV fields.
#include "export/csv_rows.h"

#include "io/report_channel.h"

namespace varisift {

std::string csv_field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

void append_csv_row(std::string& out, const std::vector<std::string>& fields) {
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k > 0) out += ',';
    out += csv_field(fields[k]);
  }
  out += line_end_bytes;
}

}  // namespace varisift
