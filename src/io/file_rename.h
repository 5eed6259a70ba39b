// Renaming a finished file over its destination. On Windows a destination
// that another program holds open (a spreadsheet showing a CSV file, a virus
// scanner or a search indexer reading it) refuses the rename for as long as
// it is open, so the rename is tried again a few times, a fifth of a second
// apart, before it fails. Elsewhere an open file never stops a rename.
#pragma once

#include <string>
#include <system_error>

namespace varisift {

// Renames the file from over the file to (replacing it), both named in
// UTF-8 as every name in the program; the error when
// the rename failed, with a file still in use on Windows as
// std::errc::device_or_resource_busy.
std::error_code rename_over(const std::string& from, const std::string& to);

}  // namespace varisift
