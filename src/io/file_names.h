// File names as the program holds them: UTF-8 text. On Linux a name's bytes
// are the system's own and pass unchanged (no conversion, no check); on
// Windows the system takes and gives names in UTF-16, so a name is converted
// here, at the one place where it meets the file system, and a folder named
// outside the ANSI code page (Łódź, Ωmega, 観測) opens like any other.
// Every place that opens, tests, creates, renames or lists files goes
// through these functions.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace varisift {

// The path of a UTF-8 name.
std::filesystem::path path_of(std::string_view name);

// The UTF-8 name of a path, with the system's folder separator as the path
// holds it (\ on Windows, so "out/stars.csv" is named "out\stars.csv").
std::string name_of(const std::filesystem::path& path);

// std::fopen of a UTF-8 name; errno says why on failure, as for std::fopen.
std::FILE* open_file(std::string_view name, const char* mode);

}  // namespace varisift
