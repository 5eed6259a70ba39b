// The blocks that make up one session of Skymensor.log, shared between the
// session writer and the moving-object writer.
#pragma once

#include <cstdint>
#include <string>

#include "log_sink.h"
#include "series.h"

namespace varisift::simulate {

// Latin-1 bytes used by the measuring program.
inline constexpr char degree_sign[] = "\xB0";
inline constexpr char plus_minus_sign[] = "\xB1";
inline constexpr char micro_sign[] = "\xB5";

// Blank indentation of the lines that continue a block.
inline constexpr char block_indent[] = "           ";

// "HH:MM:SS - " of the program's clock (seconds since 1970, local time).
void append_clock_prefix(std::string& out, std::int64_t clock_seconds);

// The moving-object block, the " - End" line of the session, then the
// stacking block and the positions added by hand (these only when the
// minor planet was measured in at least two images of the session).
// `clock` advances with the blocks.
void write_session_close(const Series& series, const Session& session, LogSink& sink, std::int64_t& clock);

}  // namespace varisift::simulate
