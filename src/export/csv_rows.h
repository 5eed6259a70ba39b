// Comma-separated rows as spreadsheets and plotting tools read them: one
// row per line, CR LF line ends, fields quoted as RFC 4180 says where they
// hold a comma, a quote or a line end (a quote inside doubled).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varisift {

// The field as it stands in a row.
std::string csv_field(std::string_view text);

// Appends the fields as one row with its line end.
void append_csv_row(std::string& out, const std::vector<std::string>& fields);

}  // namespace varisift
