// Test helper: the lines the line reader gives for a text, read from a
// temporary file.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "io/line_reader.h"

namespace varisift::testing {

// A temporary file holding bytes, positioned at its start.
inline std::FILE* file_holding(const std::string& bytes) {
  std::FILE* file = std::tmpfile();
  if (file == nullptr) return nullptr;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  return file;
}

inline std::vector<std::string> lines_read_by_line_reader(const std::string& bytes) {
  std::FILE* file = file_holding(bytes);
  if (file == nullptr) return {};
  LineReader reader(file);
  std::vector<std::string> lines;
  while (!reader.at_end()) lines.emplace_back(reader.read_line());
  std::fclose(file);
  return lines;
}

}  // namespace varisift::testing
