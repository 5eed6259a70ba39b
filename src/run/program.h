// The program as the shell sees it: the command line read and checked, then
// the help, the version or a run. Wrong use of the command line gets one
// line on the error stream and exit status 2, before anything else is
// written or any file is touched; every run ends with exit status 0, unless
// it asked for exports and one of them could not be written or the run
// stopped before them (1).
#pragma once

#include <cstdio>
#include <string_view>
#include <vector>

namespace varisift {

// The exit status of wrong use of the command line.
inline constexpr int wrong_use_status = 2;
// The exit status of a run whose exports asked for could not all be written.
inline constexpr int export_failed_status = 1;

// Runs the program with the arguments after its name; returns the exit status.
int run_program(std::FILE* console, std::FILE* errors, const std::vector<std::string_view>& arguments);

}  // namespace varisift
