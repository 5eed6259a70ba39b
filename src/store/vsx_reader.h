// Reading the VSX catalogue into the store: vsx.dat beside the log, read
// when it is there, or a file the user names, plain or gzip-compressed.
#pragma once

#include <string>
#include <string_view>

#include "io/report_channel.h"
#include "store/vsx_catalogue.h"

namespace varisift {

// The console text written before the catalogue's lines are read; the count
// line follows on the same console line.
inline constexpr std::string_view vsx_progress_text = "Reading VSX catalog...";
// A catalogue file whose name ends so must hold gzip data.
inline constexpr std::string_view compressed_suffix = ".gz";

// Loads the catalogue at path (vsx.dat beside the log) when it can be opened,
// writing the console progress line; a file that is not there or cannot be
// read is skipped silently. A file whose bytes begin with the gzip signature
// is decompressed. Returns false when the run must stop: the open failed for
// a reason of the system (out of file handles or memory), after "Error 1
// during open of vsx.dat"; or the file is a damaged gzip stream or passes the
// limits of a catalogue (4 GiB of text, 50 million entries, a line of 16 MiB),
// after the progress text and "vsx.dat" with the fault on the same line.
bool read_vsx_beside_log(VsxCatalogue& catalogue, const std::string& path, ReportChannel& out);

// Loads a catalogue the user names, completely, writing nothing: a file
// whose bytes begin with the gzip signature is decompressed, and a name
// ending in ".gz" promises it. Returns "" when every byte was read, or what
// is wrong ("cannot be opened", "is no gzip file", zlib's message on a
// damaged or cut stream, a limit passed...).
std::string load_vsx_file(VsxCatalogue& catalogue, const std::string& path);

// "number of VSX stars: N", which closes the progress line.
std::string vsx_count_text(const VsxCatalogue& catalogue);

}  // namespace varisift
